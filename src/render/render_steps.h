#pragma once
// Small pieces of a render that the engine and its test reference share: the checks that refuse
// unusable settings, the chunk size and the texts shown afterwards.

#include <cstdint>
#include <filesystem>
#include <string>

#include "image/rect.h"

namespace lumetra {

class UserInterface;

// The picture, or for a selection command the selection (kept inside the picture; an empty
// selection gives an empty region).
Rect renderRegion(std::int32_t width, std::int32_t height, const Rect& selectionRect,
                  bool selection);

// Shows why a render cannot start and returns true when it must not: a normaliser that is not a
// positive number (an amp factor of 0 or less; the "No image data" case has shown its own text),
// no sample frames per column, or more values than a soundfile can hold.
bool refuseRender(UserInterface& ui, double normaliser, std::int32_t samplesPerPixel,
                  std::int64_t totalValues);

// The largest multiple of 2s not above 32768 + 2s, at most T.
std::int64_t renderChunkSize(std::int32_t samplesPerPixel, std::int64_t totalValues);

// "Generating %.2f secs (Hold down Esc to terminate)".
std::string generatingText(double seconds);
// "Generated %.2f secs", with " -- %s" and the soundfile's path when files are saved.
std::string generatedText(double seconds, bool withSoundfile, const std::filesystem::path& path);
// "Time: %.2f s (%.2f x real-time)"; a render too quick for the tick count gives no factor.
std::string renderTimeText(double elapsedSeconds, double soundSeconds);
// "%d%%" with x * 100 div W.
std::string progressText(std::int32_t column, std::int32_t width);
// "Error writing %s": the status text after a soundfile that could not be written.
std::string writeErrorText(const std::filesystem::path& path);
// The warning after a soundfile that could not be completed: "Error writing %s\nError %d: %s".
std::string writeErrorWarning(const std::filesystem::path& path, int code, const std::string& text);
// The question after a failed write during a render: the warning and whether to keep what was
// written.
std::string writeErrorQuestion(const std::filesystem::path& path, int code,
                               const std::string& text);
inline constexpr const char* kSoundfileErrorCaption = "Soundfile error";

}  // namespace lumetra
