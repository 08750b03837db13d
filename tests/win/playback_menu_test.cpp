// The Play item of the main menu and the toolbar's Play button while a sound plays and after:
// the menu item turns into "Stop sound playback" (322) and back into 320, never both, never twice.

#include "render/win/play_state_display.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

class PlayStateDisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU));
        ASSERT_NE(menu_, nullptr);
        frame_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | TBSTYLE_FLAT, 0, 0, 0, 0,
                                   frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(toolbar_, nullptr);
        SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON buttons[2] = {};
        for (TBBUTTON& button : buttons) {
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons[0].idCommand = IDM_PLAY;
        buttons[1].idCommand = IDM_STOP_PLAYBACK;
        SendMessageW(toolbar_, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    }
    void TearDown() override {
        if (menu_) DestroyMenu(menu_);
        if (frame_) DestroyWindow(frame_);
    }

    std::wstring itemText(UINT id) {
        wchar_t text[128] = {};
        GetMenuStringW(menu_, id, text, 128, MF_BYCOMMAND);
        return text;
    }
    int itemCount(UINT id) {
        // Counts the items with this command over the whole menu tree.
        int count = 0;
        countIn(menu_, id, count);
        return count;
    }
    static void countIn(HMENU menu, UINT id, int& count) {
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
            if (HMENU sub = GetSubMenu(menu, i)) {
                countIn(sub, id, count);
            } else if (GetMenuItemID(menu, i) == id) {
                ++count;
            }
        }
    }
    bool playPressed() { return SendMessageW(toolbar_, TB_ISBUTTONCHECKED, IDM_PLAY, 0) != 0; }

    HMENU menu_ = nullptr;
    HWND frame_ = nullptr;
    HWND toolbar_ = nullptr;
};

TEST_F(PlayStateDisplayTest, EachStateShowsItsOneItemAndPressesTheButtonWhilePlaying) {
    ASSERT_EQ(itemText(IDM_PLAY), L"&Play Latest Sound\t   Space");
    // A repeated report (a stop after a failed start) changes nothing.
    for (bool playing : {true, true, false, false}) {
        SCOPED_TRACE(playing ? "playing" : "stopped");
        showPlayState(menu_, toolbar_, playing);
        const UINT shown = playing ? IDM_STOP_PLAYBACK : IDM_PLAY;
        EXPECT_EQ(itemCount(shown), 1);
        EXPECT_EQ(itemCount(playing ? IDM_PLAY : IDM_STOP_PLAYBACK), 0);
        EXPECT_EQ(itemText(shown), playing ? L"Stop sound playback" : L"Play last generated sound");
        EXPECT_EQ(playPressed(), playing);
    }
}

TEST_F(PlayStateDisplayTest, WorksWithoutMenuOrToolbar) {
    showPlayState(nullptr, toolbar_, true);
    EXPECT_TRUE(playPressed());
    showPlayState(menu_, nullptr, true);
    EXPECT_EQ(itemCount(IDM_STOP_PLAYBACK), 1);
    showPlayState(nullptr, nullptr, false);
    EXPECT_EQ(itemCount(IDM_STOP_PLAYBACK), 1);
}

}  // namespace
}  // namespace lumetra::win
