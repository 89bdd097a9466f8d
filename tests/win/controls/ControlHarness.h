// What the control tests share: a memory canvas to paint into and read back
// (tests/win/common/Canvas.h), a visible parent window that reflects colour requests and notifications to bound control objects
// as the utility's dialogs do, a message loop with the dialogs' pre-translation step, and
// real keyboard input.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>

#include "tests/win/common/Canvas.h"

namespace hx::test {

// Colours the control tests paint with and look for: a sentinel no control draws itself.
inline constexpr COLORREF kSentinel = RGB(255, 0, 255);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

// A visible top-level window for the controls under test; it offers colour requests and
// notifications to the control objects bound to its children first.
class ReflectingParent {
public:
    ReflectingParent(int width = 420, int height = 260);
    ~ReflectingParent();
    ReflectingParent(const ReflectingParent&) = delete;
    ReflectingParent& operator=(const ReflectingParent&) = delete;

    HWND Hwnd() const { return hwnd_; }
    HWND AddChild(const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, int id, DWORD exStyle = 0);
    // Brings the window to the front so that it can hold the keyboard focus.
    void Activate();

private:
    HWND hwnd_ = nullptr;
};

// Dispatches this thread's messages, offering each to the bound controls' pre-translation
// step first, the way the utility's modal loop does.
void PumpMessages();
// Pumps until cond holds or the time is up; returns cond's last value.
bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit);
// Pumps for the given time.
void PumpFor(std::chrono::milliseconds time);

// One key of real keyboard input: pressed and released, with modifiers held around it.
struct KeyChord {
    WORD key;
    bool shift = false;
    bool ctrl = false;
};
void TypeChords(std::initializer_list<KeyChord> chords);

// Holds Shift and/or Ctrl in this thread's keyboard state for the scope, for messages
// posted directly.
class HeldModifiers {
public:
    HeldModifiers(bool shift, bool ctrl);
    ~HeldModifiers();

private:
    BYTE saved_[256];
};

// Replaces the clipboard's contents with this text (none when null); false on failure.
bool PutClipboardText(HWND owner, const char* text);

}  // namespace hx::test
