// The menu's grayed and checked states as a function of the program state, and applied to the
// real menu resource.

#include "shell/win/menu_state.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "base/win/unique_handle.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

using Ids = std::set<unsigned>;

// The items the rules gray, and those they check.
Ids marked(const MenuStateInput& in, std::optional<bool> MenuItemState::*mark) {
    Ids ids;
    for (const MenuItemState& s : computeMenuStates(in))
        if ((s.*mark).value_or(false)) ids.insert(s.id);
    return ids;
}
Ids grayed(const MenuStateInput& in) {
    return marked(in, &MenuItemState::grayed);
}
Ids checked(const MenuStateInput& in) {
    return marked(in, &MenuItemState::checked);
}

// Each step grays exactly the items its rule names.
TEST(MenuState, GrayedItems) {
    MenuStateInput in;
    const Ids nothingYet = {IDM_SAVE_SOUND_AS,     IDM_PLAY,  IDM_UNDO,
                            IDM_REFRESH_FROM_FILE, IDM_PASTE, IDM_PASTE_AS_OVERLAY,
                            IDM_PASTE_AS_FILTER};
    EXPECT_EQ(grayed(in), nothingYet);
    in.soundLength = 10;  // a sound needs eleven values
    EXPECT_EQ(grayed(in), nothingYet);
    in.soundLength = 11;
    EXPECT_EQ(grayed(in), (Ids{IDM_UNDO, IDM_REFRESH_FROM_FILE, IDM_PASTE, IDM_PASTE_AS_OVERLAY,
                               IDM_PASTE_AS_FILTER}));
    in.hasUndoImage = true;
    EXPECT_EQ(grayed(in),
              (Ids{IDM_REFRESH_FROM_FILE, IDM_PASTE, IDM_PASTE_AS_OVERLAY, IDM_PASTE_AS_FILTER}));
    in.hasPath = true;
    EXPECT_EQ(grayed(in), (Ids{IDM_PASTE, IDM_PASTE_AS_OVERLAY, IDM_PASTE_AS_FILTER}));
    in.clipboardHasDib = true;
    EXPECT_EQ(grayed(in), Ids{});
    // The sound card options wait for playback and for the sound file of a render.
    in.playbackActive = true;
    EXPECT_EQ(grayed(in), Ids{IDM_SOUNDCARD_OPTIONS});
    in.playbackActive = false;
    in.soundfileOpen = true;
    EXPECT_EQ(grayed(in), Ids{IDM_SOUNDCARD_OPTIONS});
}

TEST(MenuState, CheckedItems) {
    MenuStateInput in;
    EXPECT_EQ(checked(in), (Ids{IDM_SAVE_SOUND_EVERY_RENDER, IDM_SELECTION_BRIGHTEN}));
    in.options.attachRenderInfo = 1;
    in.options.soundfile.saveSoundEveryRender = 0;
    in.options.soundfile.numberSoundfiles = 1;
    in.options.soundfile.soundfileNamedAfterImage = 2;  // checked only for exactly 1
    EXPECT_EQ(checked(in),
              (Ids{IDM_ATTACH_RENDER_INFO, IDM_NUMBER_SOUNDFILES, IDM_SELECTION_BRIGHTEN}));
    in.options.soundfile.soundfileNamedAfterImage = 1;
    EXPECT_EQ(checked(in), (Ids{IDM_ATTACH_RENDER_INFO, IDM_NUMBER_SOUNDFILES,
                                IDM_SOUNDFILE_NAMED_AFTER_IMAGE, IDM_SELECTION_BRIGHTEN}));

    // The window items follow the windows.
    const auto plain = [] {  // only the selection style checked
        MenuStateInput input;
        input.options.soundfile.saveSoundEveryRender = 0;
        return input;
    };
    in = plain();
    in.toolbarVisible = true;
    in.echordOpen = true;
    in.renderOptionsOpen = true;
    EXPECT_EQ(checked(in), (Ids{IDM_TOOLBAR, IDM_ECHORD_WINDOW, IDM_RENDER_OPTIONS_WINDOW,
                                IDM_SELECTION_BRIGHTEN}));
    in = plain();
    in.brushOpen = true;
    in.browserOpen = true;
    EXPECT_EQ(checked(in), (Ids{IDM_BRUSH_WINDOW, IDM_BROWSER_WINDOW, IDM_SELECTION_BRIGHTEN}));

    // Exactly one selection style; an unknown one counts as the outline.
    for (auto [style, id] : {std::pair{SelectionStyle::OutlineOnly, IDM_SELECTION_OUTLINE},
                             std::pair{SelectionStyle::Brighten, IDM_SELECTION_BRIGHTEN},
                             std::pair{SelectionStyle::Inverted, IDM_SELECTION_INVERTED},
                             std::pair{SelectionStyle(3), IDM_SELECTION_OUTLINE}}) {
        in = plain();
        in.options.selectionStyle = style;
        EXPECT_EQ(checked(in), Ids{unsigned(id)}) << int(style);
    }
}

TEST(MenuState, AppliedToTheMenuResource) {
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU)));
    ASSERT_TRUE(menu);
    auto isGrayed = [&](unsigned id) {
        return (GetMenuState(menu.get(), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    auto isChecked = [&](unsigned id) {
        return (GetMenuState(menu.get(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    MenuStateInput in;
    in.soundLength = 5;
    in.options.attachRenderInfo = 1;
    in.options.selectionStyle = SelectionStyle::Inverted;
    in.hasPath = true;
    applyMenuStates(menu.get(), computeMenuStates(in));
    EXPECT_TRUE(isGrayed(IDM_SAVE_SOUND_AS));
    EXPECT_TRUE(isGrayed(IDM_PLAY));
    EXPECT_FALSE(isGrayed(IDM_REFRESH_FROM_FILE));
    EXPECT_TRUE(isChecked(IDM_ATTACH_RENDER_INFO));
    EXPECT_TRUE(isChecked(IDM_SELECTION_INVERTED));
    EXPECT_FALSE(isChecked(IDM_SELECTION_BRIGHTEN));

    // The next update undoes what no longer holds.
    in.soundLength = 500;
    in.options.selectionStyle = SelectionStyle::Brighten;
    applyMenuStates(menu.get(), computeMenuStates(in));
    EXPECT_FALSE(isGrayed(IDM_SAVE_SOUND_AS));
    EXPECT_FALSE(isChecked(IDM_SELECTION_INVERTED));
    EXPECT_TRUE(isChecked(IDM_SELECTION_BRIGHTEN));

    // Items the menu does not hold (the Toolbar item after trimming) are skipped.
    DeleteMenu(menu.get(), IDM_TOOLBAR, MF_BYCOMMAND);
    applyMenuStates(menu.get(), computeMenuStates(in));
    EXPECT_EQ(GetMenuState(menu.get(), IDM_TOOLBAR, MF_BYCOMMAND), UINT(-1));
}

}  // namespace
}  // namespace lumetra::win
