#include "tools/hxsim/ControlClient.h"

#include <windows.h>

#include <cctype>
#include <vector>

namespace hxsim {

std::string ControlPipeName(const std::string& program) {
    std::string name = program;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
    return "\\\\.\\pipe\\hxsim-" + name;
}

bool SendControlCommand(const std::string& pipeName, const std::string& command, std::string& reply,
                        int timeoutMs) {
    std::vector<char> buffer(64 * 1024);
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD read = 0;
        if (::CallNamedPipeA(pipeName.c_str(), const_cast<char*>(command.c_str()),
                             static_cast<DWORD>(command.size()), buffer.data(),
                             static_cast<DWORD>(buffer.size()), &read, 1000)) {
            reply.assign(buffer.data(), read);
            return true;
        }
        if (static_cast<int>(::GetTickCount() - start) >= timeoutMs) return false;
        ::Sleep(50);  // the server is between two clients, or not up yet
    }
}

}  // namespace hxsim
