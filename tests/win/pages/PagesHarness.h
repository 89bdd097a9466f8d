// The real main window with the real Link Info, Configuration and Site Survey pages over the
// recording fake driver library, the real apply operations and a recording worker. The
// heartbeat is driven tick by tick by the test; the adapter is found on the first tick.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/win32/CDlg_Main.h"
#include "tests/fakes/ScriptedAdapterOperations.h"
#include "tests/native/adapterops/Fixture.h"

namespace hx::test {

std::string Text(HWND hwnd);
std::vector<std::string> ComboTexts(HWND combo);
int ComboSelection(HWND combo);
inline bool Enabled(HWND hwnd) { return ::IsWindowEnabled(hwnd) != FALSE; }
// Whether the window has its visible style (its parents may be hidden).
inline bool Shown(HWND hwnd) { return (::GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

class PagesHarness : public ::testing::Test, public AdapterFixture {
protected:
    PagesHarness();
    ~PagesHarness() override;

    // Creates the main window and its pages and runs the first tick (the adapter is found).
    void Start();
    // One tick of the one-second timer.
    void Tick();

    HWND Window() const { return main.Hwnd(); }
    HWND ItemOf(const win::Dialog& page, int id) const { return ::GetDlgItem(page.Hwnd(), id); }
    // A button click, as the button sends it to its page.
    void Click(const win::Dialog& page, int id);
    // A new selection in a combo box, as a user makes it (with the change notification).
    void Choose(const win::Dialog& page, int comboId, int position);

    std::vector<std::string> log;
    ProfileStore profiles{AdapterFixture::profile};
    ScriptedAdapterOperations operations{state, log};
    win::CPage_LinkInfo linkInfo;
    win::CPage_Config config;
    win::CPage_Wep wep;
    win::CPage_Site site;
    win::CPage_Profile profile;
    win::CPage_About about;
    win::CDlg_Main main{state, library, worker, {linkInfo, config, wep, site, profile, about}};
};

// Answers the next message box of this thread with the given button while it lives, from a
// timer that the box's own modal loop dispatches; notes the box's caption and text.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(int button);
    ~MessageBoxAnswer();
    bool Answered() const;
    std::string Caption() const;
    std::string Text() const;
    UINT Style() const;
};

}  // namespace hx::test
