// The base of the Win32 layer: the RAII owners close each handle exactly once, move ownership and
// restore what they replaced; the window-procedure trampolines route every message to the handler
// given at creation and never let an exception out (the handler reports it once, even when the
// report itself runs into another, and the message gets its default answer); the message loop's
// keys (a focused edit field or button keeps the keys it uses, shortcuts work from anywhere); and
// the text helpers.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/win/message_handler.h"
#include "base/win/message_loop.h"
#include "base/win/text.h"
#include "base/win/unique_handle.h"
#include "base/win/utf16.h"
#include "resources/resource_ids.h"

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
using CountingHandle = UniqueHandle<int, &recordClose, &minusOne>;

TEST(UniqueHandle, ClosesEachHandleOnceAndMovesOwnership) {
    closed.clear();
    {
        CountingHandle empty;
        EXPECT_FALSE(empty);
        CountingHandle a(1);
        CountingHandle b(std::move(a));
        EXPECT_FALSE(a);
        CountingHandle c(2);
        c = std::move(b);  // closes 2
        c = std::move(c);  // self-move keeps the handle
        EXPECT_EQ(c.get(), 1);
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

TEST(UniqueHandle, GdiOwnersDeleteTheirObjectsAndPutBackWhatTheyReplaced) {
    HBRUSH rawBrush = CreateSolidBrush(RGB(1, 2, 3));
    HDC rawDc = CreateCompatibleDC(nullptr);
    {
        UniqueBrush brush(rawBrush);
        UniqueMemoryDc dc(rawDc);
        UniquePen pen(CreatePen(PS_SOLID, 1, RGB(9, 9, 9)));
        const HGDIOBJ penBefore = GetCurrentObject(dc.get(), OBJ_PEN);
        const int ropBefore = GetROP2(dc.get());
        {
            auto select = selectObject(dc.get(), pen.get());
            auto rop = setRasterMode(dc.get(), R2_NOTXORPEN);
            EXPECT_TRUE(select);
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
            EXPECT_EQ(GetROP2(dc.get()), R2_NOTXORPEN);
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), penBefore);
        EXPECT_EQ(GetROP2(dc.get()), ropBefore);
    }
    EXPECT_EQ(GetObjectType(rawBrush), 0u);
    EXPECT_EQ(GetObjectType(rawDc), 0u);

    // A window's DC goes back to its window; a failed one owns nothing.
    auto screen = windowDc(nullptr);
    EXPECT_EQ(GetObjectType(screen.get()), DWORD(OBJ_DC));
    EXPECT_FALSE(windowDc(reinterpret_cast<HWND>(INT_PTR{0x7FFF0})));  // no such window
}

// A COM object that counts its references.
struct CountedUnknown : IUnknown {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(UniqueHandle, KernelAndComOwners) {
    EXPECT_EQ(UniqueFile().get(), INVALID_HANDLE_VALUE);
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = event.get();
    event.reset();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));

    CountedUnknown object;
    { ComPtr<IUnknown> a(&object); }
    EXPECT_EQ(object.refs, 0u);
    object.refs = 1;
    ComPtr<IUnknown> c(&object);
    EXPECT_EQ(*c.put(), nullptr);  // releases the held pointer first
    EXPECT_EQ(object.refs, 0u);
}

constexpr UINT kThrow = WM_USER + 1;
constexpr UINT kEcho = WM_USER + 2;
constexpr UINT kNoMemory = WM_USER + 3;

struct Recorder : WindowHandler {
    bool failCreate = false;
    bool detached = false;
    HWND seen = nullptr;
    std::vector<std::string> reports;
    std::vector<int> commands;

    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen = window;
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        if (message == WM_CREATE && failCreate) throw std::runtime_error("creation failed");
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
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumetraTrampolineTest";
        return RegisterClassW(&wc);
    }();
    return CreateWindowExW(0, MAKEINTATOM(windowClass), L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, GetModuleHandleW(nullptr), static_cast<WindowHandler*>(&r));
}

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

    Recorder failing;
    failing.failCreate = true;
    EXPECT_EQ(make(failing), nullptr) << "a failing creation leaves no window";
    EXPECT_TRUE(failing.detached);
    EXPECT_EQ(failing.reports, std::vector<std::string>{"creation failed"});
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
    HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), nullptr,
                                dialogTrampoline, LPARAM(static_cast<DialogHandler*>(&r)));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(r.initialised);
    SendMessageW(d, kThrow, 0, 0);
    EXPECT_EQ(r.reports, std::vector<std::string>{"dialog boom"});
    DestroyWindow(d);
}

// The program's own key table against the main window, the keys typed into a tool window's
// controls: Backspace in a field must not black out the picture, nor Space on a button play.
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
    const HACCEL keys =
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_TRUE(mainWindow.get() && tool.get() && edit && button && keys);
    struct Case {
        HWND target;
        WPARAM key;
        bool control;
        int command;  // 0: the key stays with the control
    };
    const Case cases[] = {
        {edit, VK_BACK, false, 0},
        {edit, VK_DELETE, false, 0},
        {edit, 'R', false, 0},
        {edit, VK_F5, false, IDM_RENDER_IMAGE},
        {edit, 'Z', true, IDM_UNDO},
        {button, VK_SPACE, false, 0},
        {button, 'C', false, 0},
        {button, VK_F6, false, IDM_RENDER_WITHOUT_BLUE},
        {button, 'S', true, IDM_SAVE_IMAGE_AS},
        {tool.get(), VK_SPACE, false, IDM_PLAY},
        {tool.get(), VK_BACK, false, IDM_DELETE},
        {mainWindow.get(), 'R', false, IDM_REFRESH_FROM_FILE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << c.key << (c.control ? " with Ctrl" : ""));
        BYTE state[256]{};
        state[VK_CONTROL] = c.control ? 0x80 : 0;
        SetKeyboardState(state);
        main.commands.clear();
        MSG msg{c.target, WM_KEYDOWN, c.key, 1, 0, {}};
        EXPECT_EQ(translateProgramKey(mainWindow.get(), keys, msg), c.command != 0);
        EXPECT_EQ(main.commands, c.command ? std::vector<int>{c.command} : std::vector<int>{});
    }
    BYTE none[256]{};
    SetKeyboardState(none);
}

// (Plain conversions and formatting run through every test with names outside ASCII; the status
// texts they format: canvas_window_test.)
TEST(Text, Utf16OutsideTheBasicPlaneIllFormedInputAndBoundedFormatting) {
    EXPECT_EQ(toUtf16("\xf0\x9f\x8e\xb5"), L"\xd83c\xdfb5");
    EXPECT_EQ(toUtf8(L"\xd83c\xdfb5"), "\xf0\x9f\x8e\xb5");
    EXPECT_EQ(toUtf8(L""), "");
    // Ill-formed input comes out with U+FFFD in place of the bad part, never fails.
    EXPECT_EQ(toUtf16(std::string("a\xff") + "b"),
              L"a\xfffd"
              L"b");
    EXPECT_EQ(toUtf8(L"x\xd800y"), "x\xef\xbf\xbdy");
    EXPECT_EQ(formatText(5, L"%ls", L"abcdefgh"), L"abcde");
    EXPECT_EQ(formatText(40, L"Lumetra%.2d", 7), L"Lumetra07");
}

}  // namespace
}  // namespace lumetra::win
