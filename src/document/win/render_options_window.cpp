#include "document/win/render_options_window.h"

#include <commctrl.h>

#include <cmath>
#include <string>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "document/win/dialog_fields.h"
#include "render/render_fields.h"
#include "render/render_settings.h"
#include "resources/resource_ids.h"

namespace lumetra::win {

void RenderOptionsWindow::refreshIfOpen() {
    if (window() && IsWindowVisible(window())) fillFields();
}

void RenderOptionsWindow::fillFields() {
    const RenderSettings settings = host_.editedSettings();
    const RenderSettings* s = &settings;
    HWND d = window();
    if (!d) return;
    filling_ = true;
    setField(d, IDC_LOW, frequencyFieldText(s->lowFrequency));
    setField(d, IDC_HIGH, frequencyFieldText(s->highFrequency));
    setField(d, IDC_STEP, stepText(s->lowFrequency, s->highFrequency, s->height));
    setField(d, IDC_TIME, twoDecimalsText(s->outputTime));
    setField(d, IDC_AMP, twoDecimalsText(s->ampFactor));
    setField(d, IDC_TIME_PER_PIXEL, timePerPixelText(s->outputTime, s->width));
    SendDlgItemMessageW(d, IDC_NOISE_SLIDER, TBM_SETPOS, TRUE, s->noiseBandwidth);
    CheckDlgButton(d, IDC_SOFT_SWEEPS, s->softSweeps ? BST_CHECKED : BST_UNCHECKED);
    filling_ = false;
}

void RenderOptionsWindow::onFieldLeft(int control) {
    RenderSettings settings = host_.editedSettings();
    RenderSettings* s = &settings;
    const double v = fieldNumber(window(), control);
    switch (control) {
        case IDC_LOW:
            leaveLowField(*s, v);
            break;
        case IDC_HIGH:
            leaveHighField(*s, v);
            break;
        case IDC_AMP:
            leaveAmpField(*s, v);
            break;
        case IDC_TIME:
            leaveTimeField(*s, v, host_.sampleRate());
            break;
        default:
            return;
    }
    host_.settingsEdited(settings, true);
}

void RenderOptionsWindow::onFieldTyped(int control) {
    if (filling_) return;
    const RenderSettings settings = host_.editedSettings();
    const RenderSettings* s = &settings;
    // The derived displays follow the typed text at once; nothing is stored yet.
    RenderSettings scratch;
    scratch.width = s->width;
    scratch.height = s->height;
    scratch.lowFrequency = s->lowFrequency;
    scratch.highFrequency = s->highFrequency;
    scratch.outputTime = s->outputTime;
    const double v = fieldNumber(window(), control);
    switch (control) {
        case IDC_LOW:
            scratch.lowFrequency = v;
            break;
        case IDC_HIGH:
            scratch.highFrequency = v;
            break;
        case IDC_TIME:
            scratch.outputTime = v;
            setField(window(), IDC_TIME_PER_PIXEL,
                     timePerPixelText(scratch.outputTime, scratch.width));
            return;
        default:
            return;
    }
    setField(window(), IDC_STEP,
             stepText(scratch.lowFrequency, scratch.highFrequency, scratch.height));
}

void RenderOptionsWindow::onArrow(int control, int delta) {
    if (delta == 0) return;
    RenderSettings settings = host_.editedSettings();
    RenderSettings* s = &settings;
    const int u = delta > 0 ? kArrowUp : kArrowDown;
    auto buddy = [&](int field) { return float(fieldNumber(window(), field)); };
    switch (control) {
        case IDC_SPIN_LOW:
            stepLowArrow(*s, buddy(IDC_LOW), u);
            break;
        case IDC_SPIN_HIGH:
            stepHighArrow(*s, buddy(IDC_HIGH), u);
            break;
        case IDC_SPIN_AMP:
            stepAmpArrow(*s, buddy(IDC_AMP), u);
            break;
        case IDC_SPIN_TIME:
            stepTimeArrow(*s, buddy(IDC_TIME), u);
            break;
        default:
            return;
    }
    host_.settingsEdited(settings, true);
}

INT_PTR RenderOptionsWindow::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            for (int spin : {IDC_SPIN_LOW, IDC_SPIN_HIGH, IDC_SPIN_AMP, IDC_SPIN_TIME}) {
                SendDlgItemMessageW(dialog, spin, UDM_SETRANGE32, 0, 2 * kArrowMiddle);
                SendDlgItemMessageW(dialog, spin, UDM_SETPOS32, 0, kArrowMiddle);
            }
            SendDlgItemMessageW(dialog, IDC_NOISE_SLIDER, TBM_SETRANGE, TRUE,
                                MAKELPARAM(0, kMaxNoiseBandwidth));
            SendDlgItemMessageW(dialog, IDC_NOISE_SLIDER, TBM_SETPOS, TRUE,
                                host_.defaultNoiseBandwidth());
            return TRUE;
        }
        case WM_SHOWWINDOW:
            if (wParam) fillFields();
            return FALSE;
        case WM_COMMAND: {
            const int control = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (code == EN_KILLFOCUS) {
                onFieldLeft(control);
                return TRUE;
            }
            if (code == EN_CHANGE) {
                onFieldTyped(control);
                return TRUE;
            }
            if (control == IDC_SOFT_SWEEPS && code == BN_CLICKED) {
                RenderSettings settings = host_.editedSettings();
                settings.softSweeps = IsDlgButtonChecked(dialog, IDC_SOFT_SWEEPS) == BST_CHECKED;
                host_.settingsEdited(settings, false);
                return TRUE;
            }
            if (control == IDC_RENDER_BUTTON && code == BN_CLICKED) {
                host_.renderPressed();
                return TRUE;
            }
            return FALSE;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == UDN_DELTAPOS) {
                auto* change = reinterpret_cast<NMUPDOWN*>(lParam);
                onArrow(int(header->idFrom), change->iDelta);
                // The position stays where it is.
                SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        }
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_NOISE_SLIDER) &&
                LOWORD(wParam) == TB_ENDTRACK) {
                RenderSettings settings = host_.editedSettings();
                settings.noiseBandwidth =
                    int(SendDlgItemMessageW(dialog, IDC_NOISE_SLIDER, TBM_GETPOS, 0, 0));
                host_.settingsEdited(settings, false);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace lumetra::win
