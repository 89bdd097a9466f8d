#include "ControlHarness.h"

#include <cstring>
#include <vector>

#include "framework/win32/Control.h"
#include "framework/win32/Reflect.h"

namespace hx::test {
namespace {

constexpr const char* kParentClass = "HxControlTestParent";

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (win::ReflectToChild(hwnd, message, wParam, lParam, reflected)) return reflected;
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

ReflectingParent::ReflectingParent(int width, int height) {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &ParentProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kParentClass;
        return ::RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
    hwnd_ = ::CreateWindowExA(0, kParentClass, "controls under test", WS_POPUP | WS_VISIBLE, 20, 20,
                              width, height, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::UpdateWindow(hwnd_);
    PumpMessages();
}

ReflectingParent::~ReflectingParent() {
    if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
    PumpMessages();
}

HWND ReflectingParent::AddChild(const char* className, const char* text, DWORD style, int x, int y,
                                int width, int height, int id, DWORD exStyle) {
    HWND child = ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                   height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

void ReflectingParent::Activate() {
    ::SetForegroundWindow(hwnd_);
    ::SetActiveWindow(hwnd_);
    PumpMessages();
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        bool consumed = false;
        for (HWND hwnd = msg.hwnd; hwnd != nullptr && !consumed; hwnd = ::GetParent(hwnd)) {
            if (win::Control* control = win::Control::FromHandle(hwnd)) consumed = control->PreTranslateMessage(msg);
        }
        if (consumed) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(limit.count());
    for (;;) {
        PumpMessages();
        if (cond()) return true;
        if (::GetTickCount64() >= end) return false;
        ::Sleep(5);
    }
}

void PumpFor(std::chrono::milliseconds time) {
    PumpUntil([] { return false; }, time);
}

void TypeChords(std::initializer_list<KeyChord> chords) {
    std::vector<INPUT> inputs;
    auto key = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        if (vk == VK_INSERT || vk == VK_DELETE) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        inputs.push_back(input);
    };
    for (const KeyChord& chord : chords) {
        if (chord.ctrl) key(VK_CONTROL, false);
        if (chord.shift) key(VK_SHIFT, false);
        key(chord.key, false);
        key(chord.key, true);
        if (chord.shift) key(VK_SHIFT, true);
        if (chord.ctrl) key(VK_CONTROL, true);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HeldModifiers::HeldModifiers(bool shift, bool ctrl) {
    ::GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (ctrl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    ::SetKeyboardState(state);
}

HeldModifiers::~HeldModifiers() { ::SetKeyboardState(saved_); }

bool PutClipboardText(HWND owner, const char* text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    bool ok = true;
    if (text != nullptr) {
        const size_t size = std::strlen(text) + 1;
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
        ok = memory != nullptr;
        if (ok) {
            std::memcpy(::GlobalLock(memory), text, size);
            ::GlobalUnlock(memory);
            ok = ::SetClipboardData(CF_TEXT, memory) != nullptr;
            if (!ok) ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
    return ok;
}

}  // namespace hx::test
