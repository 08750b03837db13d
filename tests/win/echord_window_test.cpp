// The Echord Tool window's patch buttons: Shift on slot "00" does nothing at all. Its record, the
// current slot and the pressed button stay as they were, in this bank and after a change of bank.

#include "tools/win/echord_window.h"

#include <gtest/gtest.h>

#include "base/win/unique_handle.h"
#include "dialog_test.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

class NoHost final : public EchordHost {
  public:
    void applyEchord(const EchordSettings&) override {}
};

TEST(EchordWindow, ShiftOnTheEmptySlotDoesNothingAtAll) {
    initCommonControls();
    EchordPatchTable patches = builtInEchordPatches();
    NoHost host;
    HWND active = nullptr;
    EchordWindow window{ToolPlacement{}, active, patches, host};
    const UniqueWindow dialog(window.create(module(), nullptr, IDD_ECHORD));
    ASSERT_TRUE(dialog);
    const HWND d = dialog.get();
    const EchordPatchTable before = patches;
    press(d, IDC_SLOT_1, IDC_SLOT_00, IDC_SLOT_1 + 1);  // A2 recalled
    holdShift(true);
    press(d, IDC_SLOT_1, IDC_SLOT_00, IDC_SLOT_00);
    holdShift(false);
    EXPECT_TRUE(patches == before) << "no record stored";
    EXPECT_TRUE(checked(d, IDC_SLOT_1 + 1) && !checked(d, IDC_SLOT_00));
    // The current slot is still A2: bank B shows none pressed, bank A shows A2 again.
    press(d, IDC_BANK_A, IDC_BANK_B, IDC_BANK_B);
    EXPECT_FALSE(checked(d, IDC_SLOT_1 + 1) || checked(d, IDC_SLOT_00));
    press(d, IDC_BANK_A, IDC_BANK_B, IDC_BANK_A);
    EXPECT_TRUE(checked(d, IDC_SLOT_1 + 1) && !checked(d, IDC_SLOT_00));
}

}  // namespace
}  // namespace lumetra::win
