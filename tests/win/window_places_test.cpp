// Where the windows stand as the settings record them: a tool window's place and show state as the
// program left it, whatever the platform did meanwhile, and the main window's placement as the
// platform reports it. (Places, show states and roll-ups across a restart: end to end.)

#include "base/win/tool_window.h"

#include "shell/win/settings_pass.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

TEST(ToolWindow, RecordsHowTheProgramLeftItUpToItsEndAndCloseOnlyHidesIt) {
    initCommonControls();
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, module(), nullptr);
    // Recording its width and bottom edge too, as the image browser does.
    int x = -1, y = -1, show = -1, width = -1, bottom = -1;
    HWND active = nullptr;
    PlainToolWindow tool{ToolPlacement{&x, &y, &show, &width, &bottom}, active};
    const HWND w = tool.create(module(), owner, IDD_ECHORD);
    ASSERT_TRUE(w && tool.fullHeight() >= 100);
    tool.moveTo(210, 160);
    tool.applyShowState(6);
    EXPECT_FALSE(tool.isOpen()) << "rolled up counts as closed";
    tool.recordPlacement();
    EXPECT_EQ(show, 6);
    EXPECT_EQ(bottom, 160 + tool.fullHeight()) << "a rolled-up window keeps its full height";
    // Minimizing the owner hides the tool window for a while; that is not the user's choice.
    ShowWindow(owner, SW_MINIMIZE);
    tool.recordPlacement();
    EXPECT_EQ(show, 6);
    ShowWindow(owner, SW_RESTORE);
    // Close and Esc only hide it.
    for (auto [message, wParam] : {std::pair{UINT(WM_CLOSE), WPARAM(0)}, {WM_COMMAND, IDCANCEL}}) {
        tool.show();
        SendMessageW(w, message, wParam, 0);
        EXPECT_TRUE(IsWindow(w) && !IsWindowVisible(w)) << message;
    }
    // The owner takes its owned windows down first, hiding them on the way: the state the window
    // was left in is recorded.
    tool.moveTo(222, 111);
    tool.show();
    SendMessageW(w, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(active, w);
    DestroyWindow(owner);
    EXPECT_EQ(std::tuple(x, y, show), std::tuple(222, 111, 5));
    EXPECT_EQ(active, nullptr) << "a destroyed window is no longer the active one";
    tool.recordPlacement();  // the window has gone: nothing changes
    EXPECT_EQ(show, 5);
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
