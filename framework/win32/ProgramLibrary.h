// Libraries the program loads from its own folder when it starts, instead of through its
// import table: a missing or broken one then leaves the program running without it.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace hx::win {

// The library of that name in the program's own folder, loaded for the rest of the run
// (never freed: its code may still run on another thread until the process ends), or null
// when it is not there or does not load (a library it needs is missing, or lacks what it
// imports). No system error box is shown for it.
HMODULE LoadProgramLibrary(const wchar_t* fileName);

// The named strings of a loaded module's version resource, in the first language it lists,
// as UTF-8; names it lacks are left out, and a module without a version resource gives none.
std::vector<std::pair<std::string, std::string>> ModuleVersionStrings(HMODULE module,
                                                                      std::span<const char* const> names);
// The same of the library of that name in the program's own folder, read from its file
// without loading it (none when the file is not there).
std::vector<std::pair<std::string, std::string>> ProgramLibraryVersionStrings(const wchar_t* fileName,
                                                                              std::span<const char* const> names);

}  // namespace hx::win
