// A ShellPort that records what the core asked of the window system.
#pragma once

#include <string>
#include <vector>

#include "app/ShellPort.h"

namespace hx::test {

class RecordingShellPort : public ShellPort {
public:
    std::vector<std::string> calls;   // "HideMainWindow", "ShowTraySet(3)", "ShowPage(LinkInfo)", ...
    PageId currentPage = PageId::LinkInfo;
    std::string driverVersionText, macAddressText;

    void HideMainWindow() override { calls.push_back("HideMainWindow"); }
    void ShowTraySet(int set) override { calls.push_back("ShowTraySet(" + std::to_string(set) + ")"); }
    void ShowPage(PageId page) override {
        // Appended rather than concatenated: "literal" + std::string&& draws a false -Wrestrict
        // from the i686 compiler.
        calls.push_back(std::string("ShowPage(").append(Name(page)).append(")"));
        currentPage = page;
    }
    bool IsCurrentPage(PageId page) const override { return page == currentPage; }
    void ShowLinkStatus() override { calls.push_back("ShowLinkStatus"); }
    void StartSiteSurvey() override { calls.push_back("StartSiteSurvey"); }
    void CollectSiteSurvey() override { calls.push_back("CollectSiteSurvey"); }
    void FillTxRateList() override { calls.push_back("FillTxRateList"); }
    void SetDriverVersionText(const std::string& text) override {
        calls.push_back("SetDriverVersionText(" + text + ")");
        driverVersionText = text;
    }
    void SetMacAddressText(const std::string& text) override {
        calls.push_back("SetMacAddressText(" + text + ")");
        macAddressText = text;
    }

    static std::string Name(PageId page) {
        switch (page) {
        case PageId::LinkInfo: return "LinkInfo";
        case PageId::Configuration: return "Configuration";
        case PageId::Encryption: return "Encryption";
        case PageId::SiteSurvey: return "SiteSurvey";
        case PageId::Profile: return "Profile";
        case PageId::About: return "About";
        }
        return "?";
    }
};

}  // namespace hx::test
