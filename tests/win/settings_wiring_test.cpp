// The program's settings between its state and the registry: what a load puts into the program
// state, what a save writes from it, the main window's placement as the platform reports it, and
// the tool windows' places and show states as the shutdown records them.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "shell/settings_schema.h"
#include "shell/win/app_state.h"
#include "shell/win/ids.h"
#include "shell/win/registry_value_store.h"
#include "shell/win/settings.h"
#include "shell/win/simple_tool_window.h"
#include "shell/win/utf16.h"

namespace lumetra::win {
namespace {

constexpr ScreenSize kScreen{1280, 1024};

// The parts of the program state that the settings fill, kept and put back around each test.
struct SettingsState {
    RenderSettings defaults;
    SoundOptions sound;
    ShellOptions options;
    int dragDecoration = 0;
    WindowLayout layout;
    ProgramFolders folders;
    BrushPatchBlock brush;
    EchordPatchTable echord;

    static SettingsState take() {
        const AppState& s = appState();
        return {s.defaultSettings, s.sound,   s.options,      s.dragDecoration,
                s.layout,          s.folders, brushPatches(), echordPatches()};
    }
    void restore() const {
        AppState& s = appState();
        s.defaultSettings = defaults;
        s.sound = sound;
        s.options = options;
        s.dragDecoration = dragDecoration;
        s.layout = layout;
        s.folders = folders;
        brushPatches() = brush;
        echordPatches() = echord;
    }
};

// A program state as a first start has it, before the settings are loaded.
void resetProgramState() {
    SettingsState{RenderSettings{}, SoundOptions{},   ShellOptions{},    5,
                  WindowLayout{},   ProgramFolders{}, BrushPatchBlock{}, EchordPatchTable{}}
        .restore();
}

class SettingsWiringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kept_ = SettingsState::take();
        resetProgramState();
        root_ = L"Software\\Velloforge\\LumetraSettingsTests\\" +
                std::to_wstring(GetCurrentProcessId()) + L"-" +
                toUtf16(::testing::UnitTest::GetInstance()->current_test_info()->name());
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
        store_.emplace(HKEY_CURRENT_USER, root_ + L"\\");
    }
    void TearDown() override {
        store_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
        kept_.restore();
    }

    std::optional<DWORD> rawDword(const std::wstring& subkey, const std::wstring& name) {
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, (root_ + L"\\" + subkey).c_str(), name.c_str(),
                         RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
            type != REG_DWORD) {
            return std::nullopt;
        }
        return value;
    }
    void putRawDword(const std::wstring& subkey, const std::wstring& name, DWORD value) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (root_ + L"\\" + subkey).c_str(), name.c_str(),
                                  REG_DWORD, &value, sizeof value),
                  ERROR_SUCCESS);
    }

    RegistryValueStore& store() { return *store_; }

    SettingsState kept_;
    std::wstring root_;
    std::optional<RegistryValueStore> store_;
};

MainWindowPlacement placementOf(const WindowLayout& l) {
    return {l.mainX, l.mainY, l.mainX + l.mainWidth, l.mainY + l.mainHeight, 1, false};
}

TEST_F(SettingsWiringTest, AnEmptyRegistryLeavesTheProgramWithTheFirstStartDefaults) {
    appState().sound.stereo = 0;
    appState().dragDecoration = 0;
    EXPECT_TRUE(loadSettings(store(), kScreen));
    const AppState& s = appState();
    EXPECT_EQ(s.defaultSettings.width, 300);
    EXPECT_EQ(s.defaultSettings.height, 150);
    EXPECT_EQ(s.defaultSettings.lowFrequency, 50.0);
    EXPECT_EQ(s.defaultSettings.highFrequency, 8000.0);
    EXPECT_EQ(s.defaultSettings.ampFactor, 10.0);
    EXPECT_EQ(s.defaultSettings.outputTime, 5.0);
    EXPECT_EQ(s.defaultSettings.noiseBandwidth, 15);
    EXPECT_EQ(s.sound.sampleRate, 22050);
    EXPECT_EQ(s.sound.bufferCount, 8);
    EXPECT_EQ(s.sound.bufferSize, 4096);
    EXPECT_EQ(s.sound.stereo, 1);  // whatever the program held before
    EXPECT_EQ(s.options.saveSoundEveryRender, 1);
    EXPECT_EQ(s.options.attachRenderInfo, 0);
    EXPECT_EQ(s.options.selectionStyle, SelectionStyle::Brighten);
    EXPECT_EQ(s.options.undoLimit, 10);
    EXPECT_EQ(s.dragDecoration, kDecorationBrighten | kDecorationOutline);
    WindowLayout expected;
    expected.brushShow = kShowNormal;  // the brush dialog always comes up shown
    EXPECT_EQ(s.layout, expected);
    EXPECT_TRUE(s.folders.imageFolder.empty());
    EXPECT_TRUE(s.folders.soundfileFolder.empty());
}

