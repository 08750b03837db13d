#include "imageops/picture_commands.h"

#include <algorithm>

#include "imageops/colour_operations.h"
#include "imageops/delete_region.h"
#include "imageops/geometry_operations.h"

namespace lumetra {
namespace {

template <ColourOperation Operation>
PictureCommandResult colour(CanvasImage& image) {
    applyColourOperation(image, Operation);
    return {};
}

template <Duplication Kind>
PictureCommandResult duplicate(CanvasImage& image) {
    const DuplicationResult result = duplicatePicture(image, Kind);
    return {result.done, result.sizeChanged};
}

template <void (*Operation)(CanvasImage&)>
PictureCommandResult inPlace(CanvasImage& image) {
    Operation(image);
    return {};
}

using enum PictureRefresh;

// Quick repeats of a colour operation, Mirror or Flip share one snapshot (they snapshot under their
// own id); Double, Half and Delete snapshot under 0 and never merge.
constexpr PictureCommand kCommands[] = {
    {223, true, 223, true, Repaint, colour<ColourOperation::Normalize>},
    {224, true, 224, true, Repaint, colour<ColourOperation::Brighten>},
    {225, true, 225, true, Repaint, colour<ColourOperation::Darken>},
    {226, true, 226, true, Repaint, colour<ColourOperation::MoreContrast>},
    {227, true, 227, true, Repaint, colour<ColourOperation::Invert>},
    {228, true, 228, false, Repaint, colour<ColourOperation::ClearExcessBlue>},
    {241, true, 241, false, Repaint, inPlace<mirrorRegion>},
    {242, true, 242, false, Repaint, inPlace<flipRegion>},
    {243, true, 0, false, Layout, duplicate<Duplication::DoubleHorizontally>},
    {244, true, 0, false, Layout, duplicate<Duplication::DoubleVertically>},
    {245, true, 0, false, Layout, duplicate<Duplication::HalfHorizontally>},
    {246, true, 0, false, Layout, duplicate<Duplication::HalfVertically>},
    {207, false, 0, false, Repaint, inPlace<deleteRegion>},
};

}  // namespace

std::span<const PictureCommand> pictureCommands() {
    return kCommands;
}

const PictureCommand* findPictureCommand(int command) {
    const auto* found =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [command](const PictureCommand& c) { return c.command == command; });
    return found == std::end(kCommands) ? nullptr : found;
}

}  // namespace lumetra
