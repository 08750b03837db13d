// The base of the Win32 layer: the owners close each handle once and move ownership; the window
// procedure routes every message to the handler given at creation and lets no exception out; the
// message loop's keys; a tool window's place and show state as the settings record them.

#include <new>
#include <stdexcept>

#include "base/win/message_handler.h"
#include "base/win/message_loop.h"
#include "base/win/tool_window.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

// A handle type whose closes are recorded; -1 owns nothing.
std::vector<int> closed;
void recordClose(int h) noexcept {
    closed.push_back(h);
}
int minusOne() noexcept {
    return -1;
}

TEST(UniqueHandle, ClosesEachHandleOnceAndMovesOwnership) {
    using CountingHandle = UniqueHandle<int, &recordClose, &minusOne>;
    closed.clear();
    {
        CountingHandle a(1);
        CountingHandle b(std::move(a));
        EXPECT_FALSE(a);
        CountingHandle c(2);
        c = std::move(b);  // closes 2
        c = std::move(c);  // self-move keeps the handle
        EXPECT_EQ(c.release(), 1);
        EXPECT_FALSE(c);
        c.reset(4);
        c.reset(5);          // closes 4
        int* out = c.put();  // closes 5
        *out = 6;
        EXPECT_EQ(closed, (std::vector<int>{2, 4, 5}));
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 4, 5, 6}));
}

constexpr UINT kThrow = WM_USER + 1, kEcho = WM_USER + 2, kNoMemory = WM_USER + 3;

struct Recorder : WindowHandler {
    bool detached = false;
    HWND seen = nullptr;
    std::vector<std::string> reports;
    std::vector<int> commands;
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen = window;
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        if (message == kThrow) throw std::runtime_error("boom");
        if (message == kNoMemory) throw std::bad_alloc();
        if (message == kEcho) return LRESULT(wParam * 2);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    void onDetached() override { detached = true; }
    // A report that runs into a second failure, as a box pumping messages can.
    void showFailure(const char* what) override {
        reports.push_back(what);
        if (seen) SendMessageW(seen, kThrow, 0, 0);
    }
};

HWND make(Recorder& r) {
    static const ATOM windowClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowTrampoline;
        wc.hInstance = module();
        wc.lpszClassName = L"LumetraTrampolineTest";
        return RegisterClassW(&wc);
    }();
    return CreateWindowExW(0, MAKEINTATOM(windowClass), L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, module(), static_cast<WindowHandler*>(&r));
}

// The handler reports an exception once, even when the report runs into another, and the message
// gets its default answer.
TEST(Trampoline, RoutesMessagesAndReportsAnExceptionOnceWithTheDefaultAnswer) {
    Recorder r;
    HWND w = make(r);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(r.seen, w);
    EXPECT_EQ(SendMessageW(w, kEcho, 21, 0), 42);
    EXPECT_EQ(SendMessageW(w, kThrow, 0, 0), 0);
    SendMessageW(w, kNoMemory, 0, 0);
    EXPECT_EQ(r.reports,
              (std::vector<std::string>{"boom", "Not enough memory for this operation."}));
    EXPECT_EQ(SendMessageW(w, kEcho, 4, 0), 8);  // the window still works
    DestroyWindow(w);
    EXPECT_TRUE(r.detached);
}

struct DialogRecorder : DialogHandler {
    bool initialised = false;
    std::vector<std::string> reports;
    INT_PTR onMessage(HWND, UINT message, WPARAM, LPARAM) override {
        if (message == WM_INITDIALOG) initialised = true;
        if (message == kThrow) throw std::runtime_error("dialog boom");
        return FALSE;
    }
    void showFailure(const char* what) override { reports.push_back(what); }
};

TEST(Trampoline, DialogsGetTheirHandlerAtInitAndAreGuardedToo) {
    DialogRecorder r;
    HWND d = CreateDialogParamW(module(), MAKEINTRESOURCEW(IDD_ABOUT), nullptr, dialogTrampoline,
                                LPARAM(static_cast<DialogHandler*>(&r)));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(r.initialised);
    SendMessageW(d, kThrow, 0, 0);
    EXPECT_EQ(r.reports, std::vector<std::string>{"dialog boom"});
    DestroyWindow(d);
}

