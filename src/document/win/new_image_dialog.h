#pragma once
// The "Create New Image" dialog (3301): size fields W and H, the pitch range and its step.

#include <windows.h>

#include <functional>
#include <optional>

#include "render/render_settings.h"

namespace lumetra::win {

// The program's check of a highest pitch against the sample rate (it warns once per value).
using NyquistCheck = std::function<void(double highFrequency)>;

// Shows the dialog over a copy of `settings`; the chosen settings when "&New Image" was pressed.
// The caller keeps the tool windows disabled while it is up.
std::optional<RenderSettings> askForNewImage(HINSTANCE instance, HWND owner,
                                             const RenderSettings& settings,
                                             const NyquistCheck& checkNyquist);

}  // namespace lumetra::win
