#include "base/win/message_handler.h"

#include <exception>
#include <new>

namespace lumetra::win {
namespace {

void defaultReporter(const char* what) {
    MessageBoxA(nullptr, what, "Lumetra Warning!", MB_OK | MB_ICONWARNING);
}

BoundaryReporter g_reporter = defaultReporter;
bool g_reporting = false;

// A report shows a box, which pumps messages; a second failure inside it is not reported again.
void report(const char* what) {
    if (g_reporting) return;
    g_reporting = true;
    g_reporter(what);
    g_reporting = false;
}

}  // namespace

void setBoundaryReporter(BoundaryReporter reporter) {
    g_reporter = reporter ? reporter : defaultReporter;
}

LRESULT CALLBACK windowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* handler = reinterpret_cast<WindowHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        handler = static_cast<WindowHandler*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handler));
    }
    if (!handler) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        LRESULT result = 0;
        try {
            result = handler->onMessage(window, message, wParam, lParam);
            handler->onDetached();
        } catch (...) {
        }
        return result;
    }
    try {
        return handler->onMessage(window, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        report("Not enough memory for this operation.");
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("Unexpected failure.");
    }
    // A creation that failed half-way must not leave a window behind.
    if (message == WM_NCCREATE) return FALSE;
    if (message == WM_CREATE) return -1;
    return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK dialogTrampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* handler = reinterpret_cast<DialogHandler*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        handler = reinterpret_cast<DialogHandler*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(handler));
    }
    if (!handler) return FALSE;
    if (message == WM_NCDESTROY) SetWindowLongPtrW(dialog, DWLP_USER, 0);
    try {
        return handler->onMessage(dialog, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        report("Not enough memory for this operation.");
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("Unexpected failure.");
    }
    return FALSE;
}

}  // namespace lumetra::win
