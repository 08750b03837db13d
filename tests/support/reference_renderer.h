#pragma once
// The render engine written plainly, one statement per step of its description, without any
// vectorisation or restructuring. The production engine must agree with it bit for bit: samples,
// soundfile, phases, noise states, random seed and status texts.

#include "document/canvas_image.h"
#include "render/render_context.h"

namespace lumetra::testing {

int referenceRenderImage(RenderContext& context, ImageDocument& document, int command);

}  // namespace lumetra::testing