// The program's key table against the main window, the keys typed into a tool window's controls:
// Backspace in a field must not black out the picture, nor Space on a button play; shortcuts
// work from anywhere.
TEST(MessageLoop, AFocusedFieldOrButtonKeepsItsKeysShortcutsWorkFromAnywhere) {
    Recorder main;
    const UniqueWindow mainWindow(make(main));
    const UniqueWindow tool(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 99, 99, nullptr,
                                            nullptr, nullptr, nullptr));
    auto child = [&](const wchar_t* type) {
        return CreateWindowExW(0, type, L"", WS_CHILD, 0, 0, 40, 20, tool.get(), nullptr, nullptr,
                               nullptr);
    };
    const HWND edit = child(L"EDIT"), button = child(L"BUTTON");
    const HACCEL keys = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_TRUE(mainWindow.get() && tool.get() && edit && button && keys);
    // Target, key, Ctrl held, the command (0: the key stays with the control).
    const std::tuple<HWND, WPARAM, bool, int> cases[] = {
        {edit, VK_BACK, false, 0},
        {edit, VK_F5, false, IDM_RENDER_IMAGE},
        {edit, 'Z', true, IDM_UNDO},
        {button, VK_SPACE, false, 0},
        {button, 'S', true, IDM_SAVE_IMAGE_AS},
        {tool.get(), VK_SPACE, false, IDM_PLAY},
        {tool.get(), VK_BACK, false, IDM_DELETE},
        {mainWindow.get(), 'R', false, IDM_REFRESH_FROM_FILE},
    };
    BYTE state[256]{};
    for (const auto& [target, key, control, command] : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << key << (control ? " with Ctrl" : ""));
        state[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(state);
        main.commands.clear();
        MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
        EXPECT_EQ(translateProgramKey(mainWindow.get(), keys, msg), command != 0);
        EXPECT_EQ(main.commands, command ? std::vector<int>{command} : std::vector<int>{});
    }
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

// (Places, show states and roll-ups across a restart: end to end.)
TEST(ToolWindow, RecordsHowTheProgramLeftItUpToItsEndAndCloseOnlyHidesIt) {
    initCommonControls();
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, module(), nullptr);
    int x = -1, y = -1, show = -1, width = -1, bottom = -1;
    HWND active = nullptr;
    PlainToolWindow tool{ToolPlacement{&x, &y, &show, &width, &bottom}, active};
    const HWND w = tool.create(module(), owner, IDD_ECHORD);
    ASSERT_TRUE(w && tool.fullHeight() >= 100);
    tool.moveTo(210, 160);
    tool.applyShowState(6);
    EXPECT_FALSE(tool.isOpen()) << "rolled up counts as closed";
    tool.recordPlacement();
    EXPECT_EQ(show, 6);
    EXPECT_EQ(bottom, 160 + tool.fullHeight()) << "a rolled-up window keeps its full height";
    // Minimizing the owner hides the tool window for a while; that is not the user's choice.
    ShowWindow(owner, SW_MINIMIZE);
    tool.recordPlacement();
    EXPECT_EQ(show, 6);
    ShowWindow(owner, SW_RESTORE);
    for (auto [message, wParam] : {std::pair{UINT(WM_CLOSE), WPARAM(0)}, {WM_COMMAND, IDCANCEL}}) {
        tool.show();
        SendMessageW(w, message, wParam, 0);
        EXPECT_TRUE(IsWindow(w) && !IsWindowVisible(w)) << message;
    }
    // The owner takes its owned windows down first, hiding them on the way: the state the window
    // was left in is recorded.
    tool.moveTo(222, 111);
    tool.show();
    SendMessageW(w, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(active, w);
    DestroyWindow(owner);
    EXPECT_EQ(std::tuple(x, y, show), std::tuple(222, 111, 5));
    EXPECT_EQ(active, nullptr) << "a destroyed window is no longer the active one";
    tool.recordPlacement();  // the window has gone: nothing changes
    EXPECT_EQ(show, 5);
}

}  // namespace
}  // namespace lumetra::win
