// Driving the running utility's pages and its profile editor from this process, as a user
// would through the controls, and reading the simulator it runs against.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "tests/win/common/UtilityProcess.h"

namespace hx::test {

// The value of one "key: value" line of the simulator's state report ("" when missing).
std::string SimulatorState(const std::string& key);
// The simulator's recent events, one a line.
std::string SimulatorEvents();

class UtilityDriver {
public:
    explicit UtilityDriver(UtilityProcess& utility, HWND main) : utility_(utility), main_(main) {}

    // Clicks a navigation label; returns the page that holds the control with this id.
    HWND ShowPage(int labelId, int controlOnPage);
    HWND PageHolding(int controlId) const;

    // The profile editor of the utility while it is open, or null.
    HWND Editor() const;
    HWND WaitForEditor(std::chrono::milliseconds limit) const;

    static std::string Text(HWND dialog, int id);
    static void SetText(HWND dialog, int id, const std::string& text);
    static void Choose(HWND dialog, int listId, int position);
    // Posted: the handler may run a modal loop.
    static void Click(HWND dialog, int id);

private:
    UtilityProcess& utility_;
    HWND main_;
};

// The registry the utility writes: a value of its application key or of a sub-key.
DWORD RegistryType(const std::string& section, const std::string& name);
std::string RegistryString(const std::string& section, const std::string& name);
DWORD RegistryDword(const std::string& section, const std::string& name);
void SeedRegistryString(const std::string& section, const std::string& name, const std::string& text);
void SeedRegistryDword(const std::string& section, const std::string& name, DWORD value);

}  // namespace hx::test
