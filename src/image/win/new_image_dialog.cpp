#include "image/win/new_image_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string>

#include "render/win/render_bridge.h"
#include "shell/win/app_state.h"
#include "shell/win/ids.h"
#include "shell/win/message_handler.h"
#include "shell/win/text.h"
#include "shell/win/tool_windows.h"

namespace lumetra::win {

int sizeFieldLeft(int stored, double typed) {
    if (typed > 10 && typed < 2147483647.0) return int(std::trunc(typed));
    return stored;
}

int sizeFieldArrow(int stored, double typed, bool up) {
    double base = (typed > 10 && typed < 2147483647.0) ? std::trunc(typed) : stored;
    double next = base + (up ? 50 : -50);
    return int(std::clamp(next, 10.0, 2147483647.0));
}

namespace {

constexpr int kArrowMiddle = 500;

double fieldNumber(HWND dialog, int control) {
    std::wstring text = windowText(GetDlgItem(dialog, control));
    return std::wcstod(text.c_str(), nullptr);
}

bool pointerOverCancel(HWND dialog) {
    POINT p{};
    GetCursorPos(&p);
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, IDCANCEL), &r);
    return PtInRect(&r, p) != FALSE;
}

class NewImageDialog : public DialogHandler {
  public:
    explicit NewImageDialog(const RenderSettings& s) : settings_(s) {}
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
            SetDlgItemTextW(dialog_, IDC_STEP,
                            formatText(60, L"%.2f cent/line", stepCentsPerLine(scratch)).c_str());
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
                settings_.width = sizeFieldLeft(settings_.width, v);
                break;
            case IDC_HEIGHT:
                settings_.height = sizeFieldLeft(settings_.height, v);
                break;
            case IDC_LOW:
                acceptLowField(settings_, v);
                pitchChanged();
                break;
            case IDC_HIGH:
                acceptHighField(settings_, v);
                pitchChanged();
                break;
            default:
                return;
        }
        fill();
    }

    // Leaving a field by pressing Cancel shows no Nyquist message.
    void pitchChanged() {
        if (!pointerOverCancel(dialog_)) checkNyquistFor(settings_.highFrequency);
    }

    void onArrow(int control, int delta) {
        if (delta == 0) return;
        const bool up = delta > 0;
        switch (control) {
            case IDC_SPIN_WIDTH:
                settings_.width =
                    sizeFieldArrow(settings_.width, fieldNumber(dialog_, IDC_WIDTH), up);
                break;
            case IDC_SPIN_HEIGHT:
                settings_.height =
                    sizeFieldArrow(settings_.height, fieldNumber(dialog_, IDC_HEIGHT), up);
                break;
            case IDC_SPIN_LOW:
                stepLowArrow(settings_, float(fieldNumber(dialog_, IDC_LOW)), up ? 10 : -10);
                checkNyquistFor(settings_.highFrequency);
                break;
            case IDC_SPIN_HIGH:
                stepHighArrow(settings_, float(fieldNumber(dialog_, IDC_HIGH)), up ? 10 : -10);
                checkNyquistFor(settings_.highFrequency);
                break;
            default:
                return;
        }
        fill();
    }

    void fill() {
        filling_ = true;
        SetDlgItemTextW(dialog_, IDC_WIDTH, formatText(30, L"%d", settings_.width).c_str());
        SetDlgItemTextW(dialog_, IDC_HEIGHT, formatText(30, L"%d", settings_.height).c_str());
        SetDlgItemTextW(dialog_, IDC_LOW, formatText(60, L"%.3f", settings_.lowFrequency).c_str());
        SetDlgItemTextW(dialog_, IDC_HIGH,
                        formatText(60, L"%.3f", settings_.highFrequency).c_str());
        SetDlgItemTextW(dialog_, IDC_STEP,
                        formatText(60, L"%.2f cent/line", stepCentsPerLine(settings_)).c_str());
        filling_ = false;
    }

    HWND dialog_ = nullptr;
    RenderSettings settings_;
    bool filling_ = false;
};

}  // namespace

std::optional<RenderSettings> askForNewImage(HWND owner, const RenderSettings& settings) {
    NewImageDialog dialog(settings);
    enableToolWindows(false);
    INT_PTR result = DialogBoxParamW(
        appState().instance, MAKEINTRESOURCEW(IDD_NEW_IMAGE), owner, dialogTrampoline,
        reinterpret_cast<LPARAM>(static_cast<DialogHandler*>(&dialog)));
    enableToolWindows(true);
    if (result != IDOK) return std::nullopt;
    return dialog.settings();
}

}  // namespace lumetra::win
