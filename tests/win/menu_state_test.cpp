// The menu's grayed and checked states as a function of the program state, and applied to the
// real menu resource.

#include "shell/win/menu_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "shell/win/ids.h"
#include "shell/win/unique_handle.h"

namespace lumetra::win {
namespace {

const MenuItemState& find(const std::vector<MenuItemState>& states, unsigned id) {
    auto it = std::find_if(states.begin(), states.end(),
                           [id](const MenuItemState& s) { return s.id == id; });
    if (it == states.end()) throw std::runtime_error("no rule for " + std::to_string(id));
    return *it;
}

bool grayed(const MenuStateInput& in, unsigned id) {
    return *find(computeMenuStates(in), id).grayed;
}
bool checked(const MenuStateInput& in, unsigned id) {
    return *find(computeMenuStates(in), id).checked;
}

TEST(MenuState, SoundCommandsNeedASoundOfElevenValues) {
    MenuStateInput in;
    in.soundLength = 0;
    EXPECT_TRUE(grayed(in, IDM_SAVE_SOUND_AS));
    EXPECT_TRUE(grayed(in, IDM_PLAY));
    in.soundLength = 10;
    EXPECT_TRUE(grayed(in, IDM_SAVE_SOUND_AS));
    in.soundLength = 11;
    EXPECT_FALSE(grayed(in, IDM_SAVE_SOUND_AS));
    EXPECT_FALSE(grayed(in, IDM_PLAY));
}

TEST(MenuState, SoundcardOptionsWaitForPlaybackAndTheSoundfile) {
    MenuStateInput in;
    EXPECT_FALSE(grayed(in, IDM_SOUNDCARD_OPTIONS));
    in.playbackActive = true;
    EXPECT_TRUE(grayed(in, IDM_SOUNDCARD_OPTIONS));
    in.playbackActive = false;
    in.soundfileOpen = true;
    EXPECT_TRUE(grayed(in, IDM_SOUNDCARD_OPTIONS));
}

TEST(MenuState, DocumentAndClipboardRules) {
    MenuStateInput in;
    EXPECT_TRUE(grayed(in, IDM_UNDO));
    EXPECT_TRUE(grayed(in, IDM_REFRESH_FROM_FILE));
    EXPECT_TRUE(grayed(in, IDM_PASTE));
    EXPECT_TRUE(grayed(in, IDM_PASTE_AS_OVERLAY));
    EXPECT_TRUE(grayed(in, IDM_PASTE_AS_FILTER));
    in.hasUndoImage = true;
    in.hasPath = true;
    in.clipboardHasDib = true;
    EXPECT_FALSE(grayed(in, IDM_UNDO));
    EXPECT_FALSE(grayed(in, IDM_REFRESH_FROM_FILE));
    EXPECT_FALSE(grayed(in, IDM_PASTE));
    EXPECT_FALSE(grayed(in, IDM_PASTE_AS_OVERLAY));
    EXPECT_FALSE(grayed(in, IDM_PASTE_AS_FILTER));
}

TEST(MenuState, OptionChecks) {
    MenuStateInput in;
    in.options = ShellOptions{};
    in.options.attachRenderInfo = 1;
    in.options.saveSoundEveryRender = 0;
    in.options.numberSoundfiles = 1;
    in.options.soundfileNamedAfterImage = 2;  // checked only for exactly 1
    EXPECT_TRUE(checked(in, IDM_ATTACH_RENDER_INFO));
    EXPECT_FALSE(checked(in, IDM_SAVE_SOUND_EVERY_RENDER));
    EXPECT_TRUE(checked(in, IDM_NUMBER_SOUNDFILES));
    EXPECT_FALSE(checked(in, IDM_SOUNDFILE_NAMED_AFTER_IMAGE));
    in.options.soundfileNamedAfterImage = 1;
    EXPECT_TRUE(checked(in, IDM_SOUNDFILE_NAMED_AFTER_IMAGE));
}

TEST(MenuState, ExactlyOneSelectionStyleIsChecked) {
    MenuStateInput in;
    for (auto [style, id] : {std::pair{SelectionStyle::OutlineOnly, IDM_SELECTION_OUTLINE},
                             std::pair{SelectionStyle::Brighten, IDM_SELECTION_BRIGHTEN},
                             std::pair{SelectionStyle::Inverted, IDM_SELECTION_INVERTED},
                             std::pair{SelectionStyle(3), IDM_SELECTION_OUTLINE}}) {
        in.options.selectionStyle = style;
        int count = 0;
        for (unsigned item :
             {IDM_SELECTION_OUTLINE, IDM_SELECTION_BRIGHTEN, IDM_SELECTION_INVERTED}) {
            if (checked(in, item)) {
                ++count;
                EXPECT_EQ(item, unsigned(id));
            }
        }
        EXPECT_EQ(count, 1);
    }
}

TEST(MenuState, WindowChecksFollowTheWindows) {
    MenuStateInput in;
    in.toolbarVisible = true;
    in.echordOpen = true;
    in.renderOptionsOpen = true;
    EXPECT_TRUE(checked(in, IDM_TOOLBAR));
    EXPECT_FALSE(checked(in, IDM_BRUSH_WINDOW));
    EXPECT_TRUE(checked(in, IDM_ECHORD_WINDOW));
    EXPECT_FALSE(checked(in, IDM_BROWSER_WINDOW));
    EXPECT_TRUE(checked(in, IDM_RENDER_OPTIONS_WINDOW));
}

TEST(MenuState, AppliedToTheMenuResource) {
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU)));
    ASSERT_TRUE(menu);
    MenuStateInput in;
    in.soundLength = 5;
    in.options.attachRenderInfo = 1;
    in.options.selectionStyle = SelectionStyle::Inverted;
    in.hasPath = true;
    applyMenuStates(menu.get(), computeMenuStates(in));
    EXPECT_TRUE(GetMenuState(menu.get(), IDM_SAVE_SOUND_AS, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu.get(), IDM_PLAY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu.get(), IDM_REFRESH_FROM_FILE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu.get(), IDM_ATTACH_RENDER_INFO, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu.get(), IDM_SELECTION_INVERTED, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu.get(), IDM_SELECTION_BRIGHTEN, MF_BYCOMMAND) & MF_CHECKED);

    // The next update undoes what no longer holds.
    in.soundLength = 500;
    in.options.selectionStyle = SelectionStyle::Brighten;
    applyMenuStates(menu.get(), computeMenuStates(in));
    EXPECT_FALSE(GetMenuState(menu.get(), IDM_SAVE_SOUND_AS, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu.get(), IDM_SELECTION_INVERTED, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu.get(), IDM_SELECTION_BRIGHTEN, MF_BYCOMMAND) & MF_CHECKED);

    // Items the menu does not hold (the Toolbar item after trimming) are skipped.
    DeleteMenu(menu.get(), IDM_TOOLBAR, MF_BYCOMMAND);
    applyMenuStates(menu.get(), computeMenuStates(in));
    EXPECT_EQ(GetMenuState(menu.get(), IDM_TOOLBAR, MF_BYCOMMAND), UINT(-1));
}

}  // namespace
}  // namespace lumetra::win
