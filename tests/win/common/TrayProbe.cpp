#include "tests/win/common/TrayProbe.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/TrayRule.h"
#include "tests/win/common/UtilityProcess.h"

namespace hx::test {
namespace {

// Colours that tell the tray icons apart: the fill of lit bars (green or yellow) and of
// empty bars (silver). Every icon paints all four bars, so these pixels always belong to
// the icon shown now (Wine's tray paints a new icon over the old one without clearing it,
// so the cross or the sign of an earlier icon may linger around the bars).
struct Signature {
    int green = 0, yellow = 0, silver = 0;
    bool operator==(const Signature&) const = default;
};

Signature Measure(HDC dc, const RECT& area) {
    Signature s;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            switch (::GetPixel(dc, x, y)) {
            case RGB(0, 255, 0): ++s.green; break;
            case RGB(255, 255, 0): ++s.yellow; break;
            case RGB(192, 192, 192): ++s.silver; break;
            default: break;
            }
        }
    }
    return s;
}

// The signature of each tray set's icon, drawn from the utility's own resources.
const std::vector<Signature>& SetSignatures() {
    static const std::vector<Signature> signatures = [] {
        std::vector<Signature> result;
        HMODULE utility = ::LoadLibraryExA((ProgramFolder() + "\\HX88UUtil.exe").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE);
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        const RECT area{0, 0, 16, 16};
        for (int id : kTraySetIcons) {
            ::FillRect(memory, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            HICON icon = static_cast<HICON>(::LoadImageA(utility, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
            ::DrawIconEx(memory, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
            ::DestroyIcon(icon);
            result.push_back(Measure(memory, area));
        }
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        ::FreeLibrary(utility);
        return result;
    }();
    return signatures;
}

// A tooltip answers WM_GETTEXT, carried across processes, with the text it shows.
BOOL CALLBACK CollectBalloon(HWND hwnd, LPARAM texts) {
    char cls[32] = {}, text[512] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) != TOOLTIPS_CLASSA || !::IsWindowVisible(hwnd) ||
        (::GetWindowLongA(hwnd, GWL_STYLE) & TTS_BALLOON) == 0)
        return TRUE;
    ::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
    reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
    return TRUE;
}

}  // namespace

std::vector<std::string> BalloonTextsOnScreen() {
    std::vector<std::string> texts;
    ::EnumWindows(&CollectBalloon, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

int TraySetOnScreen() {
    HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    if (tray == nullptr || !::IsWindowVisible(tray)) return -1;
    RECT client{};
    ::GetClientRect(tray, &client);
    HDC dc = ::GetDC(tray);
    const Signature shown = Measure(dc, client);
    ::ReleaseDC(tray, dc);
    const auto& sets = SetSignatures();
    for (size_t set = 0; set < sets.size(); ++set)
        if (sets[set] == shown) return static_cast<int>(set);
    return -1;
}

int DistinctTraySets() {
    const auto& sets = SetSignatures();
    int distinct = 0;
    for (size_t a = 0; a < sets.size(); ++a) {
        bool repeated = false;
        for (size_t b = 0; b < a; ++b) repeated = repeated || sets[a] == sets[b];
        distinct += repeated ? 0 : 1;
    }
    return distinct;
}

int ExpectedTraySet(int linkSpeedKbps, int signalPercent) {
    if (signalPercent <= 0) return 1;
    const int mbps = linkSpeedKbps / 1000;
    const bool dsss = mbps == 1 || mbps == 2 || mbps == 5 || mbps == 11;  // 802.11b: green bars
    return (dsss ? 2 : 6) + (signalPercent - 1) / 25;
}

int SignalPercent(int rssi) {
    if (rssi > -40) rssi = -40;
    if (rssi < -105) rssi = -105;
    return (rssi + 105) * 100 / 65;
}

}  // namespace hx::test
