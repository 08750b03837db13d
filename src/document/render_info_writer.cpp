#include <array>
#include <cstdio>
#include <cstring>
#include <span>

#include "base/file_io.h"
#include "document/canvas_image.h"
#include "document/render_info_file.h"

namespace lumetra {
namespace {

// printf-style formatting appended to `out`; the buffer grows to whatever the numbers need.
template <typename... Args>
void appendFormat(std::string& out, const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) return;
    std::string piece(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(piece.data(), piece.size(), format, args...);
    piece.pop_back();
    out += piece;
}

void appendParms(std::string& out, double low, double high, double amp, double time) {
    appendFormat(out, "PARMS %.4f, %.4f, %.2f, %.2f \t// low, high, amp, time\n", low, high, amp,
                 time);
}

void appendRender(std::string& out, const RenderInfoRecord& r, const RenderSettings& settings) {
    if (r.flags & RenderInfoRecord::kFlagDateValid) {
        const std::string month(monthName(r.date.month));
        appendFormat(out, "// By <you> %02d:%02d:%02d - %s %d, %d\n\n", int{r.date.hour},
                     int{r.date.minute}, int{r.date.second}, month.c_str(), int{r.date.day},
                     int{r.date.year});
    }
    appendFormat(out, "CMD %d \t// Render", r.command);
    if (r.command == 301 || r.command == 303) out += " selection";
    if (r.command == 302 || r.command == 303) out += ", no blue";
    out += "\n";
    appendFormat(out, "SIZE %d, %d\n", r.width, r.height);
    const auto& s = r.selection;
    if (s[2] > s[0] && s[3] > s[1])
        appendFormat(out, "SEL %d, %d, %d, %d \t// left, top, right, bottom\n", s[0], s[1], s[2],
                     s[3]);
    appendParms(out, settings.lowFrequency, settings.highFrequency, settings.ampFactor,
                settings.outputTime);
    if (r.renderTime > 0) appendFormat(out, "// Render time: %.2f sec\n", double{r.renderTime});
}

// Analysis records: made by the soundfile analysis, or found in files written elsewhere.
void appendAnalysis(std::string& out, const RenderInfoRecord& r) {
    if (r.flags & RenderInfoRecord::kFlagSourceName) {
        const std::string name(r.sourceName.data(),
                               strnlen(r.sourceName.data(), r.sourceName.size()));
        appendFormat(out, "Sourcefile: %s\n", name.c_str());
    }
    if (r.flags & RenderInfoRecord::kFlagSourceSound) {
        const int number = static_cast<int>(r.sourceNumber);
        appendFormat(out, "Source length: %.2f (%d), %s\n", double{r.sourceLength}, number,
                     r.sourceChannels > 1 ? "stereo" : "mono");
        appendFormat(out, "Sample rate: %d\n\n", number);
    }
    // The CMD line ends here so that the SIZE line stays a line of its own and can be read back.
    appendFormat(out, "CMD %d \t// Soundfile Analysis\n", r.command);
    appendFormat(out, "SIZE %d, %d\n", r.width, r.height);
    appendParms(out, r.lowFrequency, r.highFrequency, r.ampFactor, r.outputTime);
}

std::string withPlatformLineEnds(const std::string& text) {
    if (kInfoLineEnd == "\n") return text;
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += kInfoLineEnd;
        else
            out += c;
    }
    return out;
}

}  // namespace

std::filesystem::path renderInfoFileName(const std::filesystem::path& imagePath) {
    // Only the file name's own extension goes: a dot in a folder name is not an extension.
    std::filesystem::path name = imagePath;
    name.replace_extension(".info");
    return name;
}

std::string_view monthName(std::uint16_t month) {
    static constexpr std::array<std::string_view, 13> kNames{
        "",     "Jan", "Feb",  "March", "April", "May", "June",
        "July", "Aug", "Sept", "Oct",   "Nov",   "Dec"};
    return month < kNames.size() ? kNames[month] : std::string_view();
}

std::string formatRenderInfoText(const RenderInfoRecord& record, const RenderSettings& settings) {
    std::string text;
    if (record.command == RenderInfoRecord::kAnalysisCommand)
        appendAnalysis(text, record);
    else
        appendRender(text, record, settings);
    return text;
}

bool writeRenderInfoFile(FileSystem& files, const CanvasImage& image,
                         const std::filesystem::path& imagePath) {
    const std::string text =
        withPlatformLineEnds(formatRenderInfoText(image.renderInfo, image.settings));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    return replaceFileWith(files, renderInfoFileName(imagePath), {bytes});
}

}  // namespace lumetra
