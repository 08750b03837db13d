// The program's commands and its main menu: which items the command table's rules gray and
// check for given facts (the main window applies them: program_test); that every command has a menu
// item, key or button and each of those a command; what a command does while a render runs; how
// items leave the menu; the "Recent &Files" submenu found by its placeholder's id and filled newest
// first; and the Play item that turns into Stop while a sound plays.

#include "shell/win/command_table.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/win_file_system.h"
#include "document/win/canvas_window.h"
#include "ports_scratch.h"
#include "render/win/play_state_display.h"
#include "resources/resource_ids.h"
#include "shell/win/menus.h"
#include "shell/win/program.h"
#include "shell/win/recent_files.h"
#include "shell/win/toolbar.h"

namespace lumetra::win {
namespace {

// The menu resource, loaded from the test executable's resources.
UniqueMenu loadMainMenu() {
    return UniqueMenu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU)));
}

bool isSeparator(HMENU menu, int position) {
    return GetMenuState(menu, UINT(position), MF_BYPOSITION) & MF_SEPARATOR;
}

// The command ids of every item of the menu tree, in menu order.
std::vector<UINT> commandIds(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            const auto inner = commandIds(sub);
            ids.insert(ids.end(), inner.begin(), inner.end());
        } else if (!isSeparator(menu, i)) {
            ids.push_back(GetMenuItemID(menu, i));
        }
    }
    return ids;
}

// One submenu's items: command ids, "|" for a separator, ">" for a submenu.
std::string itemsText(HMENU menu) {
    std::string text;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        text += i ? " " : "";
        text += GetSubMenu(menu, i)    ? ">"
                : isSeparator(menu, i) ? "|"
                                       : std::to_string(GetMenuItemID(menu, i));
    }
    return text;
}

using Ids = std::set<unsigned>;

Ids grayed(const MenuFacts& facts) {
    Ids ids;
    for (const MenuItemState& s : menuStates(facts))
        if (s.grayed) ids.insert(s.id);
    return ids;
}
Ids checked(const MenuFacts& facts) {
    Ids ids;
    for (const MenuItemState& s : menuStates(facts))
        if (s.checked.value_or(false)) ids.insert(s.id);
    return ids;
}
Ids joined(Ids a, const Ids& b) {
    a.insert(b.begin(), b.end());
    return a;
}

// The features that come later, grayed whatever the facts: Analyze Soundfile and the
// clipboard's commands.
Ids later() {
    return Ids{IDM_ANALYZE_SOUNDFILE, IDM_CUT, IDM_COPY, IDM_PASTE, IDM_PASTE_AS_OVERLAY,
               IDM_PASTE_AS_FILTER};
}

// Everything there to work on: a sound, an undo picture, a path, a picture on the clipboard.
MenuFacts ready() {
    MenuFacts f;
    f.soundLength = 11;  // a sound needs eleven values
    f.hasUndoImage = true;
    f.hasPath = true;
    f.clipboardHasDib = true;
    return f;
}