TEST_F(SettingsWiringTest, WhatTheProgramHeldAtExitIsWhatTheNextStartHas) {
    AppState& s = appState();
    s.defaultSettings.width = 420;
    s.defaultSettings.height = 210;
    s.defaultSettings.lowFrequency = 61.25;
    s.defaultSettings.highFrequency = 9000.5;
    s.defaultSettings.ampFactor = 2.5;
    s.defaultSettings.outputTime = 12.75;
    s.defaultSettings.softSweeps = 1;
    s.defaultSettings.noiseBandwidth = 3;
    s.sound.sampleRate = 44100;
    s.sound.bufferCount = 12;
    s.sound.bufferSize = 1024;
    s.sound.device = 2;
    s.options.attachRenderInfo = 1;
    s.options.saveSoundEveryRender = 0;
    s.options.soundfileNamedAfterImage = 1;
    s.options.numberSoundfiles = 1;
    s.options.soundfileCounter = 42;
    s.options.selectionStyle = SelectionStyle::Inverted;
    s.layout.brushX = 700;
    s.layout.echordShow = kShowRolledUp;
    s.layout.renderShow = kShowShown;
    s.layout.browserWidth = 400;
    s.layout.browserBottom = 500;
    s.folders.imageFolder = L"C:\\Bilder \u00e4\u00f6\u00fc\\\u6f22\u5b57\\";
    s.folders.soundfileFolder = L"D:\\Kl\u00e4nge";
    s.folders.filterFolder = L"C:\\Filters & more\\";
    brushPatches().bytes[0] = 0xA5;
    brushPatches().bytes[575] = 0x5A;
    const MainWindowPlacement main{120, 90, 720, 420, SW_SHOWMAXIMIZED, false};
    ASSERT_TRUE(saveSettings(store(), main));
    EXPECT_EQ(lastSettingsError(), "");

    EXPECT_EQ(rawDword(L"", L"Pitch:Low"), 61250u);
    EXPECT_EQ(rawDword(L"", L"Output time"), 12750u);
    EXPECT_EQ(rawDword(L"", L"Output buffers"), (12u << 24) + 1024u);
    EXPECT_EQ(rawDword(L"", L"Program options"), 4u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.x"), 120u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.w"), 600u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.cmdshow"), DWORD(SW_SHOWMAXIMIZED));
    EXPECT_EQ(rawDword(L"Windows\\", L"echord.show"), 6u);

    const SettingsState saved = SettingsState::take();
    resetProgramState();
    ASSERT_TRUE(loadSettings(store(), kScreen));
    EXPECT_EQ(s.defaultSettings.width, 420);
    EXPECT_EQ(s.defaultSettings.height, 210);
    EXPECT_EQ(s.defaultSettings.lowFrequency, 61.25);
    EXPECT_EQ(s.defaultSettings.highFrequency, 9000.5);
    EXPECT_EQ(s.defaultSettings.ampFactor, 2.5);
    EXPECT_EQ(s.defaultSettings.outputTime, 12.75);
    EXPECT_EQ(s.defaultSettings.softSweeps, 1);
    EXPECT_EQ(s.defaultSettings.noiseBandwidth, 3);
    EXPECT_EQ(s.sound.sampleRate, 44100);
    EXPECT_EQ(s.sound.bufferCount, 12);
    EXPECT_EQ(s.sound.bufferSize, 1024);
    EXPECT_EQ(s.sound.device, 2);
    EXPECT_EQ(s.options.attachRenderInfo, 1);
    EXPECT_EQ(s.options.saveSoundEveryRender, 0);
    EXPECT_EQ(s.options.soundfileNamedAfterImage, 1);
    EXPECT_EQ(s.options.numberSoundfiles, 1);
    EXPECT_EQ(s.options.soundfileCounter, 42);
    EXPECT_EQ(s.options.selectionStyle, SelectionStyle::Inverted);
    EXPECT_EQ(s.dragDecoration, kDecorationInvert | kDecorationOutline);
    WindowLayout expected = saved.layout;
    expected.mainShow = SW_SHOWMAXIMIZED;
    expected.brushShow = kShowNormal;
    EXPECT_EQ(s.layout, expected);
    EXPECT_EQ(s.layout.mainX, 120);
    EXPECT_EQ(s.layout.mainHeight, 330);
    EXPECT_EQ(s.folders.imageFolder, saved.folders.imageFolder);
    EXPECT_EQ(s.folders.soundfileFolder, saved.folders.soundfileFolder);
    EXPECT_EQ(s.folders.filterFolder, saved.folders.filterFolder);
    EXPECT_EQ(brushPatches(), saved.brush);
}

