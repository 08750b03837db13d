// The whole program in the test process: start-up, commands and the menu that follows them, a
// render holding back what it must, the shutdown once. The program folders made beside the test
// executable and the program's registry key are removed again unless they were there before.

#include "shell/win/main_window.h"

#include <optional>
#include <thread>

#include "base/win/registry_key.h"
#include "document/win/canvas_window.h"
#include "image/win/clipboard_picture.h"
#include "shell/win/program.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

// The texts of the boxes closeBoxes closed, in order (the timer's callback has no other way to
// the test).
std::vector<std::wstring> closedBoxTexts;

// Closes every message box of this thread as soon as its own message loop runs (a machine without a
// sound device is told so at start); 0xFFFF is a message box's text.
void CALLBACK closeBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (GetDlgItem(window, 0xFFFF) && IsWindowVisible(window) &&
                !GetPropW(window, L"LumetraTestClosing")) {
                SetPropW(window, L"LumetraTestClosing", window);
                closedBoxTexts.push_back(itemText(window, 0xFFFF));
                PostMessageW(window, WM_COMMAND, GetDlgItem(window, IDOK) ? IDOK : IDCANCEL, 0);
            }
            return TRUE;
        },
        0);
}

std::optional<DWORD> storedNumber(const wchar_t* subkey, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kSettingsKeyPath) + subkey).c_str(), name,
                     RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

class ProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { registerWindowClasses(module()); }
    void SetUp() override {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        for (const wchar_t* name : {L"Images", L"Filters", L"Undo", L"Analyses"}) {
            const auto folder = std::filesystem::path(path).parent_path() / name;
            if (!std::filesystem::exists(folder)) made_.push_back(folder);
        }
        HKEY key = nullptr;
        keyWasThere_ = !RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(kSettingsKeyPath).c_str(), 0,
                                      KEY_READ, &key);
        if (key) RegCloseKey(key);
        main_ = window_.create();
        ASSERT_NE(main_, nullptr);
        attachMainMenu(program_);
        ShowWindow(main_, SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        KillTimer(nullptr, boxes_);
        if (main_ && IsWindow(main_)) DestroyWindow(main_);
        // The quit message of the shutdown and whatever was posted to the windows go.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        std::error_code ignored;
        for (const auto& folder : made_)
            std::filesystem::remove_all(folder, ignored);
        if (!keyWasThere_) RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Velloforge\\Lumetra");
    }
    // The menu's marks after the menu state update, as the platform sends it on opening.
    UINT menuState(UINT id) {
        SendMessageW(main_, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(main_)), 0);
        return GetMenuState(GetMenu(main_), id, MF_BYCOMMAND);
    }
    bool menuChecked(int id) { return menuState(UINT(id)) & MF_CHECKED; }
    void command(int id, int code = 0) { SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, code), 0); }
    std::vector<std::filesystem::path> made_;
    bool keyWasThere_ = false;
    UINT_PTR boxes_ = SetTimer(nullptr, 0, 20, closeBoxes);
    Program program_{module()};
    MainWindow window_{program_};
    HWND main_ = nullptr;
};

TEST_F(ProgramTest, StartUpMakesTheWindowsAndTheShutdownRecordsThemOnce) {
    Program& p = program_;
    EXPECT_EQ(p.mainWindow, main_);
    ASSERT_TRUE(p.canvas && p.tools.brush);
    EXPECT_EQ(p.document.current().pixels.width, p.settings.renderDefaults.width);
    // With the toolbar there the menu lost the Toolbar item.
    EXPECT_EQ(menuState(IDM_TOOLBAR), UINT(-1));
    EXPECT_NE(p.recent.popup(), nullptr) << "the recent files took the placeholder's place";
    // The shutdown records the windows and keeps the picture's settings as the next start's
    // defaults, once only: a second call writes nothing.
    p.document.current().settings.lowFrequency = 77.0;
    RECT placed{};
    GetWindowRect(main_, &placed);
    HWND brush = p.tools.brush->window();
    ASSERT_TRUE(DestroyWindow(main_));
    EXPECT_TRUE(p.shutdownDone);
    EXPECT_FALSE(IsWindow(brush));
    EXPECT_DOUBLE_EQ(p.settings.renderDefaults.lowFrequency, 77.0);
    EXPECT_EQ(storedNumber(L"Windows", L"main.x"), DWORD(placed.left));
    p.settings.layout.mainX = 4321;
    runShutdown(p);
    EXPECT_EQ(storedNumber(L"Windows", L"main.x"), DWORD(placed.left));
}

