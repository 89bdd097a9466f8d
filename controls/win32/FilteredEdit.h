// A single-line edit that lets through only the characters of its allowed set, typed or
// pasted, and shows a yellow background while it has the keyboard focus.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/win32/Control.h"
#include "framework/win32/Handles.h"
#include "controls/CharacterFilter.h"

namespace hx::win {

class FilteredEdit : public Control {
public:
    static constexpr COLORREF kFocusColour = RGB(255, 255, 0);
    static constexpr const char* kHexDigits = "abcdefABCDEF0123456789";

    // Stores the set; the empty text lifts the restriction.
    void SetAllowedCharacters(std::string_view allowed) { filter_.SetAllowedCharacters(allowed); }
    const controls::CharacterFilter& Filter() const { return filter_; }

    // Character messages for this box, before they reach it: refused characters are
    // dropped, paste shortcuts become a filtered paste.
    bool PreTranslateMessage(MSG& msg) override;

    // True while the focus colour applies: focused, enabled and writable.
    bool ShowsFocusColour() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PasteFiltered();
    bool EraseBackground(HDC dc);
    LRESULT OnColourRequest(HDC dc);
    bool ReadOnly() const;

    controls::CharacterFilter filter_;
    UniqueBrush focusBrush_;
};

}  // namespace hx::win
