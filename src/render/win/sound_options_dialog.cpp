#include "render/win/sound_options_dialog.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "base/win/text.h"
#include "base/win/utf16.h"
#include "render/sound_options_rules.h"
#include "resources/resource_ids.h"

namespace lumetra::win {
namespace {

void fillList(HWND dialog, int control, const std::vector<std::string>& texts, int selected) {
    HWND list = GetDlgItem(dialog, control);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts) {
        const std::wstring wide = toUtf16(text);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, WPARAM(selected), 0);
}

// The selected index of a list; -1 when nothing is selected.
int selection(HWND dialog, int control) {
    const LRESULT index = SendDlgItemMessageW(dialog, control, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : int(index);
}

void showCount(HWND dialog, std::int32_t count) {
    SetDlgItemTextW(dialog, IDC_BUFFER_COUNT, std::to_wstring(count).c_str());
    SendDlgItemMessageW(dialog, IDC_BUFFER_COUNT_SPIN, UDM_SETPOS32, 0, count);
}

}  // namespace

SoundOptionsDialog::SoundOptionsDialog(SoundOptions& options, const WaveDeviceList& devices,
                                       SoundOptionsDialogPorts ports)
    : options_(options), backup_(options), devices_(devices), ports_(std::move(ports)) {}

INT_PTR SoundOptionsDialog::onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            dialog_ = dialog;
            backup_ = options_;
            fill();
            return TRUE;
        case WM_VSCROLL:
            // The up-down has written its new position into the count field.
            if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, IDC_BUFFER_COUNT_SPIN))
                return FALSE;
            takeBufferCount();
            return TRUE;
        case WM_COMMAND: {
            const int control = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (control == IDC_BUFFER_COUNT && code == EN_KILLFOCUS) {
                takeBufferCount();
                return TRUE;
            }
            // A closed drop-down list changed with the keyboard only reports a changed
            // selection; OK reads every list again in any case.
            if (code == CBN_SELENDOK || code == CBN_SELCHANGE) {
                onListChosen(control);
                return TRUE;
            }
            if (control == IDOK && code == BN_CLICKED) {
                onOk();
                return TRUE;
            }
            if (control == IDCANCEL && code == BN_CLICKED) {
                onCancel();
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

void SoundOptionsDialog::fill() {
    fillList(dialog_, IDC_DEVICE_LIST, deviceListTexts(devices_),
             listIndexFromDevice(options_.device, devices_.mapperPresent));
    fillList(dialog_, IDC_BUFFER_SIZE_LIST, bufferSizeTexts(),
             bufferSizeIndex(options_.bufferSize));
    fillList(dialog_, IDC_SAMPLE_RATE_LIST, sampleRateTexts(),
             sampleRateIndex(options_.sampleRate));
    SendDlgItemMessageW(dialog_, IDC_BUFFER_COUNT_SPIN, UDM_SETRANGE32, kMinBufferCount,
                        kMaxBufferCount);
    showCount(dialog_, options_.bufferCount);
    CheckDlgButton(dialog_, IDC_STEREO, options_.stereo ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog_, IDC_STEREO), FALSE);
}

void SoundOptionsDialog::onListChosen(int control) {
    const int index = selection(dialog_, control);
    if (index < 0) return;
    switch (control) {
        case IDC_DEVICE_LIST:
            options_.device = std::int16_t(deviceFromListIndex(index, devices_.mapperPresent));
            break;
        case IDC_BUFFER_SIZE_LIST:
            if (const std::int32_t size = bufferSizeFromIndex(index)) options_.bufferSize = size;
            break;
        case IDC_SAMPLE_RATE_LIST:
            if (const std::int32_t rate = sampleRateFromIndex(index)) options_.sampleRate = rate;
            break;
        default:
            break;
    }
}

void SoundOptionsDialog::takeBufferCount() {
    const auto count = parseBufferCount(toUtf8(windowText(GetDlgItem(dialog_, IDC_BUFFER_COUNT))));
    if (count) options_.bufferCount = *count;
    showCount(dialog_, options_.bufferCount);
}

void SoundOptionsDialog::onOk() {
    // Enter presses OK without leaving the field being typed in, and a list's shown choice is
    // the one meant even when its list was closed without a confirmed selection: take them all.
    takeBufferCount();
    for (int list : {IDC_DEVICE_LIST, IDC_BUFFER_SIZE_LIST, IDC_SAMPLE_RATE_LIST})
        onListChosen(list);
    confirmed_ = confirmSoundOptions(options_, backup_, ports_.reallocate);
    if (!confirmed_ && ports_.warn) ports_.warn(std::string(kNewOptionsMemoryText));
    EndDialog(dialog_, IDOK);
}

void SoundOptionsDialog::onCancel() {
    cancelSoundOptions(options_, backup_);
    confirmed_ = false;
    EndDialog(dialog_, IDCANCEL);
}

bool askSoundOptions(HINSTANCE instance, HWND owner, SoundOptions& options,
                     const WaveDeviceList& devices, SoundOptionsDialogPorts ports) {
    SoundOptionsDialog dialog(options, devices, std::move(ports));
    runModalDialog(instance, IDD_SOUNDCARD, owner, dialog);
    return dialog.confirmed();
}

}  // namespace lumetra::win
