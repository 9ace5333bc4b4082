// Owners of the handles the toolkit opens and closes itself: one move-only template that
// closes its handle once, and a closer per handle kind. Window handles, which the interface
// thread owns and destroys, stay plain values.
#pragma once

#include <windows.h>

#include <utility>

// Closer is a struct with the handle type (Value), the value that stands for no handle
// (Invalid()) and the function that closes one (Close).
template <typename Closer>
class OwnedHandle {
public:
    using Value = typename Closer::Value;

    OwnedHandle() = default;
    explicit OwnedHandle(Value value) : value_(value) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : value_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Value get() const { return value_; }
    explicit operator bool() const { return value_ != Closer::Invalid(); }

    // Gives the handle up without closing it.
    Value release() { return std::exchange(value_, Closer::Invalid()); }

    // Closes the handle held, if any, and holds value instead.
    void reset(Value value = Closer::Invalid()) {
        const Value old = std::exchange(value_, value);
        if (old != Closer::Invalid()) Closer::Close(old);
    }

private:
    Value value_ = Closer::Invalid();
};

// What stands for no handle: INVALID_HANDLE_VALUE for files and searches, nullptr for the rest.
struct NoFileHandle {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
};
template <typename HandleType>
struct NoHandle {
    using Value = HandleType;
    static Value Invalid() { return nullptr; }
};

// Files opened with CreateFile and folder searches started with FindFirstFile.
struct FileCloser : NoFileHandle { static void Close(Value h) { CloseHandle(h); } };
struct SearchCloser : NoFileHandle { static void Close(Value h) { FindClose(h); } };
// Events and threads.
struct KernelObjectCloser : NoHandle<HANDLE> { static void Close(Value h) { CloseHandle(h); } };
struct RegistryKeyCloser : NoHandle<HKEY> { static void Close(Value key) { RegCloseKey(key); } };
// Fonts, bitmaps and brushes. Delete one only when no device context has it selected.
template <typename GdiType>
struct GdiObjectCloser : NoHandle<GdiType> {
    static void Close(GdiType object) { DeleteObject(object); }
};
// Memory device contexts made with CreateCompatibleDC (not those of GetDC, which are released).
struct MemoryDcCloser : NoHandle<HDC> { static void Close(Value dc) { DeleteDC(dc); } };
struct MenuCloser : NoHandle<HMENU> { static void Close(Value menu) { DestroyMenu(menu); } };
// Libraries loaded by name with LoadLibraryA.
struct LibraryCloser : NoHandle<HMODULE> { static void Close(Value library) { FreeLibrary(library); } };
struct HookCloser : NoHandle<HHOOK> { static void Close(Value hook) { UnhookWindowsHookEx(hook); } };

using FileHandle = OwnedHandle<FileCloser>;
using SearchHandle = OwnedHandle<SearchCloser>;
using KernelHandle = OwnedHandle<KernelObjectCloser>;
using RegistryKey = OwnedHandle<RegistryKeyCloser>;
template <typename GdiType>
using GdiObject = OwnedHandle<GdiObjectCloser<GdiType>>;
using MemoryDc = OwnedHandle<MemoryDcCloser>;
using OwnedMenu = OwnedHandle<MenuCloser>;
using LoadedLibrary = OwnedHandle<LibraryCloser>;
using WindowsHook = OwnedHandle<HookCloser>;
