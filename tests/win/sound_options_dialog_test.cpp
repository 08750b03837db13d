// The "Soundcard/Realtime Options" dialog through its resource: what the lists show, what a choice
// changes, and what OK and Cancel leave behind. (The rules behind the lists, the count and the
// backup: sound_options_rules_test; a device, a rate and a count chosen and kept: end to end.)

#include "render/win/sound_options_dialog.h"

#include "render/sound_options_rules.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

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
    // The device list's entries, the selected one in brackets.
    std::wstring devices() {
        std::wstring texts;
        const auto selected = SendDlgItemMessageW(dialog_, IDC_DEVICE_LIST, CB_GETCURSEL, 0, 0);
        for (LRESULT i = 0; i < SendDlgItemMessageW(dialog_, IDC_DEVICE_LIST, CB_GETCOUNT, 0, 0);
             ++i) {
            wchar_t text[64] = {};
            SendDlgItemMessageW(dialog_, IDC_DEVICE_LIST, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            texts += (i ? L" " : L"") + (i == selected ? L"[" + std::wstring(text) + L"]" : text);
        }
        return texts;
    }
    // The user picks entry `index` of a list and confirms it.
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

// The mapper heads the device list when there is one.
TEST_F(SoundOptionsDialogTest, TheDeviceListShowsTheMapperWhenThereIsOne) {
    open();
    EXPECT_EQ(devices(), L"Wave Mapper Out: default [Out: second]");
    EXPECT_TRUE(checked(dialog_, IDC_STEREO) && !IsWindowEnabled(GetDlgItem(dialog_, IDC_STEREO)));
    devices_.mapperPresent = false;
    options_.device = 0;
    open();
    EXPECT_EQ(devices(), L"[Out: default] Out: second");
    choose(IDC_DEVICE_LIST, 1);
    EXPECT_EQ(options_.device, 1);
}

TEST_F(SoundOptionsDialogTest, OkReallocatesOrPutsTheBackupBackAsCancelDoes) {
    const std::string kFailed =
        "Could not get memory for new sound options\nIt may be wise to save your work now and\n"
        "try to restart Lumetra";
    const std::string kBefore = "device 1, 8 x 4096, 22050 Hz";
    // Memory to be had, the button, and what it leaves.
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
