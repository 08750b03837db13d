#pragma once
// Where the sound of a render, or the latest sound, is written.

#include <string>

#include "render/render_context.h"

namespace lumetra {

struct PlaybackSound;

// At the start of every render: updates the output format from the sound options and, when
// "Save Sound at Every Render" is on, opens the soundfile named after the image (or "Lumetra"),
// numbered when numbering is on, in the soundfile folder. 1 when the render can go on.
int makeSoundfileName(RenderContext& context, const std::string& displayName);

// The name "Save Sound As" suggests: the display name without its extension, or "Lumetra" with
// the advancing counter; ".wav" appended.
std::string suggestedSoundName(SoundfileOptions& options, const std::string& displayName);

// Closes the open soundfile of a render with the `n` values written. A file that cannot be
// completed (its header, its last bytes or its move over the target failing) is the write error
// it is: the warning "Error writing %s\nError %d: %s" under "Soundfile error", and false. No
// part of it is left beside the target. True when no file was open.
bool finishSoundfile(RenderContext& context, std::int64_t n);

// Writes `sound` in the format it was made with to `path` (temporary file, then replacing the
// target). A write error shows "Error writing %s\nError %d: %s" under "Soundfile error" and leaves
// any earlier file untouched. 1 or 0.
int writeSoundFile(RenderContext& context, const std::filesystem::path& path,
                   const PlaybackSound& sound);

// "Save Sound As..." (command 107): asks for the path with the suggested name, then writes.
// 0 when cancelled or failed.
int saveSoundAs(RenderContext& context, const std::string& displayName);

}  // namespace lumetra
