// In-process tests of the Encryption, Profile and About pages and the profile editor: the
// pages' windows over a plain host window, their services over the fake driver library and
// a registry profile of the test's own, and a script that acts while a modal loop (the
// editor, a message box) runs on the test's thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/UtilityState.h"
#include "config/win32/RegistryAppProfile.h"
#include "config/LastSettingStore.h"
#include "config/ProfileStore.h"
#include "config/SettingApplier.h"
#include "pages/win32/PageContext.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/fakes/RecordingShellPort.h"

namespace hx::test {

class CountingWorker : public WorkerControl {
public:
    void StartWorker() override { ++starts; active = true; }
    void StopWorker() override { ++stops; active = false; }
    bool WorkerActive() const override { return active; }
    int starts = 0, stops = 0;
    bool active = false;
};

// A visible top-level window the pages live in; it also owns the editor and message boxes.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// Everything a page works with, over a registry key of this test program's own.
struct PageWorld {
    PageWorld();
    ~PageWorld();
    win::PageContext Context() { return {state, library, applier, worker, lastSetting, profiles}; }

    // The registry as the stores left it: a value of the application key ("" section) or
    // of a sub-key; REG_NONE / empty when missing.
    DWORD TypeOf(const std::string& section, const std::string& name) const;
    std::string StringValue(const std::string& section, const std::string& name) const;
    DWORD DwordValue(const std::string& section, const std::string& name) const;
    // Values and sub-keys under the application key, counted recursively.
    int EntryCount() const;

    std::string application;
    UtilityState state;
    FakeAdapterLibrary library;
    win::RegistryAppProfile profile;
    LastSettingStore lastSetting{profile};
    ProfileStore profiles{profile};
    CountingWorker worker;
    SettingApplier applier{library, state, lastSetting, worker};
    RecordingShellPort shell;
};

// Steps run from a thread timer every 20 ms, also inside modal loops; a step is repeated
// until it returns true, then the next one runs. One script at a time.
class ModalScript {
public:
    ModalScript();
    ~ModalScript();
    ModalScript& Then(std::function<bool()> step);
    bool Finished() const { return next_ >= steps_.size(); }
    size_t StepsDone() const { return next_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<std::function<bool()>> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

// A message box of this process on screen (a dialog with the message text item), or null.
HWND FindMessageBox();
std::string MessageBoxText(HWND box);
std::string WindowText(HWND hwnd);
// The profile editor on screen (titled "Dialog"), or null.
HWND FindEditor();

// A user's acts on dialog items, sent as the controls themselves would notify.
void Click(HWND dialog, int id);            // posted, for buttons whose handler runs a modal loop
void ClickNow(HWND dialog, int id);         // sent
void Choose(HWND dialog, int listId, int position);  // a drop-down list selection
void SetText(HWND dialog, int id, const std::string& text);
std::string Text(HWND dialog, int id);
int Selected(HWND dialog, int listId);
int ListCount(HWND dialog, int listId);
bool Enabled(HWND dialog, int id);
// Gives a control the focus (its owner notifies the dialog as for a click).
void Focus(HWND dialog, int id);
// Characters into an edit box, one WM_CHAR each.
void Type(HWND dialog, int id, const std::string& text);

// Lets the posted messages of this thread run until cond holds or the time is up.
bool Settle(const std::function<bool()>& cond, int limitMs = 3000);

// A dialog procedure that does nothing but start the dialog: for laying out a template alone.
INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM);

}  // namespace hx::test
