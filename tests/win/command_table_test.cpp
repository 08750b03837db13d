// The program's commands and main menu: which items the rules gray and check, that every command
// has an item, key or button and each of those a command, what runs during a render, how items
// leave the menu, the "Recent &Files" submenu and Play turning into Stop.

#include <set>

#include "document/win/canvas_window.h"
#include "render/win/play_state_display.h"
#include "shell/win/command_table.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/menus.h"
#include "shell/win/program.h"
#include "shell/win/recent_files.h"
#include "shell/win/toolbar.h"
#include "win_test.h"

// after <windows.h>, which the test header brings
#include <commdlg.h>

namespace lumetra::win {
namespace {

UniqueMenu loadMainMenu() {
    return UniqueMenu(LoadMenuW(module(), MAKEINTRESOURCEW(IDR_MAINMENU)));
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
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i)
        text += (i ? " " : "") + (GetSubMenu(menu, i)    ? std::string(">")
                                  : isSeparator(menu, i) ? std::string("|")
                                                         : std::to_string(GetMenuItemID(menu, i)));
    return text;
}
std::wstring menuText(HMENU menu, UINT item, UINT flags) {
    wchar_t text[300] = {};
    GetMenuStringW(menu, item, text, 300, flags);
    return text;
}

using Ids = std::set<unsigned>;
Ids marked(const MenuFacts& facts, bool checks) {
    Ids ids;
    for (const MenuItemState& s : menuStates(facts))
        if (checks ? s.checked.value_or(false) : s.grayed) ids.insert(s.id);
    return ids;
}
// Everything there to work on (a sound of eleven values, an undo picture, a path, a clipboard
// picture), then `change`.
MenuFacts with(void (*change)(MenuFacts&) = nullptr) {
    MenuFacts f;
    f.soundLength = 11;
    f.hasUndoImage = f.hasPath = f.clipboardHasPicture = true;
    if (change) change(f);
    return f;
}

TEST(CommandTable, GrayedAndCheckedItemsFollowTheFacts) {
    const std::pair<MenuFacts, Ids> grayed[] = {
        {MenuFacts{},
         {IDM_SAVE_SOUND_AS, IDM_PLAY, IDM_UNDO, IDM_REFRESH_FROM_FILE, IDM_PASTE,
          IDM_PASTE_AS_OVERLAY, IDM_PASTE_AS_FILTER}},
        {with(), {}},
        {with([](MenuFacts& f) { f.soundLength = 10; }), {IDM_SAVE_SOUND_AS, IDM_PLAY}},
        {with([](MenuFacts& f) { f.hasUndoImage = false; }), {IDM_UNDO}},
        {with([](MenuFacts& f) { f.hasPath = false; }), {IDM_REFRESH_FROM_FILE}},
        {with([](MenuFacts& f) { f.clipboardHasPicture = false; }),
         {IDM_PASTE, IDM_PASTE_AS_OVERLAY, IDM_PASTE_AS_FILTER}},
        // The sound card options wait for playback and for the sound file of a render.
        {with([](MenuFacts& f) { f.playbackActive = true; }), {IDM_SOUNDCARD_OPTIONS}},
        {with([](MenuFacts& f) { f.soundfileOpen = true; }), {IDM_SOUNDCARD_OPTIONS}},
    };
    int row = 0;
    for (const auto& [facts, ids] : grayed)
        EXPECT_EQ(marked(facts, false), ids) << "row " << row++;
    // Named After Image is checked for exactly 1; an unknown selection style counts as the
    // outline; the window items follow the windows.
    const std::pair<MenuFacts, Ids> checked[] = {
        {with([](MenuFacts& f) {
             f.options.soundfile.soundfileNamedAfterImage = 2;
             f.options.selectionStyle = SelectionStyle(3);
         }),
         {IDM_SELECTION_OUTLINE}},
        {with([](MenuFacts& f) { f.toolbarVisible = f.echordOpen = f.renderOptionsOpen = true; }),
         {IDM_TOOLBAR, IDM_ECHORD_WINDOW, IDM_RENDER_OPTIONS_WINDOW, IDM_SELECTION_BRIGHTEN}},
        {with([](MenuFacts& f) { f.brushOpen = f.browserOpen = true; }),
         {IDM_BRUSH_WINDOW, IDM_BROWSER_WINDOW, IDM_SELECTION_BRIGHTEN}},
    };
    for (auto [facts, ids] : checked) {
        facts.options.soundfile.saveSoundEveryRender = 0;
        EXPECT_EQ(marked(facts, true), ids) << *ids.begin();
    }
}

TEST(CommandTable, EveryCommandHasAnItemKeyOrButtonAndEachOfThoseACommand) {
    UniqueMenu menu = loadMainMenu();
    ASSERT_TRUE(menu);
    std::vector<UINT> places = commandIds(menu.get());
    HACCEL accelerators = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    std::vector<ACCEL> keys(std::size_t(CopyAcceleratorTableW(accelerators, nullptr, 0)));
    CopyAcceleratorTableW(accelerators, keys.data(), int(keys.size()));
    DestroyAcceleratorTable(accelerators);
    ASSERT_FALSE(keys.empty());
    for (const ACCEL& key : keys)
        places.push_back(key.cmd);
    for (const ToolbarEntry& button : toolbarEntries())
        if (button.command) places.push_back(UINT(button.command));
    for (UINT id : places)
        EXPECT_NE(findCommand(int(id)), nullptr) << "item, key or button " << id;
    // A range is placed by its first id (the recent files' placeholder).
    for (const Command& c : commandTable())
        EXPECT_NE(std::count(places.begin(), places.end(), UINT(c.first)), 0) << c.first;
    EXPECT_EQ(findCommand(IDM_RECENT_LAST), findCommand(IDM_RECENT_FIRST));
    EXPECT_EQ(findCommand(IDM_RECENT_LAST + 1), nullptr);
}

TEST(CommandTable, DuringARenderOnlyDisplayCommandsRunAndExitWaits) {
    Program program(module());
    // What a command changed in a program that starts with the outline style and the brush.
    const auto run = [&](int id, bool rendering) {
        program.settings.shell = ShellOptions{};
        program.settings.shell.selectionStyle = SelectionStyle::OutlineOnly;
        program.currentTool = IDM_TOOL_BRUSH;
        program.closeAfterRender = false;
        program.renderRunning = rendering;
        executeCommand(program, id);
        const ShellOptions& o = program.settings.shell;
        return std::string(o.attachRenderInfo ? "attach " : "") +
               (o.showBrighter ? "brighter " : "") +
               (o.selectionStyle != SelectionStyle::OutlineOnly ? "style " : "") +
               (program.currentTool != IDM_TOOL_BRUSH ? "tool " : "") +
               (program.closeAfterRender ? "close " : "");
    };
    EXPECT_EQ(run(IDM_ATTACH_RENDER_INFO, false), "") << "before the start-up made the canvas";
    program.canvas = std::make_unique<CanvasWindow>(program.document.state(), program.viewHost);
    const std::tuple<int, const char*, const char*> cases[] = {
        {IDM_SHOW_BRIGHTER, "brighter ", "brighter "},
        {IDM_SELECTION_INVERTED, "style ", "style "},
        {IDM_ATTACH_RENDER_INFO, "", "attach "},
        {IDM_TOOL_MOVE, "", "tool "},
        {IDM_EXIT, "close ", nullptr},
        {IDM_RECENT_FIRST + 2, "", ""},  // no such entry
        {7, "", ""},                     // no such command
    };
    for (const auto& [id, whileRendering, otherwise] : cases) {
        EXPECT_EQ(run(id, true), whileRendering) << id << " rendering";
        if (otherwise) {
            EXPECT_EQ(run(id, false), otherwise) << id;
        }
    }
}

TEST(MenuItems, RemovingAnItemTakesASeparatorThatWouldBeDoubledOrOnTop) {
    const std::tuple<UINT, const char*, const char*> cases[] = {
        {IDM_ANALYZE_SOUNDFILE, "101 102 103 | 104 | 105 106 107 | > | 113",
         "101 102 103 | 105 106 107 | > | 113"},
        {IDM_TOOLBAR, "312 | 502 503 504 310", "502 503 504 310"},
        {IDM_BRUSH_WINDOW, "312 | 502 503 504 310", "312 | 503 504 310"},
    };
    for (const auto& [removed, before, after] : cases) {
        UniqueMenu menu = loadMainMenu();
        const auto place = findSubmenuHolding(menu.get(), removed);
        ASSERT_TRUE(place) << removed;
        HMENU holder = GetSubMenu(place->menu, int(place->position));
        EXPECT_EQ(itemsText(holder), before);
        EXPECT_TRUE(removeCommandItem(menu.get(), removed));
        EXPECT_EQ(itemsText(holder), after) << removed;
        EXPECT_FALSE(removeCommandItem(menu.get(), removed)) << "gone already";
    }
}

// The submenu takes the placeholder's place, grayed while empty, and shows a name's "&" as it is;
// a menu without the placeholder is left alone. (The entries newest first and opened: end to end.)
TEST(RecentMenu, ReplacesThePlaceholderAndShowsTheNames) {
    ScratchFolder folder;
    WinFileSystem files;
    RecentFiles recent{files}, other{files};
    UniqueMenu menu = loadMainMenu();
    HMENU file = GetSubMenu(menu.get(), 0);
    recent.updateMenu(menu.get());
    const auto place = findSubmenuItem(menu.get(), recent.popup());
    ASSERT_TRUE(place && place->menu == file);
    const auto state = [&] { return GetMenuState(file, place->position, MF_BYPOSITION); };
    EXPECT_EQ(menuText(file, place->position, MF_BYPOSITION), L"Recent &Files");
    EXPECT_EQ(GetMenuState(menu.get(), IDM_RECENT_FIRST, MF_BYCOMMAND), UINT(-1));
    EXPECT_TRUE(state() & MF_GRAYED);
    ASSERT_TRUE(writeFile(folder.path() + L"Gr\u00fcn & Blau.bmp", "BM"));
    recent.add(folder.path() + L"Gr\u00fcn & Blau.bmp");
    recent.updateMenu(menu.get());
    EXPECT_FALSE(state() & MF_GRAYED);
    EXPECT_EQ(menuText(recent.popup(), IDM_RECENT_FIRST, MF_BYCOMMAND), L"Gr\u00fcn && Blau.bmp");
    DeleteMenu(file, place->position, MF_BYPOSITION);
    const std::string before = itemsText(file);
    other.updateMenu(menu.get());
    EXPECT_EQ(other.popup(), nullptr);
    EXPECT_EQ(itemsText(file), before);
}

// A repeated report (a stop after a failed start) changes nothing; the toolbar may be missing.
TEST(PlayStateDisplay, EachStateShowsItsOneItemAndPressesTheButtonWhilePlaying) {
    initCommonControls();
    UniqueMenu menu = loadMainMenu();
    UniqueImageList images;  // outlives the toolbar of the frame
    UniqueWindow frame(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr,
                                       nullptr, module(), nullptr));
    HWND toolbar = createToolbar(frame.get(), module(), nullptr, IDM_TOOL_BRUSH, images);
    ASSERT_NE(toolbar, nullptr);
    const auto shows = [&] {
        return toUtf8(menuText(menu.get(), IDM_PLAY, MF_BYCOMMAND) + L"|" +
                      menuText(menu.get(), IDM_STOP_PLAYBACK, MF_BYCOMMAND)) +
               (SendMessageW(toolbar, TB_ISBUTTONCHECKED, IDM_PLAY, 0) ? " pressed" : "");
    };
    ASSERT_EQ(shows(), "&Play Latest Sound\t   Space|");
    for (bool playing : {true, true, false, false}) {
        showPlayState(menu.get(), toolbar, playing);
        EXPECT_EQ(shows(), playing ? "|Stop sound playback pressed" : "Play last generated sound|");
    }
    showPlayState(menu.get(), nullptr, true);
    EXPECT_EQ(shows(), "|Stop sound playback");
}

// Save Sound As asks before it replaces a file; Open takes only files that exist.
TEST(FileDialogs, FiltersAndOptionsInThePlatformsForm) {
    using namespace std::string_literals;
    const FileDialogSpec open = fileDialogSpec(FileDialogKind::OpenBitmap);
    EXPECT_EQ(dialogFilter(open),
              L"Bitmap files (*.bmp, *.gif, *.jpg, *.emf, *.wmf)\0"
              L"*.bmp;*.gif;*.jpg;*.jpeg;*.emf;*.wmf\0\0"s);
    EXPECT_EQ(dialogFlags(open), DWORD(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST));
    const FileDialogSpec sound = fileDialogSpec(FileDialogKind::SaveSound);
    EXPECT_EQ(dialogFilter(sound), L"PCM Wav files (*.wav)\0*.wav\0All files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(dialogFlags(sound), DWORD(OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
}

}  // namespace
}  // namespace lumetra::win
