// What the portable core asks of the window system: the main window, the tray icon and
// the pages. The Win32 main window implements it; tests record the calls.
#pragma once

#include <string>

namespace hx {

enum class PageId { LinkInfo, Configuration, Encryption, SiteSurvey, Profile, About };

class ShellPort {
public:
    virtual ~ShellPort() = default;

    // Main window and tray.
    virtual void HideMainWindow() = 0;
    virtual void ShowTraySet(int set) = 0;
    // Switches pages exactly as a click on the page's navigation label does.
    virtual void ShowPage(PageId page) = 0;
    virtual bool IsCurrentPage(PageId page) const = 0;

    // Pages reached by the core.
    virtual void ShowLinkStatus() = 0;             // Link Info: update the display
    virtual void StartSiteSurvey() = 0;            // Site Survey: its scan operation
    virtual void CollectSiteSurvey() = 0;          // Site Survey: fill the list
    virtual void FillTxRateList() = 0;             // Configuration: rebuild the rate list
    virtual void SetDriverVersionText(const std::string& text) = 0;  // About
    virtual void SetMacAddressText(const std::string& text) = 0;     // About
};

}  // namespace hx
