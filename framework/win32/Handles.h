// RAII holders for the Win32 handles the utility owns.
#pragma once

#include <windows.h>

#include <utility>

namespace hx::win {

template <typename T, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    T Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(T handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    T handle_ = Traits::Invalid();
};

template <typename T>
struct TypedGdiTraits {
    static T Invalid() { return nullptr; }
    static void Close(T h) { ::DeleteObject(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
struct CursorTraits {
    static HCURSOR Invalid() { return nullptr; }
    static void Close(HCURSOR h) { ::DestroyCursor(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
struct KernelHandleTraits {  // events, threads, processes: null when there is none
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // files and pipes: INVALID_HANDLE_VALUE when there is none
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};

using UniqueBrush = UniqueHandle<HBRUSH, TypedGdiTraits<HBRUSH>>;
using UniqueFont = UniqueHandle<HFONT, TypedGdiTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<HBITMAP, TypedGdiTraits<HBITMAP>>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueCursor = UniqueHandle<HCURSOR, CursorTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<HANDLE, FileHandleTraits>;

// Selects an object into a device context for the holder's lifetime.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window DC released at the end of the scope.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ::ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

}  // namespace hx::win
