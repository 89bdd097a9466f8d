// A static text that behaves like a link: bold (and by default underlined) text on a
// transparent background, one colour when idle and another when selected or under the
// mouse, a hand cursor, sized to its text. A click reaches the parent as STN_CLICKED.
// The labels of one column act as one tab strip: the selected label is the column's tab
// stop, the parent draws a focus cue round the label with the focus (DrawFocusCue), and
// screen readers see each label as a page tab whose default action is the click.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "framework/win32/Control.h"
#include "framework/win32/Handles.h"
#include "controls/win32/AccessibleObject.h"

namespace hx::win {

class NavLabel : public Control, private AccessibleSource {
public:
    static constexpr COLORREF kNormalColour = 0x96BEBE;
    static constexpr COLORREF kSelectedColour = 0x008CFF;
    static constexpr COLORREF kHoverColour = 0x008CFF;
    static constexpr UINT_PTR kHoverTimerId = 100;
    static constexpr UINT kHoverCheckMs = 100;

    // Underline modes: always, only while the mouse is over the label, or never.
    static constexpr int kUnderlineAlways = 1;
    static constexpr int kUnderlineHover = -1;
    static constexpr int kUnderlineNever = 0;

    // The hand cursor is the help program's cursor resource 106, loaded the first time the
    // pointer is over the label: by default the Windows help program ("\winhlp32.exe" in the
    // Windows directory), or the program named here. Without the file or the resource the
    // label keeps the default cursor.
    NavLabel() = default;
    explicit NavLabel(std::string helpProgram) : helpProgram_(std::move(helpProgram)) {}
    static std::string WindowsHelpProgram();

    void SetSelected(bool selected);
    void SetUnderlineMode(int mode);
    // Makes the fonts again for the DPI the label is now shown at and sizes the label to its
    // text in them (when the window moves to a monitor of another DPI).
    void ApplyDpi(UINT dpi);

    // Draws the focus cue round the label into the parent's dc while the label has the
    // focus; the parent calls it after erasing its background.
    void DrawFocusCue(HDC parentDc) const;

    bool Selected() const { return selected_; }
    bool HasFocus() const { return hasFocus_; }
    bool Hovering() const { return hovering_; }
    bool HasHandCursor() const { return static_cast<bool>(handCursor_); }
    // The colour the text is drawn in now (in high contrast, the system's colour for links).
    COLORREF TextColour() const;

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MakeFonts(UINT dpi);
    void AutoSize();
    void LoadHandCursor();
    void UseFont(bool underlined);
    // Repaints the label together with what lies behind it (the label draws no background).
    void Redraw(int extendBelow = 0);
    void OnHoverCheck();
    // The focus cue's frame, in the parent's coordinates.
    RECT FocusCueRect() const;
    void RedrawFocusCue();
    bool TakesInput() const;
    controls::AccessibleFacts Describe() const override;
    bool DoDefaultAction() override;

    COLORREF normalColour_ = kNormalColour;
    COLORREF selectedColour_ = kSelectedColour;
    COLORREF hoverColour_ = kHoverColour;
    bool hovering_ = false;
    bool selected_ = false;
    bool hasFocus_ = false;
    AccessibleAnswer accessible_{*this};
    int underlineMode_ = kUnderlineAlways;
    bool autoSize_ = true;
    std::string helpProgram_;   // empty: the Windows help program
    UniqueCursor handCursor_;
    bool cursorSought_ = false;
    UniqueFont boldFont_;
    UniqueFont underlinedFont_;
    LOGFONTA baseFont_{};   // the control's own font when it was attached...
    UINT baseDpi_ = 0;      // ...and the DPI it was made for
    UINT fontDpi_ = 0;      // the DPI the bold and underlined fonts are made for
};

}  // namespace hx::win
