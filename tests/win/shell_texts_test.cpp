// Titles, tooltips, menu help texts, the file dialogs' filters and options in the platform's
// form, and the text helpers. (The folder browser's selection rule is the core's drive-letter
// rule, seen in the real browser by the end-to-end scenarios.)

#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "resources/resource_ids.h"
#include "shell/win/file_dialogs.h"
#include "shell/win/toolbar.h"
#include "shell/win/window_title.h"

namespace lumetra::win {
namespace {

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

// (The start title and a picture's title, also outside ASCII: the end-to-end scenarios.)
TEST(WindowTitle, ANameLongerThanTheTitleBufferIsCutNotRefused) {
    EXPECT_EQ(imageTitle(std::wstring(1000, L'x')).size(), 399u);
}

TEST(Tooltips, AreTheHelpTextsOfTheCommands) {
    EXPECT_EQ(tooltipText(module(), IDM_TOOL_BRUSH), L"Use brush tool");
    EXPECT_EQ(tooltipText(module(), IDM_SHOW_BRIGHTER), L"Show image brighter than real");
    EXPECT_EQ(tooltipText(module(), IDM_STOP_PLAYBACK), L"Stop sound playback");
    // An id without an entry, and a window handle used as an id, give no text.
    EXPECT_EQ(tooltipText(module(), 7), L"");
    EXPECT_EQ(tooltipText(module(), UINT_PTR(0x12345678)), L"");
}

TEST(Tooltips, AreCutTo119Characters) {
    std::wstring full = loadString(module(), IDM_FILTER_FROM_BROWSER, 1000);
    ASSERT_EQ(full, L"Use another image as filter (stretched to fit selection)");
    EXPECT_EQ(loadString(module(), IDM_FILTER_FROM_BROWSER, 10), L"Use anothe");
}

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

TEST(Text, Utf16RoundTripAndBoundedFormatting) {
    const std::string utf8 =
        "Gr\xc3\xbc\xc3\x9f"
        "e \xe2\x99\xaa";
    EXPECT_EQ(toUtf16(utf8), L"Gr\u00fc\u00dfe \u266a");
    EXPECT_EQ(toUtf8(toUtf16(utf8)), utf8);
    EXPECT_EQ(toUtf16(""), L"");
    EXPECT_EQ(toUtf8(L""), "");
    // Outside the basic plane: a surrogate pair each way.
    EXPECT_EQ(toUtf16("\xf0\x9f\x8e\xb5"), L"\xd83c\xdfb5");
    EXPECT_EQ(toUtf8(L"\xd83c\xdfb5"), "\xf0\x9f\x8e\xb5");
    // Ill-formed input comes out with U+FFFD in place of the bad part, never fails.
    const std::wstring bad = toUtf16(
        "a\xff"
        "b");
    EXPECT_EQ(bad.front(), L'a');
    EXPECT_EQ(bad.back(), L'b');
    EXPECT_NE(bad.find(L'\xfffd'), std::wstring::npos);
    EXPECT_NE(toUtf8(std::wstring(L"x\xd800y")).find("\xef\xbf\xbd"), std::string::npos);
    EXPECT_EQ(formatText(399, L"%d, %d, (%d, %d)", 1, 2, 3, 4), L"1, 2, (3, 4)");
    EXPECT_EQ(formatText(399, L"%.2f sec, %.2f Hz", 2.5, 8000.0), L"2.50 sec, 8000.00 Hz");
    EXPECT_EQ(formatText(5, L"%ls", L"abcdefgh"), L"abcde");
    EXPECT_EQ(formatText(40, L"Lumetra%.2d", 7), L"Lumetra07");
}

}  // namespace
}  // namespace lumetra::win
