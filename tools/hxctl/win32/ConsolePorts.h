// hxctl's ports on Windows: the utility's pipe, the console (the pass phrase typed without
// echo, Ctrl+C ending monitor), files and the clock.
#pragma once

#include <windows.h>

#include <string>

#include "tools/hxctl/HxctlPorts.h"

namespace hx::ctl::win {

class ConsolePorts : public HxctlPorts {
public:
    ConsolePorts();
    ~ConsolePorts() override;

    Exchange Transact(const std::string& request, bool secret) override;
    void Sleep(int milliseconds) override;
    long long NowMilliseconds() override;
    std::string TimeOfDay() override;
    bool Interrupted() override;
    std::optional<std::string> ReadSecretFromInput(bool asked, std::string_view prompt) override;
    FileText ReadFile(const std::string& path, size_t maxBytes) override;
    void Out(std::string_view text) override;
    void Err(std::string_view text) override;
    XmlDocument ReadXml(std::string_view bytes) override;

private:
    std::string pipeName_;
};

}  // namespace hx::ctl::win
