#pragma once
// 16-bit PCM soundfiles: the shared OutputFormat, the 48-byte header and the one output file that
// a render streams into.
//
// A soundfile is never written in place: its values go to a temporary file beside the target,
// which replaces the target only when it is closed with more than 10 values. A cancelled, failed
// or empty render therefore never destroys an earlier file of the same name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "base/file_io.h"
#include "base/file_system.h"
#include "render/sound_options.h"

namespace lumetra {

class UserInterface;

struct OutputFormat {
    std::uint16_t formatTag = 1;  // PCM
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 22050;
    std::uint32_t byteRate = 44100;
    std::uint16_t blockAlign = 2;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t extraSize = 0;
    friend bool operator==(const OutputFormat&, const OutputFormat&) = default;
};

// Channels, rate, byte rate and block align from the sound options.
void updateOutputFormat(OutputFormat& format, const SoundOptions& sound);

inline constexpr std::size_t kWavHeaderBytes = 48;
inline constexpr std::uint32_t kWavFmtChunkBytes = 20;
// The sizes in the header are 32-bit: data bytes + 40 must fit.
inline constexpr std::int64_t kMaxWavValues = (std::int64_t{0xFFFFFFFF} - 40) / 2;

// "RIFF", size, "WAVE", "fmt " with a 20-byte chunk (the format, the extra size, a pad word),
// "data", size; all numbers little-endian. valueCount is clamped to kMaxWavValues.
std::array<std::uint8_t, kWavHeaderBytes> encodeWavHeader(const OutputFormat& format,
                                                          std::int64_t valueCount);

// The temporary file a soundfile is written to before it replaces `target`.
std::filesystem::path partialSoundfilePath(const std::filesystem::path& target);

// The one output file. Not copyable; an open file is discarded when the object goes away.
class SoundfileOutput {
  public:
    explicit SoundfileOutput(FileSystem& files);
    ~SoundfileOutput();
    SoundfileOutput(const SoundfileOutput&) = delete;
    SoundfileOutput& operator=(const SoundfileOutput&) = delete;

    // Starts a file for `target` with the format's header. False when one is already open or the
    // file cannot be created. No message (see openSoundfile).
    bool open(const std::filesystem::path& target, const OutputFormat& format);
    bool isOpen() const { return sink_ != nullptr; }
    // The target of the open file, or of the last one.
    const std::filesystem::path& path() const { return target_; }

    // Appends values; returns how many were written completely (fewer after a write error).
    std::size_t write(std::span<const std::int16_t> values);
    std::int64_t valuesWritten() const { return valuesWritten_; }

    // Ends the file with n values: more than 10 patch the header sizes and move the file over the
    // target; 10 or fewer discard it (an earlier target stays). True when that succeeded; a file
    // that could not be completed is removed and the target left as it was.
    bool close(std::int64_t n);

  private:
    FileSystem& files_;
    std::unique_ptr<FileSink> sink_;
    std::filesystem::path target_;
    std::filesystem::path partial_;
    OutputFormat format_;
    std::int64_t valuesWritten_ = 0;
};

// Opens `path`; on failure shows "Could not open %s for output" under "Soundfile error". 1 or 0.
int openSoundfile(UserInterface& ui, SoundfileOutput& output, const std::filesystem::path& path,
                  const OutputFormat& format);
// Closes with n values (see SoundfileOutput::close). 1 or 0; 1 when nothing was open.
int closeSoundfile(SoundfileOutput& output, std::int64_t n);

// The display name cut at its last "." (the dot and what follows removed).
std::string nameWithoutExtension(const std::string& displayName);
// "%.2d" of the counter; the counter then advances and wraps from 99 to 0.
std::string takeSoundfileNumber(std::int32_t& counter);
// A file name inside the soundfile folder (the folder's trailing separator is optional; an empty
// folder leaves the name as it is).
std::filesystem::path pathInFolder(const std::filesystem::path& folder, const std::string& name);

}  // namespace lumetra
