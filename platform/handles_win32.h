// Owners for the handles the shell makes: each frees its handle when it goes.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <memory>
#include <type_traits>

struct GdiObjectFree {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MenuFree {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct HandleClose {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};

using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectFree>;
using OwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectFree>;
// A menu no window owns (a menu bar set on a window goes with the window).
using OwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuFree>;
using OwnedEvent = std::unique_ptr<void, HandleClose>;
template <typename Interface>
using OwnedCom = std::unique_ptr<Interface, ComRelease>;

// COM on this thread for as long as it lives.
struct ComApartment {
    HRESULT started = CoInitialize(nullptr);
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(started)) CoUninitialize();
    }
};