TEST(CommandTable, GrayedItemsAreTheLaterFeaturesAndWhatTheFactsForbid) {
    struct Case {
        const char* name;
        MenuFacts facts;
        Ids grayedBesidesLater;
    };
    const auto with = [](auto change) {
        MenuFacts f = ready();
        change(f);
        return f;
    };
    const Case cases[] = {
        {"nothing yet",
         MenuFacts{},
         {IDM_SAVE_SOUND_AS, IDM_PLAY, IDM_UNDO, IDM_REFRESH_FROM_FILE}},
        {"everything there", ready(), {}},
        {"ten values are no sound",
         with([](MenuFacts& f) { f.soundLength = 10; }),
         {IDM_SAVE_SOUND_AS, IDM_PLAY}},
        {"no undo picture", with([](MenuFacts& f) { f.hasUndoImage = false; }), {IDM_UNDO}},
        {"no path", with([](MenuFacts& f) { f.hasPath = false; }), {IDM_REFRESH_FROM_FILE}},
        {"no clipboard picture", with([](MenuFacts& f) { f.clipboardHasDib = false; }), {}},
        // The sound card options wait for playback and for the sound file of a render.
        {"playing", with([](MenuFacts& f) { f.playbackActive = true; }), {IDM_SOUNDCARD_OPTIONS}},
        {"writing a sound file",
         with([](MenuFacts& f) { f.soundfileOpen = true; }),
         {IDM_SOUNDCARD_OPTIONS}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grayed(c.facts), joined(later(), c.grayedBesidesLater)) << c.name;
}

// The switches and the selection styles as the main window's menu shows them after their
// commands: program_test. Here the rules it does not reach.
TEST(CommandTable, CheckedItems) {
    const auto plain = [](auto change) {
        MenuFacts f;
        f.options.soundfile.saveSoundEveryRender = 0;
        change(f);
        return checked(f);
    };
    // Named After Image is checked for exactly 1; an unknown selection style counts as the outline.
    EXPECT_EQ(plain([](MenuFacts& f) {
                  f.options.soundfile.soundfileNamedAfterImage = 2;
                  f.options.selectionStyle = SelectionStyle(3);
              }),
              Ids{IDM_SELECTION_OUTLINE});
    // The window items follow the windows.
    EXPECT_EQ(
        plain([](MenuFacts& f) { f.toolbarVisible = f.echordOpen = f.renderOptionsOpen = true; }),
        (Ids{IDM_TOOLBAR, IDM_ECHORD_WINDOW, IDM_RENDER_OPTIONS_WINDOW, IDM_SELECTION_BRIGHTEN}));
    EXPECT_EQ(plain([](MenuFacts& f) { f.brushOpen = f.browserOpen = true; }),
              (Ids{IDM_BRUSH_WINDOW, IDM_BROWSER_WINDOW, IDM_SELECTION_BRIGHTEN}));
}

TEST(CommandTable, EveryCommandHasAnItemKeyOrButtonAndEachOfThoseACommand) {
    UniqueMenu menu = loadMainMenu();
    ASSERT_TRUE(menu);
    std::set<UINT> places;
    for (UINT id : commandIds(menu.get())) {
        places.insert(id);
        EXPECT_NE(findCommand(int(id)), nullptr) << "menu item " << id;
    }
    HACCEL accelerators =
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    std::vector<ACCEL> keys(std::size_t(CopyAcceleratorTableW(accelerators, nullptr, 0)));
    CopyAcceleratorTableW(accelerators, keys.data(), int(keys.size()));
    DestroyAcceleratorTable(accelerators);
    ASSERT_FALSE(keys.empty());
    for (const ACCEL& key : keys) {
        places.insert(key.cmd);
        EXPECT_NE(findCommand(key.cmd), nullptr) << "key of " << key.cmd;
    }
    for (const ToolbarEntry& button : toolbarEntries()) {
        if (button.command == 0) continue;
        places.insert(UINT(button.command));
        EXPECT_NE(findCommand(button.command), nullptr) << "button " << button.command;
    }
    // A range is placed by its first id (the recent files' placeholder).
    for (const Command& c : commandTable())
        EXPECT_TRUE(places.count(UINT(c.first))) << "command " << c.first << " has no place";
    EXPECT_EQ(findCommand(IDM_RECENT_LAST), findCommand(IDM_RECENT_FIRST));
    EXPECT_EQ(findCommand(IDM_RECENT_LAST + 1), nullptr);
}

// What the commands below changed in a program that starts with the outline style: the option
// switch, the brighter display, the style, the tool, the close after the render.
std::string changesOf(const Program& p) {
    const ShellOptions& o = p.settings.shell;
    std::string changes;
    if (o.attachRenderInfo) changes += "attach ";
    if (o.showBrighter) changes += "brighter ";
    if (o.selectionStyle != SelectionStyle::OutlineOnly) changes += "style ";
    if (p.currentTool != IDM_TOOL_BRUSH) changes += "tool ";
    if (p.closeAfterRender) changes += "close ";
    return changes;
}

TEST(CommandTable, DuringARenderOnlyDisplayCommandsRunAndExitWaits) {
    Program program(GetModuleHandleW(nullptr));
    program.settings.shell.selectionStyle = SelectionStyle::OutlineOnly;
    // Before the start-up has made the canvas, nothing runs.
    executeCommand(program, IDM_ATTACH_RENDER_INFO);
    EXPECT_EQ(changesOf(program), "");
    program.canvas = std::make_unique<CanvasWindow>(program.document, program.viewHost);
    struct Case {
        int id;
        const char* whileRendering;
        const char* otherwise;  // null: not run (Exit would close for real)
    };
    const Case cases[] = {
        {IDM_SHOW_BRIGHTER, "brighter ", "brighter "},
        {IDM_SELECTION_INVERTED, "style ", "style "},
        {IDM_ATTACH_RENDER_INFO, "", "attach "},
        {IDM_TOOL_MOVE, "", "tool "},
        {IDM_EXIT, "close ", nullptr},
        {IDM_RECENT_FIRST + 2, "", ""},  // no such entry
        {7, "", ""},                     // no such command
    };
    for (const Case& c : cases) {
        for (bool rendering : {true, false}) {
            const char* expected = rendering ? c.whileRendering : c.otherwise;
            if (!expected) continue;
            program.settings.shell = ShellOptions{};
            program.settings.shell.selectionStyle = SelectionStyle::OutlineOnly;
            program.currentTool = IDM_TOOL_BRUSH;
            program.closeAfterRender = false;
            program.renderRunning = rendering;
            executeCommand(program, c.id);
            EXPECT_EQ(changesOf(program), expected) << c.id << (rendering ? " rendering" : "");
        }
    }
}

TEST(MenuItems, RemovingAnItemTakesASeparatorThatWouldBeDoubledOrOnTop) {
    struct Case {
        UINT removed;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {IDM_ANALYZE_SOUNDFILE, "101 102 103 | 104 | 105 106 107 | > | 113",
         "101 102 103 | 105 106 107 | > | 113"},
        {IDM_REFRESH_FROM_FILE, "101 102 103 | 104 | 105 106 107 | > | 113",
         "101 102 | 104 | 105 106 107 | > | 113"},
        {IDM_TOOLBAR, "312 | 502 503 504 310", "502 503 504 310"},
        {IDM_BRUSH_WINDOW, "312 | 502 503 504 310", "312 | 503 504 310"},
        {IDM_SELECTION_INVERTED, "258 259 257", "258 257"},
    };
    for (const Case& c : cases) {
        UniqueMenu menu = loadMainMenu();
        const auto place = findSubmenuHolding(menu.get(), c.removed);
        ASSERT_TRUE(place) << c.removed;
        HMENU holder = GetSubMenu(place->menu, int(place->position));
        EXPECT_EQ(itemsText(holder), c.before);
        EXPECT_TRUE(removeCommandItem(menu.get(), c.removed));
        EXPECT_EQ(itemsText(holder), c.after) << c.removed;
        EXPECT_FALSE(removeCommandItem(menu.get(), c.removed)) << "gone already";
    }
}

// --- The recent files ---

// A submenu's items as "id text" in order.
std::vector<std::wstring> entriesOf(HMENU menu) {
    std::vector<std::wstring> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[300] = {};
        GetMenuStringW(menu, UINT(i), text, 300, MF_BYPOSITION);
        entries.push_back(std::to_wstring(GetMenuItemID(menu, i)) + L" " + text);
    }
    return entries;
}

