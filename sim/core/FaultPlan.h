// Calls that are made to fail on purpose: by export name, once (or the next n times) or
// always, until cleared.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace hxsim {

class FaultPlan {
public:
    static constexpr int kAlways = -1;

    // times: the next n calls fail; kAlways: every call; 0 clears.
    void Set(const std::string& call, int times);
    void Clear() { plan_.clear(); }
    // Consumes one failure of the call if one is planned.
    bool ShouldFail(const std::string& call);
    std::vector<std::pair<std::string, int>> Planned() const;

    // Every name that can be made to fail: the library's exports.
    static const std::vector<std::string>& KnownCalls();
    static bool IsKnownCall(const std::string& call);

private:
    std::map<std::string, int> plan_;
};

}  // namespace hxsim
