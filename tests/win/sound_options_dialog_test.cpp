// The "Soundcard/Realtime Options" dialog through its resource: what the lists and the count
// field show, what a choice in them changes, and what OK and Cancel leave behind (the buffers
// reallocated, or the backup put back when they cannot be had).

#include "render/win/sound_options_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/win/text.h"
#include "render/sound_options_rules.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

using Texts = std::vector<std::wstring>;
using Sizes = std::vector<std::pair<std::int32_t, std::int32_t>>;  // count, size

class SoundOptionsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        devices_.mapperPresent = true;
        devices_.mapperName = "Wave Mapper";
        devices_.names = {"Out: default", "Out: second"};
        options_.device = 1;
        options_.bufferCount = 8;
        options_.bufferSize = 4096;
        options_.sampleRate = 22050;
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
    }

    // Opens the dialog modeless (a modal one would wait for a user); its handler is the same.
    void open() {
        SoundOptionsDialogPorts ports{
            [this](std::int32_t count, std::int32_t size) {
                reallocations_.emplace_back(count, size);
                return memoryAvailable_;
            },
            [this](const std::string& text) { warnings_.push_back(text); }};
        handler_ = std::make_unique<SoundOptionsDialog>(options_, devices_, std::move(ports));
        dialog_ = CreateDialogParamW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SOUNDCARD), nullptr, dialogTrampoline,
            reinterpret_cast<LPARAM>(static_cast<DialogHandler*>(handler_.get())));
        ASSERT_NE(dialog_, nullptr);
    }

    Texts listTexts(int id) {
        Texts texts;
        const LRESULT count = SendDlgItemMessageW(dialog_, id, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[64] = {};
            SendDlgItemMessageW(dialog_, id, CB_GETLBTEXT, WPARAM(i),
                                reinterpret_cast<LPARAM>(text));
            texts.emplace_back(text);
        }
        return texts;
    }
    int selected(int id) { return int(SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0)); }
    std::wstring field(int id) { return windowText(GetDlgItem(dialog_, id)); }
    void command(int id, int code) {
        SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
    }
    // The user picks entry `index` of a list and confirms it.
    void choose(int id, int index) {
        SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, WPARAM(index), 0);
        command(id, CBN_SELENDOK);
    }
    // The user types into the count field and leaves it.
    void typeCount(const wchar_t* text) {
        SetDlgItemTextW(dialog_, IDC_BUFFER_COUNT, text);
        command(IDC_BUFFER_COUNT, EN_KILLFOCUS);
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
    EXPECT_EQ(listTexts(IDC_BUFFER_SIZE_LIST),
              (Texts{L"256", L"512", L"1024", L"2048", L"4096", L"8192", L"16384"}));
    EXPECT_EQ(selected(IDC_BUFFER_SIZE_LIST), 4);
    EXPECT_EQ(listTexts(IDC_SAMPLE_RATE_LIST),
              (Texts{L"48000", L"44100", L"32000", L"22050", L"16000", L"11025", L"8000"}));
    EXPECT_EQ(selected(IDC_SAMPLE_RATE_LIST), 3);
    EXPECT_EQ(field(IDC_BUFFER_COUNT), L"8");
    int low = 0, high = 0;
    SendDlgItemMessageW(dialog_, IDC_BUFFER_COUNT_SPIN, UDM_GETRANGE32, WPARAM(&low),
                        LPARAM(&high));
    EXPECT_EQ(low, 3);
    EXPECT_EQ(high, 16);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_STEREO), UINT(BST_CHECKED));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDC_STEREO)));
    choose(IDC_BUFFER_SIZE_LIST, 6);
    choose(IDC_SAMPLE_RATE_LIST, 5);
    EXPECT_EQ(optionsText(), "device 1, 8 x 16384, 11025 Hz");
    EXPECT_TRUE(reallocations_.empty());  // nothing is allocated before OK

    // The device list numbers the devices behind the mapper.
    EXPECT_EQ(listTexts(IDC_DEVICE_LIST), (Texts{L"Wave Mapper", L"Out: default", L"Out: second"}));
    EXPECT_EQ(selected(IDC_DEVICE_LIST), 2);  // device 1
    choose(IDC_DEVICE_LIST, 0);
    EXPECT_EQ(options_.device, -1);
    DestroyWindow(dialog_);
    // Without a mapper the list starts with device 0; without devices it is empty and OK keeps
    // the mapper's number.
    devices_.mapperPresent = false;
    options_.device = 0;
    open();
    EXPECT_EQ(listTexts(IDC_DEVICE_LIST), (Texts{L"Out: default", L"Out: second"}));
    choose(IDC_DEVICE_LIST, 1);
    EXPECT_EQ(options_.device, 1);
    DestroyWindow(dialog_);
    devices_.names.clear();
    options_.device = -1;
    open();
    EXPECT_EQ(selected(IDC_DEVICE_LIST), CB_ERR);
    command(IDOK, BN_CLICKED);
    EXPECT_EQ(options_.device, -1);
}

TEST_F(SoundOptionsDialogTest, CountFieldTakesWhatTheRuleAcceptsAndShowsTheCountAgainElse) {
    open();
    typeCount(L"16");
    EXPECT_EQ(options_.bufferCount, 16);
    typeCount(L"17");  // the rule itself is the core's
    EXPECT_EQ(options_.bufferCount, 16);
    EXPECT_EQ(field(IDC_BUFFER_COUNT), L"16");
    // The up-down writes its position into the field and tells the dialog.
    SetDlgItemTextW(dialog_, IDC_BUFFER_COUNT, L"9");
    SendMessageW(dialog_, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 9),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog_, IDC_BUFFER_COUNT_SPIN)));
    EXPECT_EQ(options_.bufferCount, 9);
    EXPECT_EQ(LOWORD(SendDlgItemMessageW(dialog_, IDC_BUFFER_COUNT_SPIN, UDM_GETPOS, 0, 0)), 9);
}

TEST_F(SoundOptionsDialogTest, OkReallocatesOrPutsTheBackupBackAsCancelDoes) {
    struct Case {
        const char* what;
        bool memory;
        int button;
        bool confirmed;
        Sizes reallocations;
        std::string options;
        std::size_t warnings;
    };
    const Case cases[] = {
        {"OK", true, IDOK, true, {{12, 1024}}, "device -1, 12 x 1024, 11025 Hz", 0},
        {"OK without memory", false, IDOK, false, {{12, 1024}}, "device 1, 8 x 4096, 22050 Hz", 1},
        {"Cancel", true, IDCANCEL, false, {}, "device 1, 8 x 4096, 22050 Hz", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        memoryAvailable_ = c.memory;
        reallocations_.clear();
        warnings_.clear();
        open();
        choose(IDC_BUFFER_SIZE_LIST, 2);
        choose(IDC_SAMPLE_RATE_LIST, 5);
        choose(IDC_DEVICE_LIST, 0);
        // Typed but not left: Enter on OK still takes it.
        SetDlgItemTextW(dialog_, IDC_BUFFER_COUNT, L"12");
        command(c.button, BN_CLICKED);
        EXPECT_EQ(handler_->confirmed(), c.confirmed);
        EXPECT_EQ(reallocations_, c.reallocations);
        EXPECT_EQ(optionsText(), c.options);
        ASSERT_EQ(warnings_.size(), c.warnings);
        if (c.warnings) {
            EXPECT_EQ(warnings_[0], kNewOptionsMemoryText);
        }
        DestroyWindow(dialog_);
        dialog_ = nullptr;
    }
}

}  // namespace
}  // namespace lumetra::win