TEST_F(SettingsWiringTest, PlacesOffThisScreenComeBackOntoIt) {
    putRawDword(L"Windows\\", L"main.x", 3000);
    putRawDword(L"Windows\\", L"main.y", DWORD(-500));
    putRawDword(L"Windows\\", L"brush.x", 5000);
    putRawDword(L"Windows\\", L"echord.x", DWORD(-300));
    putRawDword(L"Windows\\", L"rndr.x", 4000);
    putRawDword(L"Windows\\", L"imgbr.x", 9999);
    putRawDword(L"Windows\\", L"main.cmdshow", 77);
    ASSERT_TRUE(loadSettings(store(), kScreen));
    const WindowLayout& l = appState().layout;
    EXPECT_EQ(l.mainX, 50);
    EXPECT_EQ(l.mainY, 50);
    EXPECT_EQ(l.mainWidth, 540);
    EXPECT_EQ(l.mainHeight, 280);
    EXPECT_EQ(l.mainShow, kShowNormal);
    EXPECT_EQ(l.brushX, 50);
    EXPECT_EQ(l.brushY, 330);
    EXPECT_EQ(l.echordX, 80);
    EXPECT_EQ(l.echordY, 345);
    EXPECT_EQ(l.renderX, 330);
    EXPECT_EQ(l.renderY, 130);
    EXPECT_EQ(l.browserX, 370);
    EXPECT_EQ(l.browserBottom, 406);
    // On a small screen the derived places keep clear of its right and bottom edges.
    resetProgramState();
    ASSERT_TRUE(loadSettings(store(), ScreenSize{640, 400}));
    EXPECT_EQ(appState().layout.brushX, 50);
    EXPECT_EQ(appState().layout.brushY, 300);  // 400 - 100
    EXPECT_EQ(appState().layout.renderX, 330);
}

