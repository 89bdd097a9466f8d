// What the authentication worker needs from the platform besides the two libraries: the
// program's own directory as the current directory (the supplicant reads and writes its
// certificate and key files there by relative names), and a way to tell the user about a
// certificate that cannot be exported. Win32 implementations live in auth/win32/; tests
// substitute recording doubles.
#pragma once

#include <string>

namespace hx {

class ProgramDirectoryPort {
public:
    virtual ~ProgramDirectoryPort() = default;
    // Makes the directory of the running executable the process's current directory.
    virtual void EnterProgramDirectory() = 0;
};

class WorkerMessagePort {
public:
    virtual ~WorkerMessagePort() = default;
    // Shows text in a message box with an OK button and the exclamation icon, captioned
    // with the application name. Called on the worker's thread; must return at once, so
    // that a Stop worker waiting for that thread is never held up by the user.
    virtual void ShowExclamation(const std::string& text) = 0;
};

}  // namespace hx
