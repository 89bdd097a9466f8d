#include "tests/win/common/ProcessProbe.h"

#include <psapi.h>

#include <cstring>
#include <vector>

#include "tests/win/common/UtilityProcess.h"

namespace hx::test {
namespace {

constexpr DWORD kRemoteLimitMs = 10000;

// Runs the function at that address of the process as a thread of it; its exit code.
std::optional<DWORD> RunRemote(HANDLE process, void* function, void* argument) {
    HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                                         argument, 0, nullptr);
    if (thread == nullptr) return std::nullopt;
    std::optional<DWORD> code;
    DWORD exitCode = 0;
    if (::WaitForSingleObject(thread, kRemoteLimitMs) == WAIT_OBJECT_0 && ::GetExitCodeThread(thread, &exitCode))
        code = exitCode;
    ::CloseHandle(thread);
    return code;
}

std::string ProbePath() { return ProgramFolder() + "\\hxprobe.dll"; }

}  // namespace

ProcessProbe::ProcessProbe(DWORD processId)
    : process_(::OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                 PROCESS_VM_READ | PROCESS_VM_WRITE,
                             FALSE, processId)) {}

ProcessProbe::~ProcessProbe() {
    if (local_ != nullptr) ::FreeLibrary(local_);
    if (process_ != nullptr) ::CloseHandle(process_);
}

bool ProcessProbe::LoadInside(std::string& why) {
    if (remoteBase_ != nullptr) return true;
    const std::string path = ProbePath();
    local_ = ::LoadLibraryA(path.c_str());
    if (local_ == nullptr) return (why = "cannot load " + path), false;
    void* text = ::VirtualAllocEx(process_, nullptr, path.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (text == nullptr || !::WriteProcessMemory(process_, text, path.c_str(), path.size() + 1, nullptr))
        return (why = "cannot write into the process"), false;
    // kernel32 lies at the same address in every process of a session.
    void* loadLibrary = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "LoadLibraryA"));
    const std::optional<DWORD> loaded = RunRemote(process_, loadLibrary, text);
    ::VirtualFreeEx(process_, text, 0, MEM_RELEASE);
    if (!loaded || *loaded == 0) return (why = "the process did not load " + path), false;
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!::EnumProcessModules(process_, modules, sizeof modules, &bytes)) return (why = "cannot list its modules"), false;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        char name[MAX_PATH] = {};
        if (::GetModuleBaseNameA(process_, modules[i], name, sizeof name) && ::lstrcmpiA(name, "hxprobe.dll") == 0)
            remoteBase_ = reinterpret_cast<char*>(modules[i]);
    }
    if (remoteBase_ == nullptr) return (why = "hxprobe.dll is not among its modules"), false;
    return true;
}

bool ProcessProbe::RunInside(LONG (&figures)[3], std::string& gdiKinds, std::string& why) {
    if (!LoadInside(why)) return false;
    // The same offsets from the module's base in both processes.
    const auto local = reinterpret_cast<char*>(local_);
    const auto offset = [&](const char* name) {
        return static_cast<size_t>(reinterpret_cast<char*>(::GetProcAddress(local_, name)) - local);
    };
    const std::optional<DWORD> ran = RunRemote(process_, remoteBase_ + offset("HxProbeCount"), nullptr);
    if (!ran || *ran != 1) return (why = "the count inside the process did not end within 10 s"), false;
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process_, remoteBase_ + offset("hxProbeFigures"), figures, sizeof figures, &read) ||
        read != sizeof figures)
        return (why = "cannot read the counts"), false;
    char kinds[256] = {};
    if (::ReadProcessMemory(process_, remoteBase_ + offset("hxProbeGdiKinds"), kinds, sizeof kinds - 1, &read))
        gdiKinds = kinds;
    return true;
}

std::optional<ProcessFigures> ProcessProbe::Take(std::string& why) {
    if (process_ == nullptr) return (why = "cannot open the process"), std::nullopt;
    ProcessFigures figures;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!::GetProcessMemoryInfo(process_, &memory, sizeof memory)) return (why = "no memory counters"), std::nullopt;
    figures.workingSet = memory.WorkingSetSize;
    figures.privateBytes = memory.PagefileUsage;  // the private bytes committed
    figures.gdi = static_cast<long>(::GetGuiResources(process_, GR_GDIOBJECTS));
    figures.user = static_cast<long>(::GetGuiResources(process_, GR_USEROBJECTS));
    DWORD handles = 0;
    ::GetProcessHandleCount(process_, &handles);
    figures.handles = static_cast<long>(handles);
    if (figures.gdi == 0 || figures.handles == 0) {
        LONG inside[3] = {};
        if (!RunInside(inside, figures.gdiKinds, why)) return std::nullopt;
        figures.gdi = inside[0];
        figures.user = inside[1];
        figures.handles = inside[2];
        method_ = "hxprobe.dll inside the process";
    }
    return figures;
}

}  // namespace hx::test
