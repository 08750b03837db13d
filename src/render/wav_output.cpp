#include "render/wav_output.h"

#include <bit>

#include "base/format_text.h"
#include "base/user_interface.h"

namespace lumetra {

static_assert(std::endian::native == std::endian::little,
              "soundfiles are written straight from little-endian sample memory");

void updateOutputFormat(OutputFormat& format, const SoundOptions& sound) {
    format.channels = static_cast<std::uint16_t>(sound.stereo + 1);
    format.sampleRate = static_cast<std::uint32_t>(sound.sampleRate);
    format.byteRate = format.channels * format.sampleRate * 2u;
    format.blockAlign = static_cast<std::uint16_t>(format.channels * 2);
}

namespace {

void put16(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* at, std::uint32_t v) {
    put16(at, v & 0xFFFFu);
    put16(at + 2, v >> 16);
}

void putTag(std::uint8_t* at, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(tag[i]);
}

}  // namespace

std::array<std::uint8_t, kWavHeaderBytes> encodeWavHeader(const OutputFormat& format,
                                                          std::int64_t valueCount) {
    if (valueCount < 0) valueCount = 0;
    if (valueCount > kMaxWavValues) valueCount = kMaxWavValues;
    const auto dataBytes = static_cast<std::uint32_t>(2 * valueCount);
    std::array<std::uint8_t, kWavHeaderBytes> h{};
    putTag(&h[0], "RIFF");
    put32(&h[4], dataBytes + 40);
    putTag(&h[8], "WAVE");
    putTag(&h[12], "fmt ");
    put32(&h[16], kWavFmtChunkBytes);
    put16(&h[20], format.formatTag);
    put16(&h[22], format.channels);
    put32(&h[24], format.sampleRate);
    put32(&h[28], format.byteRate);
    put16(&h[32], format.blockAlign);
    put16(&h[34], format.bitsPerSample);
    put16(&h[36], format.extraSize);
    put16(&h[38], 0);  // pad word: the fmt chunk is 20 bytes long
    putTag(&h[40], "data");
    put32(&h[44], dataBytes);
    return h;
}

std::filesystem::path partialSoundfilePath(const std::filesystem::path& target) {
    std::filesystem::path partial = target;
    partial += ".part";
    return partial;
}

SoundfileOutput::SoundfileOutput(FileSystem& files) : files_(files) {}

SoundfileOutput::~SoundfileOutput() {
    if (sink_) close(0);
}

bool SoundfileOutput::open(const std::filesystem::path& target, const OutputFormat& format) {
    if (sink_) return false;
    const std::filesystem::path partial = partialSoundfilePath(target);
    std::unique_ptr<FileSink> sink = files_.create(partial);
    if (!sink) return false;
    // The sizes are patched on close; until then the file is only the temporary one.
    const auto header = encodeWavHeader(format, 0);
    if (sink->write(header.data(), header.size()) != header.size()) {
        sink->close();
        files_.remove(partial);
        return false;
    }
    sink_ = std::move(sink);
    target_ = target;
    partial_ = partial;
    format_ = format;
    valuesWritten_ = 0;
    return true;
}

std::size_t SoundfileOutput::write(std::span<const std::int16_t> values) {
    if (!sink_) return 0;
    const std::size_t bytes = sink_->write(values.data(), values.size_bytes());
    const std::size_t whole = bytes / sizeof(std::int16_t);
    valuesWritten_ += static_cast<std::int64_t>(whole);
    return whole;
}

bool SoundfileOutput::close(std::int64_t n) {
    if (!sink_) return true;
    // The header never claims more values than the file holds.
    if (n > valuesWritten_) n = valuesWritten_;
    bool ok = true;
    const bool keep = n > 10;
    if (keep) {
        const auto header = encodeWavHeader(format_, n);
        ok = sink_->rewriteStart(header.data(), header.size());
    }
    ok = sink_->close() && ok;
    sink_.reset();
    if (keep && ok && files_.replace(partial_, target_)) return true;
    // A file of 10 values or fewer is not kept, and a failed one never replaces the target; in
    // neither case is anything left beside it.
    files_.remove(partial_);
    return !keep;
}

int openSoundfile(UserInterface& ui, SoundfileOutput& output, const std::filesystem::path& path,
                  const OutputFormat& format) {
    if (output.open(path, format)) return 1;
    ui.showWarning(formatText("Could not open %s for output", utf8FromPath(path).c_str()),
                   "Soundfile error");
    return 0;
}

int closeSoundfile(SoundfileOutput& output, std::int64_t n) {
    return output.close(n) ? 1 : 0;
}

std::string nameWithoutExtension(const std::string& displayName) {
    const std::size_t dot = displayName.rfind('.');
    return dot == std::string::npos ? displayName : displayName.substr(0, dot);
}

std::string takeSoundfileNumber(std::int32_t& counter) {
    std::string number = formatText("%.2d", counter);
    ++counter;
    if (counter > 99) counter = 0;
    return number;
}

std::filesystem::path pathInFolder(const std::filesystem::path& folder, const std::string& name) {
    if (folder.empty()) return pathFromUtf8(name);
    return folder / pathFromUtf8(name);
}

}  // namespace lumetra
