// Owning, move-only wrappers for the system's handles: one template, one traits struct per kind
// of handle (what "none" looks like and how it is released). Every early return releases what a
// scope opened.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <utility>

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    bool Valid() const { return Traits::IsValid(value_); }
    explicit operator bool() const { return Valid(); }
    Type Get() const { return value_; }
    Type Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) {
        if (Valid()) Traits::Close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::Invalid();
};

namespace handle_traits {

// Files, threads, events, mutexes, processes. CreateFileW reports failure as
// INVALID_HANDLE_VALUE, most other calls as null: both count as none.
struct Kernel {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct Find {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { FindClose(h); }
};

template <typename T>
struct GdiObject {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

// A memory DC from CreateCompatibleDC or CreateDCW.
struct CreatedDc {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};

struct Menu {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};

struct Icon {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
};

struct WinHttp {
    using Type = HINTERNET;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { WinHttpCloseHandle(h); }
};

// Texts a system call allocated for its caller with GlobalAlloc (WinHTTP's proxy settings).
struct GlobalText {
    using Type = wchar_t*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type p) { return p != nullptr; }
    static void Close(Type p) { GlobalFree(p); }
};

template <typename T>
struct Com {
    using Type = T*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type p) { return p != nullptr; }
    static void Close(Type p) { p->Release(); }
};

}  // namespace handle_traits

using UniqueHandle = UniqueResource<handle_traits::Kernel>;
using UniqueFindHandle = UniqueResource<handle_traits::Find>;
using UniqueBitmap = UniqueResource<handle_traits::GdiObject<HBITMAP>>;
using UniqueRegion = UniqueResource<handle_traits::GdiObject<HRGN>>;
using UniquePen = UniqueResource<handle_traits::GdiObject<HPEN>>;
using UniqueBrush = UniqueResource<handle_traits::GdiObject<HBRUSH>>;
using UniqueFont = UniqueResource<handle_traits::GdiObject<HFONT>>;
using UniqueDc = UniqueResource<handle_traits::CreatedDc>;
using UniqueMenu = UniqueResource<handle_traits::Menu>;
using UniqueIcon = UniqueResource<handle_traits::Icon>;
using WinHttpHandle = UniqueResource<handle_traits::WinHttp>;
using UniqueGlobalText = UniqueResource<handle_traits::GlobalText>;
template <typename T>
using UniqueCom = UniqueResource<handle_traits::Com<T>>;

// A DC from GetDC, given back with ReleaseDC at the end of the scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC for a scope; the previous one is selected back at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
