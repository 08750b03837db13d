#pragma once
// One move-only owner for every kind of handle the program holds. The close function is a
// template argument, so a new kind of handle is one line: GDI objects, memory contexts, menus,
// kernel handles, global memory, registry keys, windows, image lists, COM interfaces, and the
// scoped states of a drawing context (a selected object, a raster mode, a window's context, a
// paint session) whose "handle" is a small record of what to give back. A handle is closed
// exactly once; copies are not possible.

#include <windows.h>

#include <commctrl.h>
#include <unknwn.h>

#include <type_traits>
#include <utility>

namespace lumetra::win {

// The "no handle" value of most handle types.
template <typename Handle>
constexpr Handle noHandle() noexcept {
    return Handle{};
}

// `Close(handle)` releases a handle; `Empty()` is the value that owns nothing.
template <typename Handle, auto Close, auto Empty = &noHandle<Handle>>
class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    const Handle& get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return !(handle_ == Empty()); }

    // Gives up ownership without closing.
    Handle release() noexcept { return std::exchange(handle_, Empty()); }

    void reset(Handle handle = Empty()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (!(old == Empty())) Close(old);
    }

    // For functions that return a handle through an out parameter; closes the current one first.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }
    void** putVoid() noexcept requires std::is_pointer_v<Handle> {
        return reinterpret_cast<void**>(put());
    }

    Handle operator->() const noexcept requires std::is_pointer_v<Handle> { return handle_; }

  private:
    Handle handle_ = Empty();
};

inline HANDLE invalidFileHandle() noexcept {
    return INVALID_HANDLE_VALUE;
}

template <typename Interface>
void releaseInterface(Interface* p) noexcept {
    p->Release();
}

// Keys the system predefines (HKEY_CURRENT_USER, ...) are never closed.
inline void closeKey(HKEY key) noexcept {
    if (reinterpret_cast<ULONG_PTR>(key) < reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) ||
        reinterpret_cast<ULONG_PTR>(key) >
            reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER_LOCAL_SETTINGS)) {
        RegCloseKey(key);
    }
}

using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject>;
using UniquePen = UniqueHandle<HPEN, &DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniqueRegion = UniqueHandle<HRGN, &DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, &DeleteDC>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueFile = UniqueHandle<HANDLE, &CloseHandle, &invalidFileHandle>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueFind = UniqueHandle<HANDLE, &FindClose, &invalidFileHandle>;
using UniqueGlobal = UniqueHandle<HGLOBAL, &GlobalFree>;
using UniqueKey = UniqueHandle<HKEY, &closeKey>;
using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueImageList = UniqueHandle<HIMAGELIST, &ImageList_Destroy>;
template <typename Interface>
using ComPtr = UniqueHandle<Interface*, &releaseInterface<Interface>>;

// ---- Scoped states of drawing contexts and memory -------------------------------------------

// A window's drawing context from GetDC (a null window: the screen's), released to the window
// it came from. Owns nothing when GetDC failed.
struct WindowDcHandle {
    HWND window = nullptr;
    HDC dc = nullptr;
    operator HDC() const noexcept { return dc; }
    friend bool operator==(const WindowDcHandle& a, const WindowDcHandle& b) noexcept {
        return a.dc == b.dc;
    }
};
inline void releaseWindowDc(WindowDcHandle h) noexcept {
    ReleaseDC(h.window, h.dc);
}
using UniqueWindowDc = UniqueHandle<WindowDcHandle, &releaseWindowDc>;
inline UniqueWindowDc windowDc(HWND window) noexcept {
    return UniqueWindowDc(WindowDcHandle{window, GetDC(window)});
}

// BeginPaint / EndPaint for one paint message.
struct PaintSession {
    HWND window = nullptr;
    PAINTSTRUCT paint{};
    operator HDC() const noexcept { return paint.hdc; }
    friend bool operator==(const PaintSession& a, const PaintSession& b) noexcept {
        return a.window == b.window;
    }
};
inline void endPaint(PaintSession session) noexcept {
    EndPaint(session.window, &session.paint);
}
using UniquePaint = UniqueHandle<PaintSession, &endPaint>;
inline UniquePaint beginPaint(HWND window) noexcept {
    PaintSession session{window, {}};
    BeginPaint(window, &session.paint);
    return UniquePaint(session);
}

// A GDI object selected into a context for one scope; the previous one goes back. Owns nothing
// when the selection failed.
struct SelectedObject {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    friend bool operator==(const SelectedObject& a, const SelectedObject& b) noexcept {
        return a.previous == b.previous;
    }
};
inline void putBackObject(SelectedObject s) noexcept {
    SelectObject(s.dc, s.previous);
}
using UniqueSelection = UniqueHandle<SelectedObject, &putBackObject>;
inline UniqueSelection selectObject(HDC dc, HGDIOBJ object) noexcept {
    HGDIOBJ previous = object ? SelectObject(dc, object) : nullptr;
    if (previous == HGDI_ERROR) previous = nullptr;
    return UniqueSelection(SelectedObject{dc, previous});
}

// The raster mode of a context for one scope.
struct RasterMode {
    HDC dc = nullptr;
    int previous = 0;
    friend bool operator==(const RasterMode& a, const RasterMode& b) noexcept {
        return a.previous == b.previous;
    }
};
inline void putBackRasterMode(RasterMode m) noexcept {
    SetROP2(m.dc, m.previous);
}
using UniqueRasterMode = UniqueHandle<RasterMode, &putBackRasterMode>;
inline UniqueRasterMode setRasterMode(HDC dc, int mode) noexcept {
    return UniqueRasterMode(RasterMode{dc, SetROP2(dc, mode)});
}

// The memory of a global block, locked for one scope.
struct LockedGlobal {
    HGLOBAL memory = nullptr;
    void* data = nullptr;
    friend bool operator==(const LockedGlobal& a, const LockedGlobal& b) noexcept {
        return a.data == b.data;
    }
};
inline void unlockGlobal(LockedGlobal l) noexcept {
    GlobalUnlock(l.memory);
}
using UniqueGlobalLock = UniqueHandle<LockedGlobal, &unlockGlobal>;
inline UniqueGlobalLock lockGlobal(HGLOBAL memory) noexcept {
    return UniqueGlobalLock(LockedGlobal{memory, memory ? GlobalLock(memory) : nullptr});
}

// The clipboard, open on behalf of a window for one scope. Owns nothing when another window
// holds it and it could not be opened.
struct OpenedClipboard {
    bool open = false;
    friend bool operator==(const OpenedClipboard& a, const OpenedClipboard& b) noexcept {
        return a.open == b.open;
    }
};
inline void closeClipboard(OpenedClipboard) noexcept {
    CloseClipboard();
}
using UniqueClipboard = UniqueHandle<OpenedClipboard, &closeClipboard>;
inline UniqueClipboard openClipboard(HWND owner) noexcept {
    return UniqueClipboard(OpenedClipboard{OpenClipboard(owner) != FALSE});
}

}  // namespace lumetra::win
