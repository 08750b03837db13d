// The Echord Tool window's patch buttons: Shift on slot "00" does nothing at all. Its record, the
// current slot and the pressed button stay as they were, in this bank and after a change of bank.

#include "tools/win/echord_window.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

class NoHost final : public EchordHost {
  public:
    void applyEchord(const EchordSettings&) override {}
};

class EchordWindowTest : public ::testing::Test {
  public:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        dialog_ = window_.create(GetModuleHandleW(nullptr), nullptr, IDD_ECHORD);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override {
        holdShift(false);
        DestroyWindow(dialog_);
    }
    void holdShift(bool held) {
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    // A push-like radio button as the user presses it: the platform checks it, then reports.
    void press(int first, int last, int id) {
        CheckRadioButton(dialog_, first, last, id);
        SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
    }
    bool checked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

    EchordPatchTable patches_ = builtInEchordPatches();
    NoHost host_;
    HWND active_ = nullptr;
    EchordWindow window_{ToolPlacement{}, active_, patches_, host_};
    HWND dialog_ = nullptr;
};

TEST_F(EchordWindowTest, ShiftOnTheEmptySlotDoesNothingAtAll) {
    const EchordPatchTable before = patches_;
    press(IDC_SLOT_1, IDC_SLOT_00, IDC_SLOT_1 + 1);  // A2 recalled
    holdShift(true);
    press(IDC_SLOT_1, IDC_SLOT_00, IDC_SLOT_00);
    holdShift(false);
    EXPECT_TRUE(patches_ == before) << "no record stored";
    EXPECT_TRUE(checked(IDC_SLOT_1 + 1));
    EXPECT_FALSE(checked(IDC_SLOT_00));
    // The current slot is still A2: bank B shows none pressed, bank A shows A2 again.
    press(IDC_BANK_A, IDC_BANK_B, IDC_BANK_B);
    EXPECT_FALSE(checked(IDC_SLOT_1 + 1) || checked(IDC_SLOT_00));
    press(IDC_BANK_A, IDC_BANK_B, IDC_BANK_A);
    EXPECT_TRUE(checked(IDC_SLOT_1 + 1));
    EXPECT_FALSE(checked(IDC_SLOT_00));
}

}  // namespace
}  // namespace lumetra::win
