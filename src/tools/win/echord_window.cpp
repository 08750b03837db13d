#include "tools/win/echord_window.h"

#include <commctrl.h>

#include "base/win/utf16.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

constexpr UINT_PTR kReadoutTimer = 7373;
constexpr UINT kReadoutDelayMs = 30000;

struct Switch {
    int control;
    std::int32_t EchordSettings::*field;
};
constexpr Switch kSwitches[] = {{IDC_ECHORD_SWAP, &EchordSettings::swap},
                                {IDC_ECHORD_ALT, &EchordSettings::alt},
                                {IDC_ECHORD_WRAP, &EchordSettings::wrap}};

void setText(HWND dialog, int control, const std::string& utf8) {
    SetDlgItemTextW(dialog, control, toUtf16(utf8).c_str());
}

}  // namespace

INT_PTR EchordWindow::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise(dialog);
            return TRUE;
        case WM_HSCROLL:
            if (lParam) sliderMoved(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return TRUE;
        case WM_TIMER:
            if (wParam != kReadoutTimer) return FALSE;
            KillTimer(dialog, kReadoutTimer);
            readout_.showDefaults();
            showTexts(dialog);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            command(dialog, LOWORD(wParam));
            return LOWORD(wParam) == IDCANCEL ? FALSE : TRUE;
        case WM_DESTROY:
            KillTimer(dialog, kReadoutTimer);
            return FALSE;
    }
    return FALSE;
}

void EchordWindow::initialise(HWND dialog) {
    for (const EchordSlider& s : echordSliders()) {
        HWND slider = GetDlgItem(dialog, s.control);
        SendMessageW(slider, TBM_SETRANGEMIN, FALSE, 0);
        SendMessageW(slider, TBM_SETRANGEMAX, FALSE, s.maximum - s.minimum);
        SendMessageW(slider, TBM_SETPAGESIZE, 0, kEchordSliderPage);
        SetWindowTextW(slider, toUtf16(std::string(s.format)).c_str());
    }
    setItemBold(IDC_ECHORD_PARAMETERS_GROUP);
    setItemBold(IDC_ECHORD_APPLY_GROUP);
    CheckRadioButton(dialog, IDC_BANK_A, IDC_BANK_B, IDC_BANK_A);
    recall(dialog, 0);
}

void EchordWindow::sliderMoved(HWND dialog, HWND slider, int code) {
    const EchordSlider* s = findEchordSlider(GetDlgCtrlID(slider));
    if (!s) return;
    if (code == TB_ENDTRACK) {
        SetTimer(dialog, kReadoutTimer, kReadoutDelayMs, nullptr);
        return;
    }
    const auto position = std::int32_t(SendMessageW(slider, TBM_GETPOS, 0, 0));
    const std::int32_t shown = moveEchordSlider(*s, position, shiftHeld(), settings_, hopSliders_);
    if (shown != position) SendMessageW(slider, TBM_SETPOS, TRUE, shown);
    if (!s->format.empty()) readout_.touch(s->control);
    showTexts(dialog);
}

void EchordWindow::command(HWND dialog, int control) {
    for (const Switch& s : kSwitches) {
        if (s.control == control) {
            settings_.*s.field = IsDlgButtonChecked(dialog, control) == BST_CHECKED ? 1 : 0;
            return;
        }
    }
    if (control == IDC_ECHORD_APPLY) {
        host_.applyEchord(settings_);
    } else if (control == IDC_BANK_A || control == IDC_BANK_B) {
        bankClicked(dialog, control == IDC_BANK_B);
    } else if (control >= IDC_SLOT_1 && control <= IDC_SLOT_00) {
        slotClicked(dialog, control - IDC_SLOT_1);
    }
}

bool EchordWindow::bankB(HWND dialog) const {
    return IsDlgButtonChecked(dialog, IDC_BANK_B) == BST_CHECKED;
}

void EchordWindow::slotClicked(HWND dialog, int button) {
    const std::size_t slot = echordSlotIndex(bankB(dialog), std::size_t(button));
    if (!shiftHeld()) {
        recall(dialog, slot);
        return;
    }
    // Slot "00" of each bank keeps its record: it is the way back to no echo at all. Shift on it
    // does nothing, and the pressed button stays the current slot's.
    if (std::size_t(button) == kEchordEmptySlotButton) {
        bankClicked(dialog, bankB(dialog));
        return;
    }
    patches_[slot] = storeEchordPatch(settings_, hopSliders_);
    currentSlot_ = slot;
}

void EchordWindow::bankClicked(HWND dialog, bool toB) {
    const bool currentInB = currentSlot_ >= kEchordSlotsPerBank;
    for (int id = IDC_SLOT_1; id <= IDC_SLOT_00; ++id)
        CheckDlgButton(dialog, id, BST_UNCHECKED);
    if (currentInB == toB)
        CheckDlgButton(dialog, IDC_SLOT_1 + int(currentSlot_ % kEchordSlotsPerBank), BST_CHECKED);
}

void EchordWindow::recall(HWND dialog, std::size_t slot) {
    const RecalledEchord recalled = recallEchordPatch(patches_[slot]);
    settings_ = recalled.settings;
    hopSliders_ = recalled.sliders;
    currentSlot_ = slot;
    for (int id = IDC_SLOT_1; id <= IDC_SLOT_00; ++id)
        CheckDlgButton(
            dialog, id,
            id == IDC_SLOT_1 + int(slot % kEchordSlotsPerBank) ? BST_CHECKED : BST_UNCHECKED);
    showSliders(dialog);
    showSwitches(dialog);
    readout_.showDefaults();
    showTexts(dialog);
}

void EchordWindow::showSliders(HWND dialog) {
    for (const EchordSlider& s : echordSliders())
        SendDlgItemMessageW(dialog, s.control, TBM_SETPOS, TRUE,
                            echordSliderPosition(s, settings_, hopSliders_));
}

void EchordWindow::showSwitches(HWND dialog) {
    for (const Switch& s : kSwitches)
        CheckDlgButton(dialog, s.control, settings_.*s.field ? BST_CHECKED : BST_UNCHECKED);
}

void EchordWindow::showTexts(HWND dialog) {
    setText(dialog, IDC_ECHORD_ANGLE_TEXT, echordAngleText(settings_));
    setText(dialog, IDC_ECHORD_WARP_TEXT, echordWarpText(settings_));
    setText(dialog, IDC_ECHORD_READOUT, readout_.text(settings_));
}

}  // namespace lumetra::win
