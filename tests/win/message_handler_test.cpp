// The window-procedure trampolines route every message to the handler given at creation and
// never let an exception out of a window procedure: the handler reports it (once, even when the
// report itself runs into another) and the message gets its default answer.

#include "base/win/message_handler.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

constexpr UINT kThrow = WM_USER + 1;
constexpr UINT kEcho = WM_USER + 2;
constexpr UINT kNoMemory = WM_USER + 3;

class Recorder : public WindowHandler {
  public:
    bool failCreate = false;
    bool detached = false;
    HWND seen = nullptr;
    std::vector<std::string> reports;

    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen = window;
        if (message == WM_CREATE && failCreate) throw std::runtime_error("creation failed");
        if (message == kThrow) throw std::runtime_error("boom");
        if (message == kNoMemory) throw std::bad_alloc();
        if (message == kEcho) return LRESULT(wParam * 2);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    void onDetached() override { detached = true; }

  protected:
    // A report that runs into a second failure, as a box pumping messages can.
    void showFailure(const char* what) override {
        reports.push_back(what);
        if (seen) SendMessageW(seen, kThrow, 0, 0);
    }
};

class Trampoline : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowTrampoline;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumetraTrampolineTest";
        RegisterClassW(&wc);
    }
    static HWND make(Recorder& r) {
        return CreateWindowExW(0, L"LumetraTrampolineTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleW(nullptr), static_cast<WindowHandler*>(&r));
    }
};

TEST_F(Trampoline, RoutesMessagesAndReportsAnExceptionOnceWithTheDefaultAnswer) {
    Recorder r;
    HWND w = make(r);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(r.seen, w);
    EXPECT_EQ(SendMessageW(w, kEcho, 21, 0), 42);
    EXPECT_EQ(SendMessageW(w, kThrow, 0, 0), 0);
    EXPECT_EQ(r.reports, std::vector<std::string>{"boom"});
    SendMessageW(w, kNoMemory, 0, 0);
    EXPECT_EQ(r.reports.back(), "Not enough memory for this operation.");
    EXPECT_EQ(r.reports.size(), 2u);
    EXPECT_EQ(SendMessageW(w, kEcho, 4, 0), 8);  // the window still works
    DestroyWindow(w);
    EXPECT_TRUE(r.detached);
}

TEST_F(Trampoline, AFailingCreationLeavesNoWindow) {
    Recorder r;
    r.failCreate = true;
    HWND w = make(r);
    EXPECT_EQ(w, nullptr);
    EXPECT_TRUE(r.detached);
    EXPECT_EQ(r.reports, std::vector<std::string>{"creation failed"});
}

class DialogRecorder : public DialogHandler {
  public:
    bool initialised = false;
    std::vector<std::string> reports;
    INT_PTR onMessage(HWND, UINT message, WPARAM, LPARAM) override {
        if (message == WM_INITDIALOG) initialised = true;
        if (message == kThrow) throw std::runtime_error("dialog boom");
        return FALSE;
    }

  protected:
    void showFailure(const char* what) override { reports.push_back(what); }
};

TEST_F(Trampoline, DialogsGetTheirHandlerAtInitAndAreGuardedToo) {
    DialogRecorder r;
    HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), nullptr,
                                dialogTrampoline,
                                reinterpret_cast<LPARAM>(static_cast<DialogHandler*>(&r)));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(r.initialised);
    SendMessageW(d, kThrow, 0, 0);
    EXPECT_EQ(r.reports, std::vector<std::string>{"dialog boom"});
    DestroyWindow(d);
}

}  // namespace
}  // namespace lumetra::win