TEST_F(SettingsWiringTest, MainWindowPlacementComesFromThePlatform) {
    HWND window = CreateWindowExW(0, L"STATIC", L"placement", WS_OVERLAPPEDWINDOW, 123, 45, 400,
                                  300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MainWindowPlacement shown = mainWindowPlacement(window);
    EXPECT_EQ(shown.left, 123);
    EXPECT_EQ(shown.top, 45);
    EXPECT_EQ(shown.right - shown.left, 400);
    EXPECT_EQ(shown.bottom - shown.top, 300);
    EXPECT_FALSE(shown.minimized);

    // A minimized window keeps its normal rectangle and is saved as shown.
    ShowWindow(window, SW_MINIMIZE);
    const MainWindowPlacement minimized = mainWindowPlacement(window);
    EXPECT_TRUE(minimized.minimized);
    EXPECT_EQ(minimized.left, 123);
    EXPECT_EQ(minimized.right - minimized.left, 400);
    ASSERT_TRUE(saveSettings(store(), minimized));
    EXPECT_EQ(rawDword(L"Windows\\", L"main.cmdshow"), 5u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.x"), 123u);
    DestroyWindow(window);

    // Without a window the layout's own rectangle stands in.
    appState().layout.mainX = 77;
    appState().layout.mainWidth = 333;
    const MainWindowPlacement none = mainWindowPlacement(nullptr);
    EXPECT_EQ(none.left, 77);
    EXPECT_EQ(none.right, 77 + 333);
}

TEST_F(SettingsWiringTest, ValuesOfTheWrongTypeGiveTheDefaultsAndAreWrittenSoundAgain) {
    const wchar_t text[] = L"wide";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (root_ + L"\\").c_str(), L"Image width", REG_SZ,
                              text, sizeof text),
              ERROR_SUCCESS);
    const BYTE two[2] = {1, 2};
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (root_ + L"\\Windows\\").c_str(), L"main.x",
                              REG_BINARY, two, sizeof two),
              ERROR_SUCCESS);
    ASSERT_TRUE(loadSettings(store(), kScreen));
    EXPECT_EQ(appState().defaultSettings.width, 300);
    EXPECT_EQ(appState().layout.mainX, 50);
    ASSERT_TRUE(saveSettings(store(), placementOf(appState().layout)));
    EXPECT_EQ(rawDword(L"", L"Image width"), 300u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.x"), 50u);
}

// A tool window that the test shows, hides, rolls up and moves as the program would.
class ToolPlacementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kept_ = appState().layout;
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        WindowLayout& l = appState().layout;
        l.echordX = l.echordY = l.echordShow = -1;
        tool_ = std::make_unique<SimpleToolWindow>(
            ToolPlacement{&l.echordX, &l.echordY, &l.echordShow}, true);
        ASSERT_NE(tool_->create(GetModuleHandleW(nullptr), owner_, IDD_ECHORD), nullptr);
    }
    void TearDown() override {
        if (owner_) DestroyWindow(owner_);
        appState().layout = kept_;
    }

    WindowLayout kept_;
    HWND owner_ = nullptr;
    std::unique_ptr<SimpleToolWindow> tool_;
};

TEST_F(ToolPlacementTest, RecordsWhereTheWindowStandsAndHowTheProgramLeftIt) {
    const WindowLayout& l = appState().layout;
    tool_->moveTo(210, 160);
    tool_->recordPlacement();
    EXPECT_EQ(l.echordX, 210);
    EXPECT_EQ(l.echordY, 160);
    EXPECT_EQ(l.echordShow, 0);  // never shown

    tool_->applyShowState(kShowShown);
    tool_->recordPlacement();
    EXPECT_EQ(l.echordShow, 5);

    tool_->applyShowState(kShowRolledUp);
    tool_->recordPlacement();
    EXPECT_EQ(l.echordShow, 6);

    // Minimizing the owner hides the tool window for a while; that is not the user's choice.
    ShowWindow(owner_, SW_MINIMIZE);
    tool_->recordPlacement();
    EXPECT_EQ(l.echordShow, 6);
    ShowWindow(owner_, SW_RESTORE);

    ShowWindow(tool_->window(), SW_HIDE);
    tool_->recordPlacement();
    EXPECT_EQ(l.echordShow, 0);
}

TEST_F(ToolPlacementTest, DestroyingTheOwnerRecordsTheStateItWasLeftIn) {
    const WindowLayout& l = appState().layout;
    tool_->moveTo(222, 111);
    tool_->applyShowState(kShowShown);
    // The owner takes its owned windows down first, hiding them on the way.
    DestroyWindow(owner_);
    owner_ = nullptr;
    EXPECT_EQ(l.echordX, 222);
    EXPECT_EQ(l.echordY, 111);
    EXPECT_EQ(l.echordShow, 5);
    // Asking again after the window has gone changes nothing.
    tool_->recordPlacement();
    EXPECT_EQ(l.echordShow, 5);
}

}  // namespace
}  // namespace lumetra::win