class RecentMenuTest : public ::testing::Test {
  protected:
    // A picture file in the scratch folder.
    std::wstring picture(const std::wstring& name) {
        const std::wstring path = folder_.path() + name;
        EXPECT_TRUE(ports::writeFile(path, "BM"));
        return path;
    }

    ports::ScratchFolder folder_;
    WinFileSystem files_;
    RecentFiles recent_{files_};
};

TEST_F(RecentMenuTest, ReplacesThePlaceholderWhereverItStandsAndGraysWhileEmpty) {
    for (int moved : {0, 2}) {
        SCOPED_TRACE(moved);
        RecentFiles recent{files_};
        UniqueMenu menu = loadMainMenu();
        HMENU file = GetSubMenu(menu.get(), 0);
        for (int i = 0; i < moved; ++i)
            InsertMenuW(file, 0, MF_BYPOSITION | MF_STRING, UINT_PTR(9000 + i), L"new item");
        EXPECT_EQ(recent.popup(), nullptr);  // nothing before the menu first opens
        recent.updateMenu(menu.get());
        ASSERT_NE(recent.popup(), nullptr);
        const auto place = findSubmenuItem(menu.get(), recent.popup());
        ASSERT_TRUE(place);
        EXPECT_EQ(place->menu, file);
        EXPECT_EQ(place->position, UINT(GetMenuItemCount(file) - 3));
        wchar_t caption[64] = {};
        GetMenuStringW(file, place->position, caption, 64, MF_BYPOSITION);
        EXPECT_STREQ(caption, L"Recent &Files");
        EXPECT_EQ(GetMenuItemCount(recent.popup()), 0);
        EXPECT_EQ(GetMenuState(menu.get(), IDM_RECENT_FIRST, MF_BYCOMMAND), UINT(-1))
            << "the placeholder entry went with its submenu";
        EXPECT_TRUE(GetMenuState(file, place->position, MF_BYPOSITION) & MF_GRAYED);

        // Later updates keep the same popup and follow the list.
        HMENU first = recent.popup();
        recent.add(picture(L"a.bmp"));
        recent.updateMenu(menu.get());
        EXPECT_EQ(recent.popup(), first);
        EXPECT_FALSE(GetMenuState(file, place->position, MF_BYPOSITION) & MF_GRAYED);
    }
}