TEST_F(ProgramTest, CommandsSetTheOptionsTheMenuShowsAndARenderHoldsThemBack) {
    // (The switches, set and kept across a restart: end to end.)
    ShellOptions& o = program_.settings.shell;
    const int styles[] = {IDM_SELECTION_OUTLINE, IDM_SELECTION_BRIGHTEN, IDM_SELECTION_INVERTED};
    for (int id : styles) {
        command(id);
        EXPECT_EQ(int(o.selectionStyle), id - IDM_SELECTION_OUTLINE);
        for (int other : styles)
            EXPECT_EQ(menuChecked(other), other == id) << id;
    }
    command(IDM_RENDER_OPTIONS_WINDOW);
    EXPECT_TRUE(menuChecked(IDM_RENDER_OPTIONS_WINDOW));
    EXPECT_TRUE(menuState(IDM_REFRESH_FROM_FILE) & MF_GRAYED) << "no path yet";
    program_.document.state().path = L"C:\\picture.bmp";
    EXPECT_FALSE(menuState(IDM_REFRESH_FROM_FILE) & MF_GRAYED);
    // The tool buttons are a group: selecting one releases the others.
    command(IDM_TOOL_MOVE);
    EXPECT_EQ(program_.currentTool, IDM_TOOL_MOVE);
    EXPECT_TRUE(SendMessageW(program_.toolbar, TB_ISBUTTONCHECKED, IDM_TOOL_MOVE, 0));
    EXPECT_FALSE(SendMessageW(program_.toolbar, TB_ISBUTTONCHECKED, IDM_TOOL_BRUSH, 0));
    const std::int32_t attach = o.attachRenderInfo;
    command(IDM_ATTACH_RENDER_INFO, EN_CHANGE);
    EXPECT_EQ(o.attachRenderInfo, attach) << "a control's notification is no command";
    // A close during a render waits for its end (what the commands do then: command_table_test).
    program_.renderRunning = true;
    SendMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_TRUE(program_.closeAfterRender);
    EXPECT_FALSE(program_.shutdownDone);
    program_.renderRunning = false;
}

// Every change reaches the views through the document: an Undo refills an open Render Options
// window, so that leaving one of its fields afterwards keeps the restored value.
TEST_F(ProgramTest, UndoRefillsAnOpenRenderOptionsWindow) {
    command(IDM_RENDER_OPTIONS_WINDOW);
    HWND options = program_.tools.renderOptions->window();
    const RenderSettings& picture = program_.document.current().settings;
    leaveField(options, IDC_HIGH, nullptr);
    EXPECT_FALSE(program_.document.modified()) << "a field left unchanged";
    command(IDM_INVERT_COLORS);  // the snapshot holds the settings as they are: High 8000
    leaveField(options, IDC_HIGH, L"4000");  // the picture's settings, whose oscillators follow
    ASSERT_DOUBLE_EQ(picture.highFrequency, 4000.0);
    EXPECT_NEAR(picture.rowFrequencies.back(), 4000.0, 1e-6);
    command(IDM_UNDO);
    EXPECT_EQ(itemText(options, IDC_HIGH), L"8000.000");
    leaveField(options, IDC_HIGH, nullptr);
    EXPECT_DOUBLE_EQ(picture.highFrequency, 8000.0) << "no stale value written back";
}

// Cut blacks out the region only once the region is on the clipboard: while another program holds
// the clipboard open, the picture stays as it was.
TEST_F(ProgramTest, CutLosesNothingWhileTheClipboardIsHeld) {
    CanvasImage& image = program_.document.current();
    image.pixels = testPattern(image.pixels.width, image.pixels.height);
    image.selection = Rect{2, 3, 12, 8};
    const std::vector<std::uint8_t> before = image.pixels.bytes;
    const UniqueKernelHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread other([&] {
        const UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE,
                                                  nullptr, nullptr, nullptr));
        const UniqueClipboard clipboard = openClipboard(window.get());
        SetEvent(held.get());
        WaitForSingleObject(done.get(), INFINITE);
    });
    WaitForSingleObject(held.get(), INFINITE);
    command(IDM_CUT);
    SetEvent(done.get());
    other.join();
    EXPECT_EQ(image.pixels.bytes, before) << "the clipboard could not take the region";
}

// A clipboard block claiming more than it holds: Paste As Filter says why and takes no snapshot.
TEST_F(ProgramTest, PasteAsFilterOfARefusedPictureSaysWhyAndTakesNoSnapshot) {
    std::vector<std::uint8_t> block(40 + 8, 0xFF);
    const BITMAPINFOHEADER header{sizeof header, 4000, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::memcpy(block.data(), &header, sizeof header);
    ASSERT_TRUE(putPictureOnClipboard(main_, block));
    const int before = program_.document.undoStore()->slot();
    closedBoxTexts.clear();
    command(IDM_PASTE_AS_FILTER);
    EXPECT_EQ(program_.document.undoStore()->slot(), before) << "no snapshot";
    ASSERT_EQ(closedBoxTexts.size(), 1u);
    EXPECT_NE(closedBoxTexts[0], L"");
    if (const UniqueClipboard c = openClipboard(main_)) EmptyClipboard();
}

}  // namespace
}  // namespace lumetra::win
