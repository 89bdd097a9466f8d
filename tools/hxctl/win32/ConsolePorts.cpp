#include "tools/hxctl/win32/ConsolePorts.h"

#include <cstdio>

#include "app/win32/ControlPipeName.h"
#include "tools/hxctl/InputChecks.h"
#include "tools/hxctl/win32/ControlPipeClient.h"
#include "tools/hxctl/win32/Utf8.h"
#include "tools/hxctl/win32/XmlLiteTree.h"

namespace hx::ctl::win {
namespace {

using hx::win::Utf8;
using hx::win::Wide;

// Set by Ctrl+C or Ctrl+Break; Sleep waits on it so that monitor ends at once.
HANDLE g_interrupt = nullptr;

BOOL WINAPI OnConsoleBreak(DWORD kind) {
    if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT) return FALSE;
    ::SetEvent(g_interrupt);
    return TRUE;
}

// Whether a redirected standard input is worth reading without an option asking for it: a
// file or device always (it ends), a pipe once it holds bytes or has been closed, waited
// for at most a second, so that a pipe nobody writes to does not hold connect up.
bool PipeHasInput(HANDLE input) {
    if (::GetFileType(input) != FILE_TYPE_PIPE) return input != nullptr && input != INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 20; ++tries) {
        DWORD available = 0;
        if (!::PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr))
            return true;   // closed (its end is read at once), or a pipe that cannot be peeked
        if (available > 0) return true;
        ::Sleep(50);
    }
    return false;
}

// The text with Windows' line ends, in one write: a write a line (as the C runtime's text
// mode makes) costs Wine a round trip to its server each, which made --help take longer
// than a status request.
// A console is written in UTF-16, whatever its code page; a file or pipe gets UTF-8.
void WriteLines(DWORD stream, std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
        lines += text[i];
    }
    const HANDLE handle = ::GetStdHandle(stream);
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Wide(lines);
        DWORD written = 0;
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    size_t at = 0;
    while (at < lines.size()) {
        DWORD written = 0;
        if (!::WriteFile(handle, lines.data() + at, static_cast<DWORD>(lines.size() - at), &written, nullptr) || written == 0)
            return;
        at += written;
    }
}

}  // namespace

ConsolePorts::ConsolePorts() : pipeName_(hx::win::ControlPipeName()) {
    g_interrupt = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
}

ConsolePorts::~ConsolePorts() {
    ::SetConsoleCtrlHandler(OnConsoleBreak, FALSE);
    ::CloseHandle(g_interrupt);
    g_interrupt = nullptr;
}

Exchange ConsolePorts::Transact(const std::string& request, bool secret) {
    return TransactControlPipe(pipeName_, request, secret);
}

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

std::optional<std::string> ConsolePorts::ReadSecretFromInput(bool asked, std::string_view prompt) {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(input, &mode) != 0;
    if (console && !asked) return std::nullopt;
    if (!asked && !PipeHasInput(input)) return std::nullopt;
    if (console) {
        WriteLines(STD_ERROR_HANDLE, prompt);
        ::SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    std::string line;
    int c = 0;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n' && line.size() <= 4096) line += static_cast<char>(c);
    if (console) {
        ::SetConsoleMode(input, mode);
        WriteLines(STD_ERROR_HANDLE, "\n");
    }
    if (line.empty() && c == EOF) return std::nullopt;
    return WithoutOneLineEnd(line);
}

FileText ConsolePorts::ReadFile(const std::string& path, size_t maxBytes) {
    FileText file;
    std::FILE* stream = ::_wfopen(Wide(path).c_str(), L"rb");
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

void ConsolePorts::Out(std::string_view text) { WriteLines(STD_OUTPUT_HANDLE, text); }

void ConsolePorts::Err(std::string_view text) { WriteLines(STD_ERROR_HANDLE, text); }

XmlDocument ConsolePorts::ReadXml(std::string_view bytes) {
    hx::win::XmlTree tree = hx::win::ReadXmlTree(bytes);
    return XmlDocument{std::move(tree.error), std::move(tree.root)};
}

}  // namespace hx::ctl::win
