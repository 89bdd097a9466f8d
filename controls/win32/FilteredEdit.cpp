#include "controls/win32/FilteredEdit.h"

#include <cstring>
#include <string>

#include "framework/win32/Reflect.h"

namespace hx::win {
namespace {

bool KeyDown(int virtualKey) { return ::GetKeyState(virtualKey) < 0; }

// Opens the clipboard for the scope.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() { if (open_) ::CloseClipboard(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// The plain text on the open clipboard; false when it holds none. The copy stops at the
// data's end even when the data carries no terminator.
bool ClipboardText(std::string& text) {
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (data == nullptr) return false;
    const auto* bytes = static_cast<const char*>(::GlobalLock(data));
    if (bytes == nullptr) return false;
    const SIZE_T size = ::GlobalSize(data);
    const void* end = std::memchr(bytes, '\0', size);
    text.assign(bytes, end ? static_cast<const char*>(end) - bytes : size);
    ::GlobalUnlock(data);
    return true;
}

}  // namespace

bool FilteredEdit::PreTranslateMessage(MSG& msg) {
    if (msg.message != WM_CHAR || msg.hwnd != Hwnd()) return false;
    switch (filter_.Classify(static_cast<unsigned>(msg.wParam), KeyDown(VK_SHIFT), KeyDown(VK_CONTROL))) {
    case controls::CharacterAction::Pass:
        return false;
    case controls::CharacterAction::Paste:
        ::SendMessageA(Hwnd(), WM_PASTE, 0, 0);
        return true;
    case controls::CharacterAction::Discard:
        return true;
    }
    return false;
}

bool FilteredEdit::ReadOnly() const {
    return (::GetWindowLongA(Hwnd(), GWL_STYLE) & ES_READONLY) != 0;
}

bool FilteredEdit::ShowsFocusColour() const {
    return Hwnd() != nullptr && ::GetFocus() == Hwnd() && ::IsWindowEnabled(Hwnd()) && !ReadOnly();
}

void FilteredEdit::PasteFiltered() {
    // A read-only box takes no paste, as the plain edit control behaves; the replacement
    // below would otherwise write into it.
    if (ReadOnly()) return;
    OpenedClipboard clipboard(Hwnd());
    if (!clipboard.IsOpen()) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    std::string text;
    if (!ClipboardText(text)) return;
    const std::string kept = filter_.FilterText(text);
    ::SendMessageA(Hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
}

bool FilteredEdit::EraseBackground(HDC dc) {
    if (!ShowsFocusColour()) return false;
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    UniqueBrush brush(::CreateSolidBrush(kFocusColour));
    ::FillRect(dc, &client, brush.Get());
    return true;
}

LRESULT FilteredEdit::OnColourRequest(HDC dc) {
    // The edit paints its own background with the brush of its colour request as well, so
    // the focus colour is handed out there too; otherwise the parent answers as usual.
    if (!ShowsFocusColour()) return 0;
    if (!focusBrush_) focusBrush_.Reset(::CreateSolidBrush(kFocusColour));
    ::SetBkColor(dc, kFocusColour);
    return reinterpret_cast<LRESULT>(focusBrush_.Get());
}

LRESULT FilteredEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PASTE:  // from its own shortcuts, its context menu and the filter above
        PasteFiltered();
        return 0;
    case WM_KEYDOWN:
        // Shift+Insert: the edit would paste directly, past the filter.
        if (wParam == VK_INSERT && KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL)) {
            ::SendMessageA(Hwnd(), WM_PASTE, 0, 0);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(Hwnd(), nullptr, TRUE);
        break;  // and on to the edit, which tells the parent
    case WM_ERASEBKGND:
        if (EraseBackground(reinterpret_cast<HDC>(wParam))) return TRUE;
        break;
    case kReflectCtlColorEdit:  // read-only and disabled edits ask as statics: never yellow
        return OnColourRequest(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return Control::WindowProc(message, wParam, lParam);
}

}  // namespace hx::win
