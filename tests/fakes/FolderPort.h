// The worker makes the program's folder the current directory; in tests, a folder of the
// test's own.
#pragma once

#include <filesystem>
#include <utility>

#include "auth/WorkerPorts.h"

namespace hx::test {

class FolderPort final : public ProgramDirectoryPort {
public:
    explicit FolderPort(std::filesystem::path folder) : folder_(std::move(folder)) {}
    void EnterProgramDirectory() override { std::filesystem::current_path(folder_); }

private:
    std::filesystem::path folder_;
};

}  // namespace hx::test
