// The Render Options window and the "Soundcard/Realtime Options" dialog: each field, arrow, list,
// check box and slider sets its own setting, the derived displays follow, OK and Cancel leave what
// they must. (The rules and texts: render_fields_test and sound_options_rules_test.)

#include "document/win/render_options_window.h"
#include "render/sound_options_rules.h"
#include "render/win/sound_options_dialog.h"
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

TEST_F(RenderOptionsTest, FillingTypingTheCheckBoxTheSliderAndRender) {
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
    SetDlgItemTextW(dialog_, IDC_TIME, L"10");
    EXPECT_EQ(field(IDC_TIME_PER_PIXEL), L"33.33 millisec");
    SetDlgItemTextW(dialog_, IDC_HIGH, L"16000");
    EXPECT_EQ(field(IDC_STEP), L"64.47 cent/line");
    EXPECT_DOUBLE_EQ(host_.settings.outputTime, 5.0);
    EXPECT_DOUBLE_EQ(host_.settings.highFrequency, 8000.0);
    EXPECT_EQ(host_.changes, 0);
    // The check box, the slider (at the end of a drag only) and the Render button.
    CheckDlgButton(dialog_, IDC_SOFT_SWEEPS, BST_CHECKED);
    click(dialog_, IDC_SOFT_SWEEPS);
    EXPECT_EQ(host_.settings.softSweeps, 1);
    slide(12, TB_THUMBTRACK);
    EXPECT_EQ(host_.settings.noiseBandwidth, 4) << "moving the thumb alone stores nothing";
    slide(12, TB_ENDTRACK);
    EXPECT_EQ(host_.settings.noiseBandwidth, 12);
    click(dialog_, IDC_RENDER_BUTTON);
    EXPECT_EQ(host_.renders, 1);
}

TEST_F(RenderOptionsTest, EachFieldAndArrowChangesItsOwnSetting) {
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    using S = RenderSettings;
    // A field left with a text, or an arrow stepped (null text); the setting it changed, and a
    // field's text after.
    const std::tuple<int, const wchar_t*, int, double S::*, double, int, const wchar_t*> cases[] = {
        {IDC_LOW, L"100.5", 0, &S::lowFrequency, 100.5, IDC_LOW, L"100.500"},
        {IDC_LOW, L"7999.5", 0, &S::lowFrequency, 100.5, IDC_LOW, L"100.500"},  // refused
        {IDC_HIGH, L"4000", 0, &S::highFrequency, 4000.0, IDC_STEP, L"42.52 cent/line"},
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

using Sizes = std::vector<std::pair<std::int32_t, std::int32_t>>;  // count, size

class SoundOptionsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        options_ = SoundOptions{};
        devices_.mapperPresent = true;
        devices_.mapperName = "Wave Mapper";
        devices_.names = {"Out: default", "Out: second"};
        options_.device = 1;
        options_.bufferSize = 4096;
    }
    void TearDown() override { DestroyWindow(dialog_); }
    // Opens the dialog modeless (a modal one would wait for a user); its handler is the same.
    void open(bool memory = true) {
        initCommonControls();
        DestroyWindow(dialog_);
        SoundOptionsDialogPorts ports{
            [this, memory](std::int32_t count, std::int32_t size) {
                reallocations_.emplace_back(count, size);
                return memory;
            },
            [this](const std::string& text) { warnings_.push_back(text); }};
        handler_ = std::make_unique<SoundOptionsDialog>(options_, devices_, std::move(ports));
        dialog_ =
            CreateDialogParamW(module(), MAKEINTRESOURCEW(IDD_SOUNDCARD), nullptr, dialogTrampoline,
                               LPARAM(static_cast<DialogHandler*>(handler_.get())));
        ASSERT_NE(dialog_, nullptr);
    }
    void choose(int id, int index) {
        SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, WPARAM(index), 0);
        notify(dialog_, id, CBN_SELENDOK);
    }
    std::string optionsText() const {
        return "device " + std::to_string(options_.device) + ", " +
               std::to_string(options_.bufferCount) + " x " + std::to_string(options_.bufferSize) +
               ", " + std::to_string(options_.sampleRate) + " Hz";
    }
    SoundOptions options_;
    WaveDeviceList devices_;
    Sizes reallocations_;
    std::vector<std::string> warnings_;
    std::unique_ptr<SoundOptionsDialog> handler_;
    HWND dialog_ = nullptr;
};

TEST_F(SoundOptionsDialogTest, OkReallocatesOrPutsTheBackupBackAsCancelDoes) {
    const std::string kFailed =
        "Could not get memory for new sound options\nIt may be wise to save your work now and\n"
        "try to restart Lumetra";
    const std::string kBefore = "device 1, 8 x 4096, 22050 Hz";
    const std::tuple<bool, int, bool, Sizes, std::string, std::vector<std::string>> cases[] = {
        {true, IDOK, true, {{12, 1024}}, "device -1, 12 x 1024, 11025 Hz", {}},
        {false, IDOK, false, {{12, 1024}}, kBefore, {kFailed}},
        {true, IDCANCEL, false, {}, kBefore, {}},
    };
    for (const auto& [memory, button, confirmed, reallocations, options, warnings] : cases) {
        SetUp();
        reallocations_.clear();
        warnings_.clear();
        open(memory);
        choose(IDC_BUFFER_SIZE_LIST, 2);
        choose(IDC_SAMPLE_RATE_LIST, 5);
        choose(IDC_DEVICE_LIST, 0);
        SetDlgItemTextW(dialog_, IDC_BUFFER_COUNT, L"12");  // typed but not left: OK takes it
        click(dialog_, button);
        EXPECT_EQ(handler_->confirmed(), confirmed);
        EXPECT_EQ(reallocations_, reallocations);
        EXPECT_EQ(optionsText(), options);
        EXPECT_EQ(warnings_, warnings);
    }
}

}  // namespace
}  // namespace lumetra::win
