#include "tools/hxctl/win32/ConsolePorts.h"

#include <cstdio>

#include "tools/hxctl/InputChecks.h"
#include "tools/hxctl/win32/ControlPipeClient.h"

namespace hx::ctl::win {
namespace {

// Set by Ctrl+C or Ctrl+Break; Sleep waits on it so that monitor ends at once.
HANDLE g_interrupt = nullptr;

BOOL WINAPI OnConsoleBreak(DWORD kind) {
    if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT) return FALSE;
    ::SetEvent(g_interrupt);
    return TRUE;
}

}  // namespace

ConsolePorts::ConsolePorts() : pipeName_(ControlPipeName()) {
    g_interrupt = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
}

ConsolePorts::~ConsolePorts() {
    ::SetConsoleCtrlHandler(OnConsoleBreak, FALSE);
    ::CloseHandle(g_interrupt);
    g_interrupt = nullptr;
}

Exchange ConsolePorts::Transact(const std::string& request) { return TransactControlPipe(pipeName_, request); }

void ConsolePorts::Sleep(int milliseconds) { ::WaitForSingleObject(g_interrupt, static_cast<DWORD>(milliseconds)); }

long long ConsolePorts::NowMilliseconds() { return static_cast<long long>(::GetTickCount64()); }

std::string ConsolePorts::TimeOfDay() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    return text;
}

bool ConsolePorts::Interrupted() { return ::WaitForSingleObject(g_interrupt, 0) == WAIT_OBJECT_0; }

std::optional<std::string> ConsolePorts::ReadPassphraseFromInput() {
    // At a console the pass phrase is typed without echo; from a pipe or file, the first line.
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(input, &mode) != 0;
    if (console) {
        std::fputs("Pass phrase: ", stderr);
        std::fflush(stderr);
        ::SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    std::string line;
    int c = 0;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n') {
        line += static_cast<char>(c);
        if (line.size() > 4096) break;
    }
    if (console) {
        ::SetConsoleMode(input, mode);
        std::fputs("\n", stderr);
    }
    if (line.empty() && c == EOF) return std::nullopt;
    return WithoutOneLineEnd(line);
}

FileText ConsolePorts::ReadFile(const std::string& path, size_t maxBytes) {
    FileText file;
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) {
        file.problem = "cannot read " + path;
        return file;
    }
    char buffer[16384];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
        file.text.append(buffer, got);
        if (file.text.size() > maxBytes) {
            file.tooLarge = true;
            file.text.clear();
            break;
        }
    }
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    file.read = !file.tooLarge && !failed;
    if (failed) file.problem = "cannot read " + path;
    return file;
}

void ConsolePorts::Out(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void ConsolePorts::Err(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

std::string ConsolePorts::ProfileToXml(const std::string& name, const ControlRecord& fields) {
    return {};
}

ImportedProfile ConsolePorts::ProfileFromXml(std::string_view bytes) {
    ImportedProfile imported;
    imported.problem = "profile XML is not read by this build";
    return imported;
}

}  // namespace hx::ctl::win
