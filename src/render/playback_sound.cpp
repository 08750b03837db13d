#include "render/playback_sound.h"

#include <new>
#include <stdexcept>

#include "render/render_context.h"
#include "render/wav_output.h"

namespace lumetra {

namespace {

bool resizeSamples(PlaybackSound& sound, std::int64_t valueCount) {
    if (valueCount < 0 || static_cast<std::uint64_t>(valueCount) > sound.memoryLimitValues)
        return false;
    try {
        sound.samples.resize(static_cast<std::size_t>(valueCount));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

void emptySound(PlaybackSound& sound) {
    std::vector<std::int16_t>().swap(sound.samples);
    sound.position = 0;
}

}  // namespace

int preparePlaybackSound(RenderContext& context, const RenderPicture& picture,
                         std::int64_t valueCount) {
    PlaybackSound& sound = context.playback;
    sound.format = context.format;
    sound.valuesPerColumn = context.format.channels * picture.settings.samplesPerPixel;
    sound.pictureWidth = picture.pixels.width;
    sound.pictureHeight = picture.pixels.height;
    // A run that keeps no sound in memory (the batch renderer) streams into its open file.
    if (sound.memoryLimitValues == 0 && context.soundfile.isOpen()) {
        emptySound(sound);
        return 1;
    }
    if (static_cast<std::uint64_t>(valueCount) != sound.length() &&
        !resizeSamples(sound, valueCount)) {
        if (!context.ui.askYesNo(
                "Could not allocate memory for internal playback sound.\nRender to file only?",
                "Memory Error"))
            return 0;
        if (context.soundfile.isOpen()) {
            emptySound(sound);
            return 1;
        }
        const std::string suggested =
            (picture.displayName.empty() ? std::string("Lumetra")
                                         : nameWithoutExtension(picture.displayName)) +
            ".wav";
        const auto chosen = context.host.askSaveSoundPath(suggested);
        if (!chosen) return 0;
        context.soundfileOptions.saveSoundEveryRender = 1;
        emptySound(sound);
        const std::filesystem::path path =
            chosen->is_absolute() ? *chosen : context.soundfileFolder / *chosen;
        return openSoundfile(context.ui, context.soundfile, path, context.format);
    }
    sound.position = 0;
    return 1;
}

void finishPlaybackSound(PlaybackSound& sound, std::int64_t valueCount) {
    if (valueCount <= 0 || !resizeSamples(sound, valueCount)) {
        emptySound(sound);
        return;
    }
    sound.position = 0;
}

}  // namespace lumetra
