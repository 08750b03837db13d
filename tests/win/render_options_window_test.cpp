// The Render Options window edits the settings its host hands it: leaving a field applies that
// field's rule, each arrow steps its own field, the check box and the slider set their fields, the
// derived displays follow, and every accepted change is reported to the host. (The fields' rules
// and texts: render_fields_test.)

#include "document/win/render_options_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_test.h"
#include "resources/resource_ids.h"

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
    int changes = 0;
    int renders = 0;
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
    std::vector<std::wstring> fields() {
        return {field(IDC_LOW),  field(IDC_HIGH),           field(IDC_STEP),
                field(IDC_TIME), field(IDC_TIME_PER_PIXEL), field(IDC_AMP)};
    }
    int slider() { return int(SendDlgItemMessageW(dialog_, IDC_NOISE_SLIDER, TBM_GETPOS, 0, 0)); }
    void arrow(int spin, int delta) {
        NMUPDOWN change{};
        change.hdr.hwndFrom = GetDlgItem(dialog_, spin);
        change.hdr.idFrom = UINT_PTR(spin);
        change.hdr.code = UDN_DELTAPOS;
        change.iDelta = delta;
        SendMessageW(dialog_, WM_NOTIFY, WPARAM(spin), reinterpret_cast<LPARAM>(&change));
    }

    FakeHost host_;
    HWND active_ = nullptr;
    RenderOptionsWindow window_{ToolPlacement{}, active_, host_};
    HWND dialog_ = nullptr;
    RenderSettings& settings() { return host_.settings; }
};

TEST_F(RenderOptionsTest, ShowingAndRefreshingFillTheFieldsTypingOnlyTheDerivedOnes) {
    EXPECT_EQ(slider(), 7) << "the default bandwidth before the first fill";
    settings().lowFrequency = 60;
    settings().noiseBandwidth = 4;
    window_.refreshIfOpen();
    EXPECT_NE(field(IDC_LOW), L"60.000") << "hidden: not refreshed";
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    EXPECT_EQ(fields(), (std::vector<std::wstring>{L"60.000", L"8000.000", L"56.47 cent/line",
                                                   L"5.00", L"16.67 millisec", L"10.00"}));
    EXPECT_EQ(slider(), 4);
    settings().ampFactor = 2.5;
    window_.refreshIfOpen();
    EXPECT_EQ(field(IDC_AMP), L"2.50");
    // Typing updates the derived displays only.
    SetDlgItemTextW(dialog_, IDC_TIME, L"10");
    EXPECT_EQ(field(IDC_TIME_PER_PIXEL), L"33.33 millisec");
    SetDlgItemTextW(dialog_, IDC_HIGH, L"16000");
    EXPECT_EQ(field(IDC_STEP), L"64.47 cent/line");
    EXPECT_DOUBLE_EQ(settings().outputTime, 5.0);
    EXPECT_DOUBLE_EQ(settings().highFrequency, 8000.0);
    EXPECT_EQ(host_.changes, 0);
}

TEST_F(RenderOptionsTest, EachFieldAndArrowChangesItsOwnSetting) {
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    using S = RenderSettings;
    const struct {
        int control;           // a field left with `typed`, or an arrow stepped by `delta`
        const wchar_t* typed;  // null: an arrow
        int delta;
        double S::*setting;
        double expected;
        int field;
        const wchar_t* shown;
    } cases[] = {
        {IDC_LOW, L"100.5", 0, &S::lowFrequency, 100.5, IDC_LOW, L"100.500"},
        {IDC_LOW, L"7999.5", 0, &S::lowFrequency, 100.5, IDC_LOW, L"100.500"},  // refused
        {IDC_SPIN_LOW, nullptr, -1, &S::lowFrequency, 90.5, IDC_LOW, L"90.500"},
        {IDC_HIGH, L"4000", 0, &S::highFrequency, 4000.0, IDC_STEP, L"43.73 cent/line"},
        {IDC_SPIN_HIGH, nullptr, 1, &S::highFrequency, 4500.0, IDC_HIGH, L"4500.000"},
        // The host's sample rate sets the values per pixel (checked at the end).
        {IDC_TIME, L"12000", 0, &S::outputTime, 9000.0, IDC_TIME, L"9000.00"},
        {IDC_SPIN_TIME, nullptr, -1, &S::outputTime, 8999.0, IDC_TIME_PER_PIXEL,
         L"29996.67 millisec"},
        {IDC_AMP, L"3.25", 0, &S::ampFactor, 3.25, IDC_AMP, L"3.25"},
        {IDC_SPIN_AMP, nullptr, 1, &S::ampFactor, 3.75, IDC_AMP, L"3.75"},
        {IDC_SPIN_AMP, nullptr, 0, &S::ampFactor, 3.75, IDC_AMP, L"3.75"},  // no step, no change
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.control << " " << c.delta);
        const RenderSettings before = settings();
        const int changesBefore = host_.changes;
        if (c.typed)
            leaveField(dialog_, c.control, c.typed);
        else
            arrow(c.control, c.delta);
        EXPECT_DOUBLE_EQ(settings().*c.setting, c.expected);
        EXPECT_EQ(field(c.field), c.shown);
        for (auto other : {&S::lowFrequency, &S::highFrequency, &S::outputTime, &S::ampFactor}) {
            if (other != c.setting) {
                EXPECT_DOUBLE_EQ(settings().*other, before.*other);
            }
        }
        EXPECT_EQ(host_.changes, changesBefore + (c.typed || c.delta ? 1 : 0));
    }
    EXPECT_EQ(settings().samplesPerPixel, 239203);  // 8000 Hz * 9000 s / 301, rounded
}

TEST_F(RenderOptionsTest, CheckBoxSliderAndRenderButton) {
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    CheckDlgButton(dialog_, IDC_SOFT_SWEEPS, BST_CHECKED);
    click(dialog_, IDC_SOFT_SWEEPS);
    EXPECT_EQ(settings().softSweeps, 1);
    // The slider runs over the whole range 0..15: the default shows at its top.
    EXPECT_EQ(slider(), 15);
    HWND slider = GetDlgItem(dialog_, IDC_NOISE_SLIDER);
    SendMessageW(slider, TBM_SETPOS, TRUE, 12);
    // Moving the thumb alone stores nothing; the end of the drag does.
    SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 12),
                 reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(settings().noiseBandwidth, 15);
    SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(settings().noiseBandwidth, 12);
    EXPECT_EQ(host_.renders, 0);
    click(dialog_, IDC_RENDER_BUTTON);
    EXPECT_EQ(host_.renders, 1);
}

}  // namespace
}  // namespace lumetra::win
