#include "analysis/wav_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>

#include "base/file_io.h"
#include "base/little_endian.h"

namespace lumetra {
namespace {

constexpr std::uint16_t kTagPcm = 1;
constexpr std::uint16_t kTagFloat = 3;
constexpr std::uint16_t kTagExtensible = 0xFFFE;
// The tail of every standard sub-format GUID: {xxxxxxxx-0000-0010-8000-00AA00389B71}.
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct Chunk {
    std::uintmax_t at = 0;    // first byte of the contents
    std::uintmax_t size = 0;  // bytes of the contents that the file holds
};

struct Chunks {
    std::optional<Chunk> format;
    std::optional<Chunk> data;
};

bool fail(std::string& message, std::string text) {
    message = std::move(text);
    return false;
}

bool hasTag(const std::uint8_t* b, const char* tag) {
    return std::memcmp(b, tag, 4) == 0;
}

// The bytes of a buffer in memory, read as a file's.
class SpanSource final : public FileSource {
  public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uintmax_t size() const override { return bytes_.size(); }
    bool readAt(std::uintmax_t offset, std::span<std::uint8_t> to) override {
        if (offset > bytes_.size() || to.size() > bytes_.size() - offset) return false;
        std::memcpy(to.data(), bytes_.data() + offset, to.size());
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// Walks the chunks behind the RIFF header. A chunk that claims more than the file holds is cut
// to what is there (for the data chunk, the usual sign of a file that was never closed) and
// ends the walk; so does a data size of 0 or 0xFFFFFFFF, which means "to the end". A file of
// countless tiny chunks is walked only so far.
Chunks findChunks(FileSource& source) {
    constexpr int kMostChunks = 4096;
    Chunks found;
    const std::uintmax_t size = source.size();
    std::uintmax_t at = 12;
    std::uint8_t header[8];
    for (int n = 0; n < kMostChunks && size - at >= 8 && source.readAt(at, header); ++n) {
        const std::uint32_t declared = le::readU32(header, 4);
        const bool isData = hasTag(header, "data");
        const std::uintmax_t left = size - at - 8;
        const bool open = isData && (declared == 0 || declared == 0xFFFFFFFFu);
        const bool cut = open || declared > left;
        const Chunk chunk{at + 8, cut ? left : std::uintmax_t{declared}};
        if (isData && !found.data) found.data = chunk;
        if (hasTag(header, "fmt ") && !found.format) found.format = chunk;
        if (cut) break;
        at += 8 + std::uintmax_t{declared} + (declared & 1u);
        if (at > size) break;
    }
    return found;
}

bool readFormat(FileSource& source, const Chunk& chunk, WavFormat& f, std::string& message) {
    std::array<std::uint8_t, 40> contents{};
    const std::span<const std::uint8_t> b(contents);
    const auto used = std::size_t(std::min<std::uintmax_t>(chunk.size, contents.size()));
    if (chunk.size < 16 || !source.readAt(chunk.at, std::span(contents).first(used)))
        return fail(message, "The soundfile's format chunk is cut short");
    const std::size_t at = 0;
    f.tag = le::readU16(b, at);
    f.channels = le::readU16(b, at + 2);
    const std::uint32_t rate = le::readU32(b, at + 4);
    f.blockAlign = le::readU16(b, at + 12);
    f.bitsPerSample = le::readU16(b, at + 14);
    if (f.tag == kTagExtensible) {
        if (chunk.size < 40) return fail(message, "The soundfile's format chunk is cut short");
        const std::uint16_t sub = le::readU16(b, at + 24);
        if (std::memcmp(contents.data() + 26, kGuidTail, sizeof kGuidTail) != 0)
            return fail(message, "Unsupported sound format (an unknown sub-format)");
        f.tag = sub;
    }
    const int bits = f.bitsPerSample;
    const bool pcm = f.tag == kTagPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool real = f.tag == kTagFloat && (bits == 32 || bits == 64);
    if (!pcm && !real)
        return fail(message, "Unsupported sound format (tag " + std::to_string(f.tag) + ", " +
                                 std::to_string(bits) + " bits)");
    if (f.channels < 1 || f.channels > kMostSoundChannels)
        return fail(message,
                    "Unsupported channel count " + std::to_string(f.channels) + " (1 to 8)");
    if (rate < std::uint32_t(kLowestSoundRate) || rate > std::uint32_t(kHighestSoundRate))
        return fail(message,
                    "Unsupported sample rate " + std::to_string(rate) + " Hz (1000 to 384000)");
    f.sampleRate = static_cast<std::int32_t>(rate);
    if (f.blockAlign != f.channels * (bits / 8))
        return fail(message, "The soundfile's block alignment " + std::to_string(f.blockAlign) +
                                 " does not fit " + std::to_string(f.channels) + " channels of " +
                                 std::to_string(bits) + " bits");
    return true;
}

float sampleAt(const std::uint8_t* p, const WavFormat& f) {
    switch (f.bitsPerSample) {
        case 8:
            return (int(p[0]) - 128) * (1.0f / 128);
        case 16:
            return float(std::int16_t(p[0] | (p[1] << 8))) * (1.0f / 32768);
        case 24: {
            const std::uint32_t u = p[0] | (p[1] << 8) | (std::uint32_t{p[2]} << 16);
            const std::int32_t v = static_cast<std::int32_t>(u << 8) >> 8;
            return float(v) * (1.0f / 8388608);
        }
        case 32: {
            const std::uint32_t u =
                p[0] | (p[1] << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
            if (f.tag == kTagPcm) return float(double(std::int32_t(u)) * (1.0 / 2147483648.0));
            float v;
            std::memcpy(&v, &u, 4);
            return std::isfinite(v) ? v : 0.0f;
        }
        default: {
            std::uint64_t u = 0;
            for (int i = 7; i >= 0; --i)
                u = (u << 8) | p[i];
            double v;
            std::memcpy(&v, &u, 8);
            if (!std::isfinite(v)) return 0.0f;
            return float(std::fmax(-1e30, std::fmin(1e30, v)));
        }
    }
}

// Reads the sound from any source of a file's bytes, the samples piece by piece: the memory it
// takes is the two channels kept as floats and one piece of the file.
bool decodeWavFrom(FileSource& source, Sound& sound, std::string& message) {
    sound = Sound{};
    std::uint8_t head[12];
    if (source.size() < 12 || !source.readAt(0, head) || !hasTag(head, "RIFF") ||
        !hasTag(head + 8, "WAVE"))
        return fail(message, "Not a RIFF/WAVE soundfile");
    const Chunks chunks = findChunks(source);
    if (!chunks.format) return fail(message, "The soundfile has no format chunk");
    WavFormat format;
    if (!readFormat(source, *chunks.format, format, message)) return false;
    if (!chunks.data) return fail(message, "The soundfile has no sample data");
    const auto align = std::size_t(format.blockAlign);
    const auto frames = std::size_t(chunks.data->size / align);
    if (frames == 0) return fail(message, "The soundfile holds no samples");
    // Sized by the bytes really present: at most two floats per frame of at least one byte.
    const std::size_t kept = format.channels > 1 ? 2 : 1;
    if (frames > kMostSoundSamples / kept)
        return fail(message, "The soundfile is too long (" + std::to_string(frames) + " frames)");
    Sound out;
    out.sampleRate = format.sampleRate;
    out.fileChannels = format.channels;
    try {
        out.left.resize(frames);
        if (kept > 1) out.right.resize(frames);
    } catch (const std::bad_alloc&) {
        return fail(message, "Not enough memory for the sound");
    }
    const std::size_t step = std::size_t(format.bitsPerSample / 8);
    const std::size_t pieceFrames = std::max<std::size_t>(1, (std::size_t{1} << 20) / align);
    std::vector<std::uint8_t> piece(std::min(frames, pieceFrames) * align);
    for (std::size_t first = 0; first < frames; first += pieceFrames) {
        const std::size_t count = std::min(pieceFrames, frames - first);
        if (!source.readAt(chunks.data->at + first * align, std::span(piece).first(count * align)))
            return fail(message, "The soundfile could not be read");
        const std::uint8_t* p = piece.data();
        for (std::size_t i = first; i < first + count; ++i, p += align) {
            out.left[i] = sampleAt(p, format);
            if (format.channels > 1) out.right[i] = sampleAt(p + step, format);
        }
    }
    sound = std::move(out);
    return true;
}

}  // namespace

bool decodeWav(std::span<const std::uint8_t> bytes, Sound& sound, std::string& message) {
    SpanSource source(bytes);
    return decodeWavFrom(source, sound, message);
}

bool readWavFile(FileSystem& files, const std::filesystem::path& path, Sound& sound,
                 std::string& message) {
    const std::unique_ptr<FileSource> source = files.openForReading(path);
    if (!source) return fail(message, "Could not read " + utf8FromPath(path));
    if (decodeWavFrom(*source, sound, message)) return true;
    message = utf8FromPath(path) + ": " + message;
    return false;
}

}  // namespace lumetra
