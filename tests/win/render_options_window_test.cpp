// The Render Options window edits the settings its host hands it: leaving a field applies that
// field's rule, each arrow steps its own field, the check box and the slider set their fields, the
// derived displays follow, and every accepted change is reported. (The rules: render_fields_test.)

#include "document/win/render_options_window.h"

#include "win_test.h"

namespace lumetra::win {
namespace {

// Takes the edits as the program does: stored, then the window refilled.
class FakeHost final : public RenderOptionsHost {
  public:
    RenderSettings editedSettings() override { return settings; }
    int sampleRate() override { return 8000; }
    int defaultNoiseBandwidth() override { return 7; }
    void settingsEdited(const RenderSettings& edited, bool fieldLeftOrArrow) override {
        changes += fieldLeftOrArrow ? 1 : 0;
        settings = edited;
        if (window) window->refreshIfOpen();
    }
    void renderPressed() override { ++renders; }

    RenderSettings settings;
    RenderOptionsWindow* window = nullptr;
    int changes = 0, renders = 0;
};

class RenderOptionsTest : public ::testing::Test {
  public:
    void SetUp() override {
        initCommonControls();
        host_.window = &window_;
        dialog_ = window_.create(module(), nullptr, IDD_RENDER_OPTIONS);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override { DestroyWindow(dialog_); }
    std::wstring field(int id) { return itemText(dialog_, id); }
    int slider() { return int(SendDlgItemMessageW(dialog_, IDC_NOISE_SLIDER, TBM_GETPOS, 0, 0)); }
    void slide(int position, int how) {
        HWND slider = GetDlgItem(dialog_, IDC_NOISE_SLIDER);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(how, position), LPARAM(slider));
    }
    void arrow(int spin, int delta) {
        NMUPDOWN change{{GetDlgItem(dialog_, spin), UINT_PTR(spin), UINT(UDN_DELTAPOS)}, 0, delta};
        SendMessageW(dialog_, WM_NOTIFY, WPARAM(spin), reinterpret_cast<LPARAM>(&change));
    }

    FakeHost host_;
    HWND active_ = nullptr;
    RenderOptionsWindow window_{ToolPlacement{}, active_, host_};
    HWND dialog_ = nullptr;
};

TEST_F(RenderOptionsTest, ShowingAndRefreshingFillTheFieldsTypingOnlyTheDerivedOnes) {
    EXPECT_EQ(slider(), 7) << "the default bandwidth before the first fill";
    host_.settings.lowFrequency = 60;
    host_.settings.noiseBandwidth = 4;
    window_.refreshIfOpen();
    EXPECT_NE(field(IDC_LOW), L"60.000") << "hidden: not refreshed";
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    const std::vector<std::wstring> shown = {
        field(IDC_LOW),  field(IDC_HIGH),           field(IDC_STEP),
        field(IDC_TIME), field(IDC_TIME_PER_PIXEL), field(IDC_AMP)};
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"60.000", L"8000.000", L"56.47 cent/line", L"5.00",
                                                L"16.67 millisec", L"10.00"}));
    EXPECT_EQ(slider(), 4);
    // Typing updates the derived displays only.
    SetDlgItemTextW(dialog_, IDC_TIME, L"10");
    EXPECT_EQ(field(IDC_TIME_PER_PIXEL), L"33.33 millisec");
    SetDlgItemTextW(dialog_, IDC_HIGH, L"16000");
    EXPECT_EQ(field(IDC_STEP), L"64.47 cent/line");
    EXPECT_DOUBLE_EQ(host_.settings.outputTime, 5.0);
    EXPECT_DOUBLE_EQ(host_.settings.highFrequency, 8000.0);
    EXPECT_EQ(host_.changes, 0);
}

TEST_F(RenderOptionsTest, EachFieldAndArrowChangesItsOwnSetting) {
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    using S = RenderSettings;
    // A field left with a text, or an arrow stepped (null text); the setting it changed, and a
    // field's text after.
    const std::tuple<int, const wchar_t*, int, double S::*, double, int, const wchar_t*> cases[] = {
        {IDC_LOW, L"100.5", 0, &S::lowFrequency, 100.5, IDC_LOW, L"100.500"},
        {IDC_LOW, L"7999.5", 0, &S::lowFrequency, 100.5, IDC_LOW, L"100.500"},  // refused
        {IDC_SPIN_LOW, nullptr, -1, &S::lowFrequency, 90.5, IDC_LOW, L"90.500"},
        {IDC_HIGH, L"4000", 0, &S::highFrequency, 4000.0, IDC_STEP, L"43.73 cent/line"},
        {IDC_SPIN_HIGH, nullptr, 1, &S::highFrequency, 4500.0, IDC_HIGH, L"4500.000"},
        {IDC_TIME, L"12000", 0, &S::outputTime, 9000.0, IDC_TIME, L"9000.00"},
        {IDC_SPIN_TIME, nullptr, -1, &S::outputTime, 8999.0, IDC_TIME_PER_PIXEL,
         L"29996.67 millisec"},
        {IDC_AMP, L"3.25", 0, &S::ampFactor, 3.25, IDC_AMP, L"3.25"},
        {IDC_SPIN_AMP, nullptr, 1, &S::ampFactor, 3.75, IDC_AMP, L"3.75"},
        {IDC_SPIN_AMP, nullptr, 0, &S::ampFactor, 3.75, IDC_AMP, L"3.75"},  // no step, no change
    };
    for (const auto& [control, typed, delta, setting, expected, shownField, shown] : cases) {
        SCOPED_TRACE(::testing::Message() << control << " " << delta);
        const RenderSettings before = host_.settings;
        const int changesBefore = host_.changes;
        if (typed)
            leaveField(dialog_, control, typed);
        else
            arrow(control, delta);
        EXPECT_DOUBLE_EQ(host_.settings.*setting, expected);
        EXPECT_EQ(field(shownField), shown);
        for (auto other : {&S::lowFrequency, &S::highFrequency, &S::outputTime, &S::ampFactor})
            EXPECT_TRUE(other == setting || host_.settings.*other == before.*other);
        EXPECT_EQ(host_.changes, changesBefore + (typed || delta ? 1 : 0));
    }
    // The host's sample rate sets the values per pixel: 8000 Hz * 9000 s / 301, rounded.
    EXPECT_EQ(host_.settings.samplesPerPixel, 239203);
}

TEST_F(RenderOptionsTest, CheckBoxSliderAndRenderButton) {
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    CheckDlgButton(dialog_, IDC_SOFT_SWEEPS, BST_CHECKED);
    click(dialog_, IDC_SOFT_SWEEPS);
    EXPECT_EQ(host_.settings.softSweeps, 1);
    EXPECT_EQ(slider(), 15) << "the slider runs over 0..15: the default shows at its top";
    slide(12, TB_THUMBTRACK);
    EXPECT_EQ(host_.settings.noiseBandwidth, 15) << "moving the thumb alone stores nothing";
    slide(12, TB_ENDTRACK);
    EXPECT_EQ(host_.settings.noiseBandwidth, 12);
    EXPECT_EQ(host_.renders, 0);
    click(dialog_, IDC_RENDER_BUTTON);
    EXPECT_EQ(host_.renders, 1);
}

}  // namespace
}  // namespace lumetra::win
