// What a stress test counts to see that nothing is left behind: the process's threads and
// its open file descriptors (the handles of this platform), read from /proc.
#pragma once

#include <dirent.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace hx::stress {

inline int ThreadCount() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Threads:", 0) == 0) return std::atoi(line.c_str() + 8);
    return -1;
}

inline int OpenDescriptorCount() {
    DIR* folder = ::opendir("/proc/self/fd");
    if (folder == nullptr) return -1;
    int count = 0;
    while (const dirent* entry = ::readdir(folder))
        if (entry->d_name[0] != '.') ++count;
    ::closedir(folder);
    return count - 1;  // the one this listing holds open
}

// A number from the environment, or the fallback when it is not set.
inline int FromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

}  // namespace hx::stress
