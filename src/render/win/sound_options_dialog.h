#pragma once
// The modal "Soundcard/Realtime Options" dialog (1100): output device, buffer size and count,
// sample rate, and the stereo flag (shown, not changeable). It edits the sound options in place
// and puts their backup back on Cancel; its rules live in render/sound_options_rules.h.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/win/message_handler.h"
#include "render/sound_options.h"
#include "render/wave_devices.h"

namespace lumetra::win {

struct SoundOptionsDialogPorts {
    // Allocates the playback buffers for a count and size; false (old buffers kept) when the
    // memory cannot be had.
    std::function<bool(std::int32_t count, std::int32_t size)> reallocate;
    // A warning box with the default caption.
    std::function<void(const std::string& text)> warn;
};

class SoundOptionsDialog final : public DialogHandler {
  public:
    // `options` and `devices` must outlive the dialog.
    SoundOptionsDialog(SoundOptions& options, const WaveDeviceList& devices,
                       SoundOptionsDialogPorts ports);

    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

    // OK was pressed and the new options took effect.
    bool confirmed() const { return confirmed_; }

  private:
    void fill();
    void onListChosen(int control);
    void takeBufferCount();
    void onOk();
    void onCancel();

    HWND dialog_ = nullptr;
    SoundOptions& options_;
    SoundOptions backup_;
    const WaveDeviceList& devices_;
    SoundOptionsDialogPorts ports_;
    bool confirmed_ = false;
};

// Runs the dialog modally over `owner`; true when OK was pressed and the options took effect.
bool askSoundOptions(HINSTANCE instance, HWND owner, SoundOptions& options,
                     const WaveDeviceList& devices, SoundOptionsDialogPorts ports);

}  // namespace lumetra::win
