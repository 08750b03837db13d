// The "Soundcard/Realtime Options" dialog through its resource: what the lists and the count field
// show, what a choice in them changes, and what OK and Cancel leave behind. (The rules behind the
// lists, the count and the backup: sound_options_rules_test.)

#include "render/win/sound_options_dialog.h"

#include <memory>
#include <utility>

#include "render/sound_options_rules.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

using Sizes = std::vector<std::pair<std::int32_t, std::int32_t>>;  // count, size

class SoundOptionsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        initCommonControls();
        devices_.mapperPresent = true;
        devices_.mapperName = "Wave Mapper";
        devices_.names = {"Out: default", "Out: second"};
        options_.device = 1;
        options_.bufferSize = 4096;
    }
    void TearDown() override { DestroyWindow(dialog_); }

    // Opens the dialog modeless (a modal one would wait for a user); its handler is the same.
    void open() {
        DestroyWindow(dialog_);
        SoundOptionsDialogPorts ports{
            [this](std::int32_t count, std::int32_t size) {
                reallocations_.emplace_back(count, size);
                return memoryAvailable_;
            },
            [this](const std::string& text) { warnings_.push_back(text); }};
        handler_ = std::make_unique<SoundOptionsDialog>(options_, devices_, std::move(ports));
        dialog_ =
            CreateDialogParamW(module(), MAKEINTRESOURCEW(IDD_SOUNDCARD), nullptr, dialogTrampoline,
                               LPARAM(static_cast<DialogHandler*>(handler_.get())));
        ASSERT_NE(dialog_, nullptr);
    }
    // A list's entries, the selected one in brackets.
    std::wstring list(int id) {
        std::wstring texts;
        const auto selected = SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0);
        for (LRESULT i = 0; i < SendDlgItemMessageW(dialog_, id, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[64] = {};
            SendDlgItemMessageW(dialog_, id, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
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
    bool memoryAvailable_ = true;
    Sizes reallocations_;
    std::vector<std::string> warnings_;
    std::unique_ptr<SoundOptionsDialog> handler_;
    HWND dialog_ = nullptr;
};

TEST_F(SoundOptionsDialogTest, ListsAndFieldsShowTheOptionsAndAChoiceSetsIt) {
    open();
    EXPECT_EQ(list(IDC_BUFFER_SIZE_LIST), L"256 512 1024 2048 [4096] 8192 16384");
    EXPECT_EQ(list(IDC_SAMPLE_RATE_LIST), L"48000 44100 32000 [22050] 16000 11025 8000");
    EXPECT_EQ(list(IDC_DEVICE_LIST), L"Wave Mapper Out: default [Out: second]");
    EXPECT_EQ(itemText(dialog_, IDC_BUFFER_COUNT), L"8");
    int low = 0, high = 0;
    SendDlgItemMessageW(dialog_, IDC_BUFFER_COUNT_SPIN, UDM_GETRANGE32, WPARAM(&low),
                        LPARAM(&high));
    EXPECT_EQ(std::pair(low, high), std::pair(3, 16));
    EXPECT_TRUE(checked(dialog_, IDC_STEREO) && !IsWindowEnabled(GetDlgItem(dialog_, IDC_STEREO)));
    choose(IDC_BUFFER_SIZE_LIST, 6);
    choose(IDC_DEVICE_LIST, 0);
    leaveField(dialog_, IDC_BUFFER_COUNT, L"17");  // refused: the count shows again
    EXPECT_EQ(itemText(dialog_, IDC_BUFFER_COUNT), L"8");
    EXPECT_EQ(optionsText(), "device -1, 8 x 16384, 22050 Hz");
    EXPECT_TRUE(reallocations_.empty());  // nothing is allocated before OK

    // Without a mapper the list starts with device 0; without devices OK keeps the mapper's number.
    devices_.mapperPresent = false;
    options_.device = 0;
    open();
    EXPECT_EQ(list(IDC_DEVICE_LIST), L"[Out: default] Out: second");
    choose(IDC_DEVICE_LIST, 1);
    EXPECT_EQ(options_.device, 1);
    devices_.names.clear();
    options_.device = -1;
    open();
    EXPECT_EQ(list(IDC_DEVICE_LIST), L"");
    click(dialog_, IDOK);
    EXPECT_EQ(options_.device, -1);
}

TEST_F(SoundOptionsDialogTest, OkReallocatesOrPutsTheBackupBackAsCancelDoes) {
    const std::string kFailed =
        "Could not get memory for new sound options\nIt may be wise to save your work now and\n"
        "try to restart Lumetra";
    // Memory to be had, the button, and what it leaves.
    const std::tuple<bool, int, bool, Sizes, const char*, std::vector<std::string>> cases[] = {
        {true, IDOK, true, {{12, 1024}}, "device -1, 12 x 1024, 11025 Hz", {}},
        {false, IDOK, false, {{12, 1024}}, "device 1, 8 x 4096, 22050 Hz", {kFailed}},
        {true, IDCANCEL, false, {}, "device 1, 8 x 4096, 22050 Hz", {}},
    };
    for (const auto& [memory, button, confirmed, reallocations, options, warnings] : cases) {
        SCOPED_TRACE(options);
        options_ = SoundOptions{};
        options_.device = 1;
        options_.bufferSize = 4096;
        reallocations_.clear();
        warnings_.clear();
        memoryAvailable_ = memory;
        open();
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
