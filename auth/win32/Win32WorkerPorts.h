// The worker's platform ports on Win32.
#pragma once

#include <string>

#include "auth/WorkerPorts.h"

namespace hx::win {

// The executable's path up to its last "\" becomes the current directory.
class ModuleDirectoryPort final : public ProgramDirectoryPort {
public:
    void EnterProgramDirectory() override;
};

// Each message gets an ownerless message box on a thread of its own, so the worker goes on
// (and a Stop worker waiting for it returns) while the box is open. The caption is the
// application name.
class OwnerlessMessageBoxPort final : public WorkerMessagePort {
public:
    explicit OwnerlessMessageBoxPort(std::string caption) : caption_(std::move(caption)) {}
    void ShowExclamation(const std::string& text) override;

private:
    std::string caption_;
};

// The directory part of a module path: everything before its last "\"; empty without one.
std::string DirectoryOfModulePath(const std::string& path);

}  // namespace hx::win
