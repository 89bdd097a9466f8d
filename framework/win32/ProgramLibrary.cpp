#include "framework/win32/ProgramLibrary.h"

#include <cwchar>
#include <string_view>

namespace hx::win {
namespace {

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

std::string Utf8(const wchar_t* text, size_t length) {
    if (length == 0) return {};
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), bytes, nullptr, nullptr);
    return out;
}

// The file of that name in the program's own folder; empty when the folder is not known.
std::wstring ProgramFolderFile(const wchar_t* fileName) {
    std::wstring path = ModulePath(nullptr);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    path.resize(slash + 1);
    return path + fileName;
}

// The version resource is read from the file as data: nothing of the library runs.
std::vector<std::pair<std::string, std::string>> FileVersionStrings(const std::wstring& path,
                                                                    std::span<const char* const> names) {
    std::vector<std::pair<std::string, std::string>> strings;
    DWORD ignored = 0;
    const DWORD size = path.empty() ? 0 : ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return strings;
    std::vector<unsigned char> info(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return strings;
    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes) ||
        bytes < sizeof(Translation))
        return strings;
    for (const char* name : names) {
        wchar_t block[32];
        std::swprintf(block, sizeof block / sizeof block[0], L"\\StringFileInfo\\%04x%04x\\", translations->language,
                      translations->codePage);
        std::wstring query = block;
        for (const char* c = name; *c != '\0'; ++c) query += static_cast<wchar_t>(static_cast<unsigned char>(*c));
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || value == nullptr) continue;
        // The length counts the terminating zero when there is one.
        std::wstring_view text(value, length);
        if (const size_t end = text.find(L'\0'); end != std::wstring_view::npos) text = text.substr(0, end);
        strings.emplace_back(name, Utf8(text.data(), text.size()));
    }
    return strings;
}

}  // namespace

HMODULE LoadProgramLibrary(const wchar_t* fileName) {
    const std::wstring path = ProgramFolderFile(fileName);
    if (path.empty()) return nullptr;
    DWORD previous = 0;
    const BOOL quiet = ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
    // The folder of the library is searched first for the libraries it imports in turn.
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (quiet) ::SetThreadErrorMode(previous, nullptr);
    return module;
}

std::vector<std::pair<std::string, std::string>> ModuleVersionStrings(HMODULE module,
                                                                      std::span<const char* const> names) {
    return FileVersionStrings(ModulePath(module), names);
}

std::vector<std::pair<std::string, std::string>> ProgramLibraryVersionStrings(const wchar_t* fileName,
                                                                              std::span<const char* const> names) {
    return FileVersionStrings(ProgramFolderFile(fileName), names);
}

}  // namespace hx::win
