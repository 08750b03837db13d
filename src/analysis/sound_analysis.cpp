#include "analysis/sound_analysis.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <system_error>
#include <thread>

#include "analysis/analysis_record.h"
#include "analysis/row_spectrum.h"
#include "render/oscillators.h"

namespace lumetra {
namespace {

bool fail(std::string& message, std::string text) {
    message = std::move(text);
    return false;
}

// Row amplitudes of every frame of one channel, frame after frame (frames * rows values).
using FrameAmplitudes = std::vector<float>;

// Fills the frames of both channels block by block; the blocks are split between this thread and
// one helper when the machine has a second processor. False when cancelled.
bool analyseFrames(const RowSpectrumPlan& plan, const Sound& sound,
                   std::vector<FrameAmplitudes>& channels, const AnalysisProgress& progress) {
    const std::int32_t frames = plan.frameCount(sound.frames());
    const std::size_t rows = std::size_t(plan.rows);
    constexpr std::int32_t kBlock = 256;  // frames, even: pairs stay within a block
    const bool helper = std::thread::hardware_concurrency() > 1;
    RowSpectrumScratch mine(plan), theirs(plan);
    const std::int32_t total = frames * std::int32_t(channels.size());
    std::int32_t done = 0;
    for (std::size_t c = 0; c < channels.size(); ++c) {
        const std::span<const float> samples = c == 0 ? sound.left : sound.right;
        float* out = channels[c].data();
        for (std::int32_t first = 0; first < frames; first += 2 * kBlock) {
            const std::int32_t middle = std::min(first + kBlock, frames);
            const std::int32_t last = std::min(first + 2 * kBlock, frames);
            auto second = [&] {
                rowAmplitudes(plan, samples, middle, last, theirs,
                              out + std::size_t(middle) * rows);
            };
            std::thread other;
            try {
                if (helper && middle < last) other = std::thread(second);
            } catch (const std::system_error&) {
                // No thread to be had: this one does both halves.
            }
            rowAmplitudes(plan, samples, first, middle, mine, out + std::size_t(first) * rows);
            if (other.joinable())
                other.join();
            else
                second();
            done += last - first;
            if (progress && !progress(int(std::int64_t(done) * 90 / total))) return false;
        }
    }
    return true;
}

// Where each column's value lies among the frames: the moment the render reaches it, the end of
// its slice, between frame `frame` and the next at `weight`.
struct ColumnPlace {
    std::size_t frame, next;
    float weight;
};

std::vector<ColumnPlace> columnPlaces(const RowSpectrumPlan& plan, std::int32_t frames,
                                      std::int32_t columns, std::int32_t samplesPerPixel) {
    std::vector<ColumnPlace> places(static_cast<std::size_t>(columns));
    for (std::int32_t x = 0; x < columns; ++x) {
        const double position = double(x + 1) * samplesPerPixel / plan.hop;
        const auto m = std::int32_t(std::min<double>(position, frames - 1));
        places[std::size_t(x)] = {std::size_t(m), std::size_t(std::min(m + 1, frames - 1)),
                                  float(position - m)};
    }
    return places;
}

// The amp factor that makes a render of the picture as loud as the sound: a row of value v then
// sounds at v * unit of full scale. The renderer divides by a normaliser proportional to
// 1 / amp, computed from the picture's largest column sum F and count M of lit pixels.
double matchingAmpFactor(const PixelImage& pixels, double unit) {
    double largestSum = 0, largestCount = 0;
    for (std::int32_t x = 0; x < pixels.width; ++x) {
        double red = 0, green = 0, litRed = 0, litGreen = 0;
        for (std::int32_t r = 0; r < pixels.height; ++r) {
            const std::uint8_t* p = pixels.memoryRow(r) + 3 * std::size_t(x);
            red += p[2];
            green += p[1];
            litRed += p[2] != 0;
            litGreen += p[1] != 0;
        }
        largestSum = std::max({largestSum, red, green});
        largestCount = std::max({largestCount, litRed, litGreen});
    }
    if (largestSum < 0.1) return 10.0;  // silence: nothing to match
    const double m = largestCount;
    const double normaliserAtOne =
        m < 9 ? largestSum * (3.0 + 0.01 * m) / 0.25 : largestSum / (1.0 + 0.03 * m) * 13;
    return normaliserAtOne * unit;
}

// The column's amplitudes of one channel, row after row.
void columnAmplitudes(const FrameAmplitudes& a, const ColumnPlace& place, std::size_t rows,
                      float* out) {
    const float* from = a.data() + place.frame * rows;
    const float* to = a.data() + place.next * rows;
    for (std::size_t r = 0; r < rows; ++r)
        out[r] = from[r] * (1 - place.weight) + to[r] * place.weight;
}

// Fills red (left) and green (right) and returns the amplitude of one step of value.
double fillPixels(PixelImage& pixels, const std::vector<FrameAmplitudes>& channels,
                  const std::vector<ColumnPlace>& places) {
    const auto rows = std::size_t(pixels.height);
    std::vector<float> column(rows);
    float loudest = 0;
    for (const FrameAmplitudes& a : channels)
        for (const ColumnPlace& place : places) {
            columnAmplitudes(a, place, rows, column.data());
            loudest = std::max(loudest, *std::max_element(column.begin(), column.end()));
        }
    if (loudest <= 0) return 0;
    // The loudest cell is 255: the 8 bits' 48 dB of range sit where the sound's energy is.
    const float toValue = 255.0f / loudest;
    for (std::size_t c = 0; c < 2; ++c) {
        const FrameAmplitudes& a = channels[std::min(c, channels.size() - 1)];
        const std::size_t byte = c == 0 ? 2 : 1;  // red, then green
        for (std::int32_t x = 0; x < pixels.width; ++x) {
            columnAmplitudes(a, places[std::size_t(x)], rows, column.data());
            for (std::size_t r = 0; r < rows; ++r)
                pixels.memoryRow(std::int32_t(r))[3 * std::size_t(x) + byte] =
                    std::uint8_t(std::min(255.0f, column[r] * toValue + 0.5f));
        }
    }
    return loudest / 255.0;
}

}  // namespace

std::int32_t defaultAnalysisRows(double lowFrequency, double highFrequency) {
    if (!(lowFrequency > 0) || !(highFrequency > lowFrequency)) return 2;
    const double rows = std::round(24 * std::log2(highFrequency / lowFrequency)) + 1;
    return std::int32_t(std::clamp(rows, 2.0, double(kMostPictureSide)));
}

AnalysisGrid completeGrid(AnalysisGrid grid) {
    if (grid.rows == 0) grid.rows = defaultAnalysisRows(grid.lowFrequency, grid.highFrequency);
    return grid;
}

std::int64_t analysisColumns(double seconds, std::int32_t columnsPerSecond) {
    const double columns = std::round(seconds * columnsPerSecond);
    if (!(columns >= 1)) return 1;
    return columns > 1e15 ? std::int64_t(1e15) : std::int64_t(columns);
}

bool checkAnalysisGrid(const AnalysisGrid& grid, double seconds, std::string& message) {
    if (!(grid.lowFrequency > 0) || !std::isfinite(grid.highFrequency))
        return fail(message, "The low pitch must lie above 0 Hz");
    if (!(grid.highFrequency > grid.lowFrequency))
        return fail(message, "The high pitch must lie above the low pitch");
    if (grid.rows < 2) return fail(message, "The picture needs at least 2 rows");
    if (grid.columnsPerSecond < 1)
        return fail(message, "The picture needs at least 1 column per second");
    const std::int64_t columns = analysisColumns(seconds, grid.columnsPerSecond);
    if (grid.rows > kMostPictureSide || columns > kMostPictureSide ||
        columns * grid.rows > kMostPicturePixels)
        return fail(message, "The picture would be " + std::to_string(columns) + " x " +
                                 std::to_string(grid.rows) +
                                 " pixels: beyond the limits of 65535 on a side and 2^28 pixels");
    return true;
}

AnalysisOutcome analyseSound(const Sound& sound, const AnalysisGrid& wanted,
                             const std::string& sourceName, CanvasImage& picture,
                             std::string& message, const AnalysisProgress& progress) {
    const AnalysisGrid grid = completeGrid(wanted);
    if (sound.frames() == 0 || sound.sampleRate <= 0) {
        message = "The soundfile holds no samples";
        return AnalysisOutcome::Refused;
    }
    if (!checkAnalysisGrid(grid, sound.seconds(), message)) return AnalysisOutcome::Refused;
    try {
        CanvasImage made;
        RenderSettings& s = made.settings;
        s.width = std::int32_t(analysisColumns(sound.seconds(), grid.columnsPerSecond));
        s.height = grid.rows;
        s.lowFrequency = grid.lowFrequency;
        s.highFrequency = grid.highFrequency;
        s.outputTime = sound.seconds();
        const SoundOptions rate{sound.sampleRate, sound.stereo() ? 1 : 0};
        prepareOscillators(s, rate);
        if (s.samplesPerPixel < 1) {
            message = "The sound is too short for " + std::to_string(s.width) + " columns";
            return AnalysisOutcome::Refused;
        }
        const RowSpectrumPlan plan =
            planRowSpectrum(sound.sampleRate, s.lowFrequency, s.highFrequency, s.height);
        const std::int32_t frames = plan.frameCount(sound.frames());
        std::vector<FrameAmplitudes> channels(sound.stereo() ? 2 : 1);
        for (FrameAmplitudes& a : channels)
            a.resize(std::size_t(frames) * std::size_t(grid.rows));
        if (!analyseFrames(plan, sound, channels, progress)) return AnalysisOutcome::Cancelled;

        std::optional<PixelImage> pixels = createCanvasBitmap(s.width, s.height, message);
        if (!pixels) return AnalysisOutcome::Refused;
        const std::vector<ColumnPlace> places =
            columnPlaces(plan, frames, s.width, s.samplesPerPixel);
        s.ampFactor = matchingAmpFactor(*pixels, fillPixels(*pixels, channels, places));
        adoptPixels(made, std::move(*pixels));
        made.renderInfo = makeAnalysisRecord(s, sourceName, sound.seconds(), sound.fileChannels,
                                             sound.sampleRate);
        if (progress && !progress(100)) return AnalysisOutcome::Cancelled;
        picture = std::move(made);
        return AnalysisOutcome::Done;
    } catch (const std::bad_alloc&) {
        message = "Not enough memory to analyse the sound";
        return AnalysisOutcome::Refused;
    }
}

}  // namespace lumetra