TEST_F(RecentMenuTest, ShowsLongNamesNewestFirst) {
    UniqueMenu menu = loadMainMenu();
    recent_.updateMenu(menu.get());
    for (const wchar_t* name :
         {L"first picture with a long name.bmp", L"Gr\u00fcn & Blau \u6f22\u5b57.bmp", L"c.bmp"})
        recent_.add(picture(name));
    // The menu shows "&" as it is.
    EXPECT_EQ(entriesOf(recent_.popup()),
              (std::vector<std::wstring>{L"3402 c.bmp", L"3401 Gr\u00fcn && Blau \u6f22\u5b57.bmp",
                                         L"3400 first picture with a long name.bmp"}));
}

TEST_F(RecentMenuTest, LeavesAMenuWithoutThePlaceholderAlone) {
    UniqueMenu menu = loadMainMenu();
    HMENU file = GetSubMenu(menu.get(), 0);
    DeleteMenu(file, UINT(GetMenuItemCount(file) - 3), MF_BYPOSITION);  // the placeholder
    const std::string before = itemsText(file);
    for (HMENU other : {menu.get(), HMENU(nullptr)}) {
        recent_.updateMenu(other);
        EXPECT_EQ(recent_.popup(), nullptr);
    }
    EXPECT_EQ(itemsText(file), before);
}

// --- The Play item ---

TEST(PlayStateDisplay, EachStateShowsItsOneItemAndPressesTheButtonWhilePlaying) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    UniqueMenu menu = loadMainMenu();
    UniqueImageList images;  // outlives the toolbar of the frame
    UniqueWindow frame(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
    HWND toolbar =
        createToolbar(frame.get(), GetModuleHandleW(nullptr), nullptr, IDM_TOOL_BRUSH, images);
    ASSERT_NE(toolbar, nullptr);
    const auto text = [&](UINT id) {
        wchar_t buffer[128] = {};
        GetMenuStringW(menu.get(), id, buffer, 128, MF_BYCOMMAND);
        return std::wstring(buffer);
    };
    const auto count = [&](UINT id) {
        const auto ids = commandIds(menu.get());
        return std::count(ids.begin(), ids.end(), id);
    };
    const auto pressed = [&] {
        return SendMessageW(toolbar, TB_ISBUTTONCHECKED, IDM_PLAY, 0) != 0;
    };
    ASSERT_EQ(text(IDM_PLAY), L"&Play Latest Sound\t   Space");
    // A repeated report (a stop after a failed start) changes nothing.
    for (bool playing : {true, true, false, false}) {
        SCOPED_TRACE(playing ? "playing" : "stopped");
        showPlayState(menu.get(), toolbar, playing);
        const UINT shown = playing ? IDM_STOP_PLAYBACK : IDM_PLAY;
        EXPECT_EQ(count(shown), 1);
        EXPECT_EQ(count(playing ? IDM_PLAY : IDM_STOP_PLAYBACK), 0);
        EXPECT_EQ(text(shown), playing ? L"Stop sound playback" : L"Play last generated sound");
        EXPECT_EQ(pressed(), playing);
    }
    // Either may be missing.
    showPlayState(nullptr, toolbar, true);
    EXPECT_TRUE(pressed());
    showPlayState(menu.get(), nullptr, true);
    EXPECT_EQ(count(IDM_STOP_PLAYBACK), 1);
}

}  // namespace
}  // namespace lumetra::win
