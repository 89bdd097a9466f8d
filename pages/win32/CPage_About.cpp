#include "pages/win32/CPage_About.h"

#include "app/UtilityState.h"
#include "app/VendorLibraries.h"

namespace hx::win {
namespace {
constexpr int kAboutLabels[] = {IDC_ABOUT_UTILITY_LABEL, IDC_ABOUT_DRIVER_LABEL, IDC_ABOUT_MAC_LABEL, IDC_ABOUT_LIBRARIES};
constexpr int kGroup[] = {IDC_ABOUT_GROUP};
constexpr int kFields[] = {IDC_ABOUT_UTILITY_VERSION, IDC_ABOUT_DRIVER_VERSION, IDC_ABOUT_MAC};
}  // namespace

BOOL CPage_About::OnInitDialog() {
    controls_.Attach(Hwnd(), kAboutLabels, kPageBackground);
    controls_.Attach(Hwnd(), kGroup, kPageBackground, kGroupText);
    controls_.Attach(Hwnd(), kFields, kValueBackground, kValueText);
    SetItemText(Hwnd(), IDC_ABOUT_UTILITY_VERSION, kUtilityVersion);
    if (const PageContext* context = Context())
        SetItemText(Hwnd(), IDC_ABOUT_LIBRARIES, LibrariesText(context->state.libraries));
    return TRUE;
}

void CPage_About::SetDriverVersionText(const std::string& text) {
    if (Hwnd() != nullptr) SetItemText(Hwnd(), IDC_ABOUT_DRIVER_VERSION, text);
}

void CPage_About::SetMacAddressText(const std::string& text) {
    if (Hwnd() != nullptr) SetItemText(Hwnd(), IDC_ABOUT_MAC, text);
}

}  // namespace hx::win
