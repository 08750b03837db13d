#pragma once
// The "Create New Image" dialog (3301): size fields W and H, the pitch range and its step.

#include <windows.h>

#include <optional>

#include "render/render_settings.h"

namespace lumetra::win {

// The size-field rules: leaving a field stores a value above 10 (truncated), ignores anything
// else; an arrow adds or takes 50 from the field's value (or the stored one when the field holds
// 10 or less) and never goes below 10.
int sizeFieldLeft(int stored, double typed);
int sizeFieldArrow(int stored, double typed, bool up);

// Shows the dialog over a copy of `settings`; the chosen settings when "&New Image" was pressed.
std::optional<RenderSettings> askForNewImage(HWND owner, const RenderSettings& settings);

}  // namespace lumetra::win
