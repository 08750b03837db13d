#include "document/win/new_image_dialog.h"

#include <commctrl.h>

#include <string>

#include "base/win/message_handler.h"
#include "base/win/text.h"
#include "base/win/utf16.h"
#include "document/win/dialog_fields.h"
#include "image/new_image_fields.h"
#include "render/render_fields.h"
#include "resources/resource_ids.h"

namespace lumetra::win {

namespace {

bool pointerOverCancel(HWND dialog) {
    POINT p{};
    GetCursorPos(&p);
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, IDCANCEL), &r);
    return PtInRect(&r, p) != FALSE;
}

class NewImageDialog : public DialogHandler {
  public:
    NewImageDialog(const RenderSettings& s, const NyquistCheck& checkNyquist)
        : settings_(s), checkNyquist_(checkNyquist) {}
    const RenderSettings& settings() const { return settings_; }

    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_INITDIALOG:
                dialog_ = dialog;
                for (int spin : {IDC_SPIN_WIDTH, IDC_SPIN_HEIGHT, IDC_SPIN_LOW, IDC_SPIN_HIGH}) {
                    SendDlgItemMessageW(dialog, spin, UDM_SETRANGE32, 0, 2 * kArrowMiddle);
                    SendDlgItemMessageW(dialog, spin, UDM_SETPOS32, 0, kArrowMiddle);
                }
                fill();
                return TRUE;
            case WM_COMMAND:
                return onCommand(LOWORD(wParam), HIWORD(wParam));
            case WM_NOTIFY: {
                auto* header = reinterpret_cast<NMHDR*>(lParam);
                if (header->code != UDN_DELTAPOS) return FALSE;
                onArrow(int(header->idFrom), reinterpret_cast<NMUPDOWN*>(lParam)->iDelta);
                SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            default:
                return FALSE;
        }
    }

  private:
    INT_PTR onCommand(int control, int code) {
        if (code == EN_KILLFOCUS) {
            fieldLeft(control);
            return TRUE;
        }
        if (code == EN_CHANGE && !filling_ && (control == IDC_LOW || control == IDC_HIGH)) {
            RenderSettings scratch;
            scratch.height = settings_.height;
            scratch.lowFrequency =
                control == IDC_LOW ? fieldNumber(dialog_, IDC_LOW) : settings_.lowFrequency;
            scratch.highFrequency =
                control == IDC_HIGH ? fieldNumber(dialog_, IDC_HIGH) : settings_.highFrequency;
            setField(dialog_, IDC_STEP,
                     stepText(scratch.lowFrequency, scratch.highFrequency, scratch.height));
            return TRUE;
        }
        if (code != BN_CLICKED) return FALSE;
        if (control == IDC_NEW_IMAGE_BUTTON || control == IDOK) {
            // Enter presses the button without moving the focus: take the field being typed in.
            fieldLeft(GetDlgCtrlID(GetFocus()));
            EndDialog(dialog_, IDOK);
            return TRUE;
        }
        if (control == IDCANCEL) {
            EndDialog(dialog_, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

    void fieldLeft(int control) {
        const double v = fieldNumber(dialog_, control);
        switch (control) {
            case IDC_WIDTH:
                settings_.width = leaveSizeField(settings_.width, v);
                break;
            case IDC_HEIGHT:
                settings_.height = leaveSizeField(settings_.height, v);
                break;
            case IDC_LOW:
                leaveLowField(settings_, v);
                pitchChanged();
                break;
            case IDC_HIGH:
                leaveHighField(settings_, v);
                pitchChanged();
                break;
            default:
                return;
        }
        fill();
    }

    // Leaving a field by pressing Cancel shows no Nyquist message.
    void pitchChanged() {
        if (!pointerOverCancel(dialog_)) checkNyquist_(settings_.highFrequency);
    }

    void onArrow(int control, int delta) {
        if (delta == 0) return;
        const bool up = delta > 0;
        switch (control) {
            case IDC_SPIN_WIDTH:
                settings_.width =
                    stepSizeArrow(settings_.width, fieldNumber(dialog_, IDC_WIDTH), up ? 1 : -1);
                break;
            case IDC_SPIN_HEIGHT:
                settings_.height =
                    stepSizeArrow(settings_.height, fieldNumber(dialog_, IDC_HEIGHT), up ? 1 : -1);
                break;
            case IDC_SPIN_LOW:
                stepLowArrow(settings_, float(fieldNumber(dialog_, IDC_LOW)),
                             up ? kArrowUp : kArrowDown);
                checkNyquist_(settings_.highFrequency);
                break;
            case IDC_SPIN_HIGH:
                stepHighArrow(settings_, float(fieldNumber(dialog_, IDC_HIGH)),
                              up ? kArrowUp : kArrowDown);
                checkNyquist_(settings_.highFrequency);
                break;
            default:
                return;
        }
        fill();
    }

    void fill() {
        filling_ = true;
        setField(dialog_, IDC_WIDTH, std::to_string(settings_.width));
        setField(dialog_, IDC_HEIGHT, std::to_string(settings_.height));
        setField(dialog_, IDC_LOW, frequencyFieldText(settings_.lowFrequency));
        setField(dialog_, IDC_HIGH, frequencyFieldText(settings_.highFrequency));
        setField(dialog_, IDC_STEP,
                 stepText(settings_.lowFrequency, settings_.highFrequency, settings_.height));
        filling_ = false;
    }

    HWND dialog_ = nullptr;
    RenderSettings settings_;
    const NyquistCheck& checkNyquist_;
    bool filling_ = false;
};

}  // namespace

std::optional<RenderSettings> askForNewImage(HINSTANCE instance, HWND owner,
                                             const RenderSettings& settings,
                                             const NyquistCheck& checkNyquist) {
    NewImageDialog dialog(settings, checkNyquist);
    if (runModalDialog(instance, IDD_NEW_IMAGE, owner, dialog) != IDOK) return std::nullopt;
    return dialog.settings();
}

}  // namespace lumetra::win
