#include "base/win/message_handler.h"

#include <exception>
#include <new>

namespace lumetra::win {
namespace {

template <typename Handler>
bool reportCurrentException(Handler& handler) {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        handler.reportFailure("Not enough memory for this operation.");
    } catch (const std::exception& e) {
        handler.reportFailure(e.what());
    } catch (...) {
        handler.reportFailure("Unexpected failure.");
    }
    return true;
}

}  // namespace

void BoundaryHandler::reportFailure(const char* what) {
    if (reporting_) return;
    reporting_ = true;
    showFailure(what);
    reporting_ = false;
}

void BoundaryHandler::showFailure(const char* what) {
    MessageBoxA(nullptr, what, "Lumetra Warning!", MB_OK | MB_ICONWARNING);
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
    } catch (...) {
        reportCurrentException(*handler);
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
    } catch (...) {
        reportCurrentException(*handler);
    }
    return FALSE;
}

INT_PTR runModalDialog(HINSTANCE instance, int dialogId, HWND owner, DialogHandler& handler) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(dialogId), owner, dialogTrampoline,
                           reinterpret_cast<LPARAM>(&handler));
}

}  // namespace lumetra::win
