// Where the windows stand as the settings record them: a tool window's place and show state (as the
// program left it, whatever the platform did meanwhile), its roll-up, and the main window's
// placement as the platform reports it.

#include "base/win/tool_window.h"

#include <utility>

#include "shell/win/settings_pass.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

// A tool window (recording its width and bottom edge too, as the image browser does).
class ToolWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        initCommonControls();
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, module(), nullptr);
        ASSERT_NE(tool_.create(module(), owner_, IDD_ECHORD), nullptr);
        ASSERT_GE(tool_.fullHeight(), 100);
    }
    void TearDown() override {
        if (owner_) DestroyWindow(owner_);
    }
    int height() { return windowSize(tool_.window()).cy; }

    int x_ = -1, y_ = -1, show_ = -1, width_ = -1, bottom_ = -1;
    HWND active_ = nullptr;
    PlainToolWindow tool_{ToolPlacement{&x_, &y_, &show_, &width_, &bottom_}, active_};
    HWND owner_ = nullptr;
};

TEST_F(ToolWindowTest, RecordsHowTheProgramLeftItUpToItsEnd) {
    tool_.moveTo(210, 160);
    tool_.applyShowState(6);
    tool_.recordPlacement();
    EXPECT_EQ(show_, 6);
    EXPECT_EQ(bottom_, 160 + tool_.fullHeight()) << "a rolled-up window keeps its full height";
    // Minimizing the owner hides the tool window for a while; that is not the user's choice.
    ShowWindow(owner_, SW_MINIMIZE);
    tool_.recordPlacement();
    EXPECT_EQ(show_, 6);
    ShowWindow(owner_, SW_RESTORE);
    // The owner takes its owned windows down first, hiding them on the way: the state the window
    // was left in is recorded.
    tool_.moveTo(222, 111);
    tool_.show();
    SendMessageW(tool_.window(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(active_, tool_.window());
    DestroyWindow(std::exchange(owner_, nullptr));
    EXPECT_EQ(std::tuple(x_, y_, show_), std::tuple(222, 111, 5));
    EXPECT_EQ(active_, nullptr) << "a destroyed window is no longer the active one";
    tool_.recordPlacement();  // the window has gone: nothing changes
    EXPECT_EQ(show_, 5);
}

TEST_F(ToolWindowTest, RollsUpToItsCaptionAndComesBackWhole) {
    HWND w = tool_.window();
    tool_.applyShowState(6);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(height(), rolledUpHeight());
    EXPECT_FALSE(tool_.isOpen()) << "rolled up counts as closed";
    SendMessageW(w, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_EQ(height(), tool_.fullHeight());
    EXPECT_TRUE(tool_.isOpen());
    // Close and Esc only hide it.
    for (auto [message, wParam] : {std::pair{UINT(WM_CLOSE), WPARAM(0)}, {WM_COMMAND, IDCANCEL}}) {
        tool_.show();
        SendMessageW(w, message, wParam, 0);
        EXPECT_TRUE(IsWindow(w) && !IsWindowVisible(w)) << message;
    }
}

TEST(MainWindowPlacement, ComesFromThePlatform) {
    WindowLayout layout{77, 66, 333, 222, SW_SHOWMAXIMIZED};
    const auto placement = [&](HWND window) {
        const MainWindowPlacement p = mainWindowPlacement(window, layout);
        return std::to_string(p.left) + "," + std::to_string(p.top) + " to " +
               std::to_string(p.right) + "," + std::to_string(p.bottom) + " show " +
               std::to_string(p.showCommand) + (p.minimized ? " minimized" : "");
    };
    HWND window = CreateWindowExW(0, L"STATIC", L"placement", WS_OVERLAPPEDWINDOW, 123, 45, 400,
                                  300, nullptr, nullptr, module(), nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    EXPECT_EQ(placement(window), "123,45 to 523,345 show 1");
    ShowWindow(window, SW_MINIMIZE);  // keeps its normal rectangle
    EXPECT_EQ(placement(window), "123,45 to 523,345 show 2 minimized");
    DestroyWindow(window);
    // Without a window the layout's own rectangle stands in.
    EXPECT_EQ(placement(window), "77,66 to 410,288 show 3");
}

}  // namespace
}  // namespace lumetra::win
