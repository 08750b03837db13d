// The window-procedure trampolines route every message to the handler given at creation and
// never let an exception out of a window procedure.

#include "base/win/message_handler.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

constexpr UINT kThrow = WM_USER + 1;
constexpr UINT kEcho = WM_USER + 2;

std::vector<std::string>& reports() {
    static std::vector<std::string> list;
    return list;
}
void recordReport(const char* what) {
    reports().push_back(what);
}

class Recorder : public WindowHandler {
  public:
    bool failCreate = false;
    bool detached = false;
    HWND seen = nullptr;
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen = window;
        if (message == WM_CREATE && failCreate) throw std::runtime_error("creation failed");
        if (message == kThrow) throw std::runtime_error("boom");
        if (message == kEcho) return LRESULT(wParam * 2);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    void onDetached() override { detached = true; }
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
    void SetUp() override {
        reports().clear();
        setBoundaryReporter(recordReport);
    }
    void TearDown() override { setBoundaryReporter(nullptr); }
    static HWND make(Recorder& r) {
        return CreateWindowExW(0, L"LumetraTrampolineTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleW(nullptr), static_cast<WindowHandler*>(&r));
    }
};

TEST_F(Trampoline, RoutesMessagesToTheHandlerAndDetachesOnDestroy) {
    Recorder r;
    HWND w = make(r);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(r.seen, w);
    EXPECT_EQ(SendMessageW(w, kEcho, 21, 0), 42);
    DestroyWindow(w);
    EXPECT_TRUE(r.detached);
}

TEST_F(Trampoline, AnExceptionIsReportedAndTheMessageGetsItsDefault) {
    Recorder r;
    HWND w = make(r);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(SendMessageW(w, kThrow, 0, 0), 0);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0], "boom");
    EXPECT_EQ(SendMessageW(w, kEcho, 4, 0), 8);  // the window still works
    DestroyWindow(w);
}

TEST_F(Trampoline, AFailingCreationLeavesNoWindow) {
    Recorder r;
    r.failCreate = true;
    HWND w = make(r);
    EXPECT_EQ(w, nullptr);
    EXPECT_TRUE(r.detached);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0], "creation failed");
}

class DialogRecorder : public DialogHandler {
  public:
    bool initialised = false;
    INT_PTR onMessage(HWND, UINT message, WPARAM, LPARAM) override {
        if (message == WM_INITDIALOG) initialised = true;
        if (message == kThrow) throw std::runtime_error("dialog boom");
        return FALSE;
    }
};

TEST_F(Trampoline, DialogsGetTheirHandlerAtInitAndAreGuardedToo) {
    DialogRecorder r;
    HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), nullptr,
                                dialogTrampoline,
                                reinterpret_cast<LPARAM>(static_cast<DialogHandler*>(&r)));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(r.initialised);
    SendMessageW(d, kThrow, 0, 0);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0], "dialog boom");
    DestroyWindow(d);
}

}  // namespace
}  // namespace lumetra::win
