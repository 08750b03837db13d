#include "render_rig.h"

#include <string>

namespace lumetra::testing {

RenderRig::RenderRig(RenderWorkers* shared)
    : workers(shared ? *shared : ownWorkers), context{host,       ui,       clock,     files,
                                                      *sine,      seed,     sound,     format,
                                                      soundfiles, "sounds", soundfile, playback,
                                                      softSweep,  workers} {
    soundfiles.saveSoundEveryRender = 0;
}

ImageDocument makeDocument(std::int32_t width, std::int32_t height,
                           const RenderSettings& settings) {
    ImageDocument document;
    std::string message;
    document.current.settings = settings;
    adoptPixels(document.current, *createCanvasBitmap(width, height, message));
    return document;
}

void fillRandom(PixelImage& pixels, std::uint32_t seed, const PictureRecipe& recipe) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    std::uniform_int_distribution<int> value(0, 255);
    for (std::int32_t y = 0; y < pixels.height; ++y) {
        for (std::int32_t x = 0; x < pixels.width; ++x) {
            Rgb c;
            if (share(random) < recipe.litShare) {
                if (recipe.red) c.red = static_cast<std::uint8_t>(value(random));
                if (recipe.green) c.green = static_cast<std::uint8_t>(value(random));
                if (recipe.blue && share(random) < recipe.blueShare)
                    c.blue = static_cast<std::uint8_t>(value(random));
            }
            setPixel(pixels, x, y, c);
        }
    }
}

CanvasImage randomCanvas(std::int32_t width, std::int32_t height, std::uint32_t seed,
                         const PictureRecipe& recipe) {
    CanvasImage image = makeDocument(width, height).current;
    fillRandom(image.pixels, seed, recipe);
    return image;
}

}  // namespace lumetra::testing
