// The program's settings between its state and the registry: what a load puts into the program
// state, what a save writes from it, the main window's placement as the platform reports it, and
// the tool windows' places and show states as the shutdown records them.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "base/win/registry_value_store.h"
#include "base/win/simple_tool_window.h"
#include "base/win/utf16.h"
#include "memory_value_store.h"
#include "resources/resource_ids.h"
#include "settings_samples.h"
#include "shell/settings_schema.h"
#include "shell/win/app_state.h"
#include "shell/win/program_folders.h"
#include "shell/win/settings.h"

namespace lumetra::win {
namespace {

using test::loadedFieldsText;
using test::MemoryValueStore;

constexpr ScreenSize kScreen{1280, 1024};

// The parts of the program state that the settings fill, as the store's records.
PersistedSettings held() {
    const AppState& s = appState();
    PersistedSettings p{s.defaultSettings,        s.sound,        s.options,      s.layout,
                        toCoreFolders(s.folders), brushPatches(), echordPatches()};
    p.shell.dragDecoration = s.dragDecoration;  // the copy that the drawing uses
    return p;
}

// Puts the records into the program state; the default records are a first start's state.
void hold(const PersistedSettings& p) {
    AppState& s = appState();
    s.defaultSettings = p.renderDefaults;
    s.sound = p.sound;
    s.options = p.shell;
    s.dragDecoration = p.shell.dragDecoration;
    s.layout = p.layout;
    s.folders = fromCoreFolders(p.folders);
    brushPatches() = p.brushPatches;
    echordPatches() = p.echordPatches;
}

class SettingsWiringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kept_ = held();
        hold(PersistedSettings{});
        root_ = L"Software\\Velloforge\\LumetraSettingsTests\\" +
                std::to_wstring(GetCurrentProcessId()) + L"-" +
                toUtf16(::testing::UnitTest::GetInstance()->current_test_info()->name());
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
        store_.emplace(HKEY_CURRENT_USER, root_ + L"\\");
    }
    void TearDown() override {
        store_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
        hold(kept_);
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

    PersistedSettings kept_;  // the program state around the test
    std::wstring root_;
    std::optional<RegistryValueStore> store_;
};

TEST_F(SettingsWiringTest, AnEmptyRegistryLeavesTheProgramWithTheFirstStartDefaults) {
    appState().sound.stereo = 0;
    appState().dragDecoration = 0;
    EXPECT_TRUE(loadSettings(store(), kScreen));
    // What the core's store loads from nothing, including the forced stereo and the brush dialog
    // that always comes up shown.
    PersistedSettings expected;
    MemoryValueStore empty;
    ASSERT_TRUE(SettingsStore(empty).load(expected, kScreen));
    EXPECT_EQ(loadedFieldsText(held()), loadedFieldsText(expected));
    EXPECT_EQ(appState().dragDecoration, kDecorationBrighten | kDecorationOutline);
}

TEST_F(SettingsWiringTest, WhatTheProgramHeldAtExitIsWhatTheNextStartHas) {
    PersistedSettings settings = test::unusualSettings();
    hold(settings);
    const MainWindowPlacement main{120, 90, 720, 420, SW_SHOWMAXIMIZED, false};
    ASSERT_TRUE(saveSettings(store(), main));
    EXPECT_EQ(lastSettingsError(), "");
    EXPECT_EQ(rawDword(L"", L"Pitch:Low"), 27500u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.x"), 120u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.w"), 600u);
    EXPECT_EQ(rawDword(L"Windows\\", L"main.cmdshow"), DWORD(SW_SHOWMAXIMIZED));
    // The layout keeps the main window's place as it was saved.
    settings.layout.mainX = 120;
    settings.layout.mainY = 90;
    settings.layout.mainWidth = 600;
    settings.layout.mainHeight = 330;
    settings.layout.mainShow = SW_SHOWMAXIMIZED;
    EXPECT_EQ(appState().layout, settings.layout);

    hold(PersistedSettings{});
    ASSERT_TRUE(loadSettings(store(), kScreen));
    EXPECT_EQ(loadedFieldsText(held()), loadedFieldsText(settings));
    EXPECT_EQ(appState().folders.soundfileFolder, std::filesystem::path(L"E:\\\u6f22\u5b57\\"));
}

TEST_F(SettingsWiringTest, PlacesAreCheckedAgainstTheScreenGiven) {
    putRawDword(L"Windows\\", L"main.x", 700);
    putRawDword(L"Windows\\", L"brush.x", 700);
    ASSERT_TRUE(loadSettings(store(), kScreen));
    EXPECT_EQ(appState().layout.mainX, 700);
    EXPECT_EQ(appState().layout.brushX, 700);
    hold(PersistedSettings{});
    ASSERT_TRUE(loadSettings(store(), ScreenSize{640, 400}));
    EXPECT_EQ(appState().layout.mainX, 50);
    EXPECT_EQ(appState().layout.brushX, 50);
    EXPECT_EQ(appState().layout.brushY, 300);  // 400 - 100
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
