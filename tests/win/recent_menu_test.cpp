// The "Recent &Files" submenu over the program's menu resource: put in place of the placeholder
// the first time, filled newest first with the ids that map back to the entries, grayed while
// the list is empty, and rebuilt when the list changes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "base/win/win_path_names.h"
#include "ports_scratch.h"
#include "resources/resource_ids.h"
#include "shell/win/recent_files.h"

namespace lumetra::win {
namespace {

using ports::ScratchFolder;

struct MenuEntry {
    UINT id;
    std::wstring text;
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

std::vector<MenuEntry> entriesOf(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[300] = {};
        GetMenuStringW(menu, UINT(i), text, 300, MF_BYPOSITION);
        entries.push_back({GetMenuItemID(menu, i), text});
    }
    return entries;
}

class RecentMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        menu_.reset(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU)));
        ASSERT_TRUE(menu_);
        file_ = GetSubMenu(menu_.get(), 0);
        ASSERT_NE(file_, nullptr);
    }

    // A picture file in the scratch folder; its path as the list receives it.
    std::string picture(const std::wstring& name) {
        const std::wstring path = folder_.path() + name;
        EXPECT_TRUE(ports::writeFile(path, "BM"));
        return toUtf8(path);
    }

    UINT recentPosition() const { return UINT(GetMenuItemCount(file_) - 3); }

    ScratchFolder folder_;
    WinPathNames paths_;
    FileList list_{paths_};
    UniqueMenu menu_;
    HMENU file_ = nullptr;
};

TEST_F(RecentMenuTest, ReplacesThePlaceholderAndGraysWhileEmpty) {
    HMENU placeholder = GetSubMenu(file_, int(recentPosition()));
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(GetMenuItemID(placeholder, 0), UINT(IDM_RECENT_FIRST));

    RecentFilesMenu recent(list_);
    EXPECT_EQ(recent.popup(), nullptr);  // nothing before the menu first opens
    recent.update(menu_.get());
    ASSERT_NE(recent.popup(), nullptr);
    EXPECT_EQ(GetSubMenu(file_, int(recentPosition())), recent.popup());
    wchar_t caption[64] = {};
    GetMenuStringW(file_, recentPosition(), caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"Recent &Files");
    EXPECT_EQ(GetMenuItemCount(recent.popup()), 0);
    EXPECT_EQ(GetMenuState(menu_.get(), IDM_RECENT_FIRST, MF_BYCOMMAND), UINT(-1))
        << "the placeholder entry went with its submenu";
    EXPECT_TRUE(GetMenuState(file_, recentPosition(), MF_BYPOSITION) & MF_GRAYED);

    // Later updates keep the same popup and follow the list.
    HMENU first = recent.popup();
    list_.add(picture(L"a.bmp"));
    recent.rebuild();
    recent.update(menu_.get());
    EXPECT_EQ(recent.popup(), first);
    EXPECT_FALSE(GetMenuState(file_, recentPosition(), MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(RecentMenuTest, ShowsLongNamesNewestFirstWithIdsThatMapBackToTheEntries) {
    RecentFilesMenu recent(list_);
    const std::string first = picture(L"first picture with a long name.bmp");
    const std::string second = picture(L"Gr\u00fcn & Blau \u6f22\u5b57.bmp");
    const std::string third = picture(L"c.bmp");
    for (const auto& path : {first, second, third})
        list_.add(path);
    recent.update(menu_.get());
    const std::vector<MenuEntry> expected = {
        {IDM_RECENT_FIRST + 2, L"c.bmp"},
        {IDM_RECENT_FIRST + 1, L"Gr\u00fcn && Blau \u6f22\u5b57.bmp"},
        {IDM_RECENT_FIRST + 0, L"first picture with a long name.bmp"},
    };
    EXPECT_EQ(entriesOf(recent.popup()), expected);
    // The entries themselves hold the short forms.
    EXPECT_EQ(list_.entryForCommand(IDM_RECENT_FIRST), paths_.shortPath(first));
    EXPECT_NE(list_.entryForCommand(IDM_RECENT_FIRST), first);

    // Eleven files leave ten entries, the first one gone; the menu follows a rebuild.
    for (int i = 0; i < 8; ++i)
        list_.add(picture(L"more " + std::to_wstring(i) + L".bmp"));
    recent.rebuild();
    const auto entries = entriesOf(recent.popup());
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.front(), (MenuEntry{IDM_RECENT_FIRST + 9, L"more 7.bmp"}));
    EXPECT_EQ(entries.back(), (MenuEntry{IDM_RECENT_FIRST, L"Gr\u00fcn && Blau \u6f22\u5b57.bmp"}));
}

TEST_F(RecentMenuTest, LeavesAMenuOfAnotherShapeAlone) {
    RecentFilesMenu recent(list_);
    UniqueMenu bare(CreateMenu());
    UniqueMenu file(CreatePopupMenu());
    for (UINT id : {101u, 102u, 113u})
        AppendMenuW(file.get(), MF_STRING, id, L"item");
    AppendMenuW(bare.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file.release()), L"&File");
    recent.update(bare.get());
    EXPECT_EQ(recent.popup(), nullptr);
    recent.update(nullptr);
    EXPECT_EQ(recent.popup(), nullptr);
}

TEST(RecentMenuText, DoublesAmpersandsSoThatTheNameShowsAsItIs) {
    EXPECT_EQ(menuItemText("a&b.bmp"), L"a&&b.bmp");
    EXPECT_EQ(menuItemText("&&"), L"&&&&");
    EXPECT_EQ(menuItemText("Gr\xC3\xBCn.bmp"), L"Gr\u00fcn.bmp");
    EXPECT_EQ(menuItemText(""), L"");
}

}  // namespace
}  // namespace lumetra::win
