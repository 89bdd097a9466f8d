#include "controls/win32/AccessibleObject.h"

#include <ole2.h>
#include <oleacc.h>

#include <string>

namespace hx::win {
namespace {

// The import library of oleacc names IID_IAccessible too, as an entry point of the DLL
// rather than the identifier, and may win the link: the identifier is taken from the
// interface itself.
const IID& kAccessibleIid = __uuidof(IAccessible);

// The object is handed out by marshalling, which needs the thread to be in an apartment.
// The window's thread joins one at the first request and stays in it for its life.
bool JoinApartment() {
    thread_local const HRESULT joined = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(joined) || joined == RPC_E_CHANGED_MODE;
}

HRESULT GiveText(const std::string& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    *out = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (*out == nullptr) return E_OUTOFMEMORY;
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), *out, length);
    return S_OK;
}

HRESULT GiveSelf(bool self, VARIANT* out) {
    if (out == nullptr) return E_POINTER;
    ::VariantInit(out);
    if (!self) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
}

LONG StateBits(const controls::AccessibleState& state) {
    LONG bits = 0;
    if (state.selected) bits |= STATE_SYSTEM_SELECTED;
    if (state.selectable) bits |= STATE_SYSTEM_SELECTABLE;
    if (state.focused) bits |= STATE_SYSTEM_FOCUSED;
    if (state.focusable) bits |= STATE_SYSTEM_FOCUSABLE;
    if (state.readOnly) bits |= STATE_SYSTEM_READONLY;
    if (state.invisible) bits |= STATE_SYSTEM_INVISIBLE;
    if (state.unavailable) bits |= STATE_SYSTEM_UNAVAILABLE;
    return bits;
}

LONG RoleCode(controls::AccessibleRole role) {
    return role == controls::AccessibleRole::PageTab ? ROLE_SYSTEM_PAGETAB : ROLE_SYSTEM_PROGRESSBAR;
}

}  // namespace

// One element without children: the control's client area.
class AccessibleAnswer::Object final : public IAccessible, public IOleWindow {
public:
    Object(AccessibleSource& source, HWND hwnd) : source_(&source), hwnd_(hwnd) {}
    void Disconnect() { source_ = nullptr; hwnd_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kAccessibleIid)
            *out = static_cast<IAccessible*>(this);
        else if (iid == IID_IOleWindow)
            *out = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        if (out == nullptr) return E_POINTER;
        *out = hwnd_;
        return source_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch: the object is reached through its interface only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (!source_) return CO_E_OBJNOTCONNECTED;
        // The client area's parent is the window's own object.
        const HRESULT result = ::AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                            reinterpret_cast<void**>(out));
        return SUCCEEDED(result) && *out != nullptr ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return source_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** out) override {
        if (out != nullptr) *out = nullptr;
        return source_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return Text(child, out, [](const controls::AccessibleFacts& facts) { return facts.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return Text(child, out, [](const controls::AccessibleFacts& facts) { return facts.value; });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Text(child, out, [](const controls::AccessibleFacts& facts) { return facts.defaultAction; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override { return Nothing(child, out); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override { return Nothing(child, out); }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override { return Nothing(child, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (topic != nullptr) *topic = 0;
        return Nothing(child, file);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        return Number(child, out, [](const controls::AccessibleFacts& facts) { return RoleCode(facts.role); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return Number(child, out, [](const controls::AccessibleFacts& facts) { return StateBits(facts.state); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!source_) return CO_E_OBJNOTCONNECTED;
        return GiveSelf(::GetFocus() == hwnd_, out);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (!source_) return CO_E_OBJNOTCONNECTED;
        return GiveSelf(source_->Describe().state.selected, out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        const controls::AccessibleState state = source_->Describe().state;
        if ((flags & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) != 0) return E_INVALIDARG;
        if ((flags & SELFLAG_TAKEFOCUS) && !state.focusable) return E_INVALIDARG;
        if ((flags & SELFLAG_TAKESELECTION) && !state.selectable) return E_INVALIDARG;
        if (flags & SELFLAG_TAKESELECTION) source_->DoDefaultAction();
        if ((flags & SELFLAG_TAKEFOCUS) && hwnd_ != nullptr) ::SetFocus(hwnd_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        RECT rect{};
        ::GetWindowRect(hwnd_, &rect);
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT start, VARIANT* out) override {
        if (out == nullptr) return E_POINTER;
        ::VariantInit(out);
        if (const HRESULT checked = Check(start); checked != S_OK) return checked;
        return S_FALSE;  // no children; the window's object leads to the siblings
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
        if (!source_) return CO_E_OBJNOTCONNECTED;
        RECT rect{};
        ::GetWindowRect(hwnd_, &rect);
        return GiveSelf(::PtInRect(&rect, POINT{x, y}) != FALSE, out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        return source_->DoDefaultAction() ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~Object() = default;

    HRESULT Check(const VARIANT& child) const {
        if (!source_) return CO_E_OBJNOTCONNECTED;
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK : E_INVALIDARG;
    }
    template <typename Pick>
    HRESULT Text(const VARIANT& child, BSTR* out, Pick pick) {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        return GiveText(pick(source_->Describe()), out);
    }
    HRESULT Nothing(const VARIANT& child, BSTR* out) {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        const HRESULT checked = Check(child);
        return checked == S_OK ? S_FALSE : checked;
    }
    template <typename Pick>
    HRESULT Number(const VARIANT& child, VARIANT* out, Pick pick) {
        if (out == nullptr) return E_POINTER;
        ::VariantInit(out);
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        out->vt = VT_I4;
        out->lVal = pick(source_->Describe());
        return S_OK;
    }

    LONG references_ = 1;
    AccessibleSource* source_;
    HWND hwnd_;
};

bool AccessibleAnswer::ForClientArea(LPARAM objectId) {
    return static_cast<DWORD>(objectId) == static_cast<DWORD>(OBJID_CLIENT);
}

LRESULT AccessibleAnswer::Answer(HWND hwnd, WPARAM wParam) {
    if (!JoinApartment()) return 0;
    if (object_ == nullptr) object_ = new Object(source_, hwnd);
    const LRESULT answer = ::LresultFromObject(kAccessibleIid, wParam, static_cast<IAccessible*>(object_));
    return answer > 0 ? answer : 0;  // a failure code: the system's answer instead
}

void AccessibleAnswer::Disconnect() {
    if (object_ == nullptr) return;
    object_->Disconnect();
    // Clients in other processes hold it through stubs, which are let go here.
    ::CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
    object_->Release();
    object_ = nullptr;
}

}  // namespace hx::win
