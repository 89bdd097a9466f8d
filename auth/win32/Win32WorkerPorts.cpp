#include "auth/win32/Win32WorkerPorts.h"

#include <windows.h>

#include <thread>

namespace hx::win {

std::string DirectoryOfModulePath(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void ModuleDirectoryPort::EnterProgramDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string directory = DirectoryOfModulePath(std::string(path, length));
    if (directory.empty()) return;
    // "C:" alone would name the drive's current directory, not its root.
    ::SetCurrentDirectoryA(directory.back() == ':' ? (directory + "\\").c_str() : directory.c_str());
}

void OwnerlessMessageBoxPort::ShowExclamation(const std::string& text) {
    std::thread([text, caption = caption_] {
        ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    }).detach();
}

}  // namespace hx::win
