#include "render/soundfile_naming.h"

#include "render/playback_sound.h"
#include "render/render_steps.h"
#include "render/wav_output.h"

namespace lumetra {

int makeSoundfileName(RenderContext& context, const std::string& displayName) {
    updateOutputFormat(context.format, context.sound);
    const SoundfileOptions& options = context.soundfileOptions;
    if (!options.saveSoundEveryRender) return 1;
    std::string name = options.soundfileNamedAfterImage && !displayName.empty()
                           ? nameWithoutExtension(displayName)
                           : std::string("Lumetra");
    if (options.numberSoundfiles)
        name += takeSoundfileNumber(context.soundfileOptions.soundfileCounter);
    name += ".wav";
    return openSoundfile(context.ui, context.soundfile, pathInFolder(context.soundfileFolder, name),
                         context.format);
}

std::string suggestedSoundName(SoundfileOptions& options, const std::string& displayName) {
    if (!displayName.empty()) return nameWithoutExtension(displayName) + ".wav";
    return "Lumetra" + takeSoundfileNumber(options.soundfileCounter) + ".wav";
}

namespace {

void reportWriteError(RenderContext& context, const std::filesystem::path& path) {
    const SystemError error = context.files.lastError();
    context.ui.showWarning(writeErrorWarning(path, error.code, error.text), kSoundfileErrorCaption);
}

}  // namespace

bool finishSoundfile(RenderContext& context, std::int64_t n) {
    if (!context.soundfile.isOpen() || closeSoundfile(context.soundfile, n)) return true;
    reportWriteError(context, context.soundfile.path());
    return false;
}

int writeSoundFile(RenderContext& context, const std::filesystem::path& path,
                   const PlaybackSound& sound) {
    // A render streaming into the one output file must not lose it to this command.
    if (context.soundfile.isOpen()) return 0;
    // The sound's own format: the sample rate may have been changed since it was made.
    if (!openSoundfile(context.ui, context.soundfile, path, sound.format)) return 0;
    const std::size_t written = context.soundfile.write(sound.samples);
    if (written < sound.samples.size()) {
        reportWriteError(context, path);
        closeSoundfile(context.soundfile, 0);
        return 0;
    }
    return finishSoundfile(context, static_cast<std::int64_t>(sound.samples.size())) ? 1 : 0;
}

int saveSoundAs(RenderContext& context, const std::string& displayName) {
    const std::string suggested = suggestedSoundName(context.soundfileOptions, displayName);
    const auto chosen = context.host.askSaveSoundPath(suggested);
    if (!chosen) return 0;
    const std::filesystem::path path =
        chosen->is_absolute() ? *chosen : context.soundfileFolder / *chosen;
    return writeSoundFile(context, path, context.playback);
}

}  // namespace lumetra
