// The Render Options window edits the settings of the picture in the canvas: leaving a field
// applies its rule, the arrows step, the check box and the slider set their fields, and the
// derived displays follow.

#include "document/win/render_options_window.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "base/win/text.h"
#include "document/win/canvas_window.h"
#include "resources/resource_ids.h"
#include "shell/win/app_state.h"
#include "shell/win/render_runtime.h"

namespace lumetra::win {
namespace {

class RenderOptionsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { CanvasWindow::registerClass(GetModuleHandleW(nullptr)); }

    void SetUp() override {
        AppState& s = appState();
        s.defaultSettings = RenderSettings{};
        s.sound = SoundOptions{};
        s.sound.sampleRate = 48000;  // no pitch here reaches the Nyquist warning box
        ASSERT_TRUE(startRenderRuntime());
        frame_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        canvas_ = CanvasWindow::create(frame_, GetModuleHandleW(nullptr), RECT{0, 0, 500, 300});
        ASSERT_NE(canvas_, nullptr);
        s.canvasRecord = canvas_;
        dialog_ = window_.create(GetModuleHandleW(nullptr), frame_, IDD_RENDER_OPTIONS);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOWNOACTIVATE);  // showing fills the fields
    }

    void TearDown() override {
        DestroyWindow(dialog_);
        appState().canvasRecord = nullptr;
        DestroyWindow(frame_);
    }

    RenderSettings& settings() { return canvas_->document().current.settings; }
    std::wstring field(int id) { return windowText(GetDlgItem(dialog_, id)); }

    // Types `text` into a field and leaves it.
    void leave(int id, const wchar_t* text) {
        SetDlgItemTextW(dialog_, id, text);
        SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
    }

    void arrow(int spin, int delta) {
        NMUPDOWN change{};
        change.hdr.hwndFrom = GetDlgItem(dialog_, spin);
        change.hdr.idFrom = UINT_PTR(spin);
        change.hdr.code = UDN_DELTAPOS;
        change.iDelta = delta;
        SendMessageW(dialog_, WM_NOTIFY, WPARAM(spin), reinterpret_cast<LPARAM>(&change));
    }

    HWND frame_ = nullptr;
    CanvasWindow* canvas_ = nullptr;
    RenderOptionsWindow window_;
    HWND dialog_ = nullptr;
};

TEST_F(RenderOptionsTest, FieldsShowThePicturesSettings) {
    EXPECT_EQ(field(IDC_LOW), L"50.000");
    EXPECT_EQ(field(IDC_HIGH), L"8000.000");
    EXPECT_EQ(field(IDC_STEP), L"58.58 cent/line");
    EXPECT_EQ(field(IDC_TIME), L"5.00");
    EXPECT_EQ(field(IDC_TIME_PER_PIXEL), L"16.67 millisec");
    EXPECT_EQ(field(IDC_AMP), L"10.00");
}

TEST_F(RenderOptionsTest, LeavingAFieldAppliesItsRule) {
    leave(IDC_LOW, L"100.5");
    EXPECT_DOUBLE_EQ(settings().lowFrequency, 100.5);
    EXPECT_EQ(field(IDC_LOW), L"100.500");
    leave(IDC_LOW, L"7999.5");  // not below High - 1: refused, the field shows the stored value
    EXPECT_DOUBLE_EQ(settings().lowFrequency, 100.5);
    EXPECT_EQ(field(IDC_LOW), L"100.500");
    leave(IDC_TIME, L"0.3");
    EXPECT_DOUBLE_EQ(settings().outputTime, 5.0);
    leave(IDC_TIME, L"12000");
    EXPECT_DOUBLE_EQ(settings().outputTime, 9000.0);
    EXPECT_EQ(field(IDC_TIME), L"9000.00");
    leave(IDC_AMP, L"0");
    EXPECT_DOUBLE_EQ(settings().ampFactor, 10.0);
    // The oscillators follow every accepted change.
    leave(IDC_HIGH, L"4000");
    ASSERT_EQ(settings().rowFrequencies.size(), size_t(settings().height));
    EXPECT_NEAR(settings().rowFrequencies.back(), 4000.0, 1e-6);
}

TEST_F(RenderOptionsTest, ArrowsStepAndSnap) {
    leave(IDC_HIGH, L"10000");
    arrow(IDC_SPIN_HIGH, 1);
    EXPECT_DOUBLE_EQ(settings().highFrequency, 11025.0);
    arrow(IDC_SPIN_HIGH, 1);
    EXPECT_DOUBLE_EQ(settings().highFrequency, 13000.0);
    leave(IDC_LOW, L"55");
    arrow(IDC_SPIN_LOW, -1);
    EXPECT_DOUBLE_EQ(settings().lowFrequency, 50.0);
    leave(IDC_LOW, L"55");
    arrow(IDC_SPIN_LOW, 1);
    EXPECT_DOUBLE_EQ(settings().lowFrequency, 70.0);
    arrow(IDC_SPIN_TIME, 1);
    EXPECT_DOUBLE_EQ(settings().outputTime, 6.0);
    EXPECT_EQ(field(IDC_TIME), L"6.00");
    arrow(IDC_SPIN_AMP, -1);
    EXPECT_DOUBLE_EQ(settings().ampFactor, 9.5);
    arrow(IDC_SPIN_AMP, 0);  // no change, nothing happens
    EXPECT_DOUBLE_EQ(settings().ampFactor, 9.5);
}

TEST_F(RenderOptionsTest, TypingUpdatesTheDerivedDisplaysOnly) {
    SetDlgItemTextW(dialog_, IDC_TIME, L"10");
    EXPECT_EQ(field(IDC_TIME_PER_PIXEL), L"33.33 millisec");
    EXPECT_DOUBLE_EQ(settings().outputTime, 5.0);
    SetDlgItemTextW(dialog_, IDC_HIGH, L"16000");
    EXPECT_NE(field(IDC_STEP), L"58.58 cent/line");
    EXPECT_DOUBLE_EQ(settings().highFrequency, 8000.0);
}

TEST_F(RenderOptionsTest, CheckBoxAndSlider) {
    CheckDlgButton(dialog_, IDC_SOFT_SWEEPS, BST_CHECKED);
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDC_SOFT_SWEEPS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog_, IDC_SOFT_SWEEPS)));
    EXPECT_EQ(settings().softSweeps, 1);
    HWND slider = GetDlgItem(dialog_, IDC_NOISE_SLIDER);
    SendMessageW(slider, TBM_SETPOS, TRUE, 3);
    // Moving the thumb alone stores nothing; the end of the drag does.
    SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 3),
                 reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(settings().noiseBandwidth, 15);
    SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(settings().noiseBandwidth, 3);
}

}  // namespace
}  // namespace lumetra::win
