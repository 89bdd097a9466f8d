// What another process holds, read from outside: its memory (GetProcessMemoryInfo), and its
// GDI and USER objects and handles. Windows tells the counts to another process
// (GetGuiResources, GetProcessHandleCount); Wine answers those with 0, so there the counts
// are taken inside the process by hxprobe.dll (tests/win/common/probe), which the probe
// loads into it and runs as a thread of it for each reading.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace hx::test {

struct ProcessFigures {
    size_t workingSet = 0;
    size_t privateBytes = 0;
    long gdi = 0;
    long user = 0;
    long handles = 0;
    std::string gdiKinds;  // "brush 3, font 12": where the probe inside counted them
};

class ProcessProbe {
public:
    explicit ProcessProbe(DWORD processId);
    ~ProcessProbe();
    ProcessProbe(const ProcessProbe&) = delete;
    ProcessProbe& operator=(const ProcessProbe&) = delete;

    // The figures now, or nothing with the reason in `why`.
    std::optional<ProcessFigures> Take(std::string& why);
    // "from outside" or "hxprobe.dll inside the process": how the counts were taken.
    std::string Method() const { return method_; }

private:
    bool LoadInside(std::string& why);
    bool RunInside(LONG (&figures)[3], std::string& gdiKinds, std::string& why);

    HANDLE process_ = nullptr;
    HMODULE local_ = nullptr;        // hxprobe.dll in this process: where its exports lie
    char* remoteBase_ = nullptr;     // and in the other one
    std::string method_ = "from outside";
};

}  // namespace hx::test
