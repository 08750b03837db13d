#include <cfloat>
#include <charconv>
#include <cmath>
#include <vector>

#include "base/file_io.h"
#include "document/canvas_image.h"
#include "document/render_info_file.h"

namespace lumetra {
namespace {

// A line is taken in pieces of at most this many characters (line end included); the rest of a
// longer line is read as the next piece.
constexpr std::size_t kPieceLength = 299;
// ".info" files are a few hundred bytes; anything beyond this is not one of ours.
constexpr std::uintmax_t kMaxInfoFileBytes = 1 << 20;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isSeparator(char c) {
    return c == ',' || c == ' ' || c == '\t';
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithKeyword(std::string_view line, std::string_view keyword) {
    if (line.size() < keyword.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if (upper(line[i]) != keyword[i]) return false;
    return true;
}

// The tokens after a keyword: runs of characters between commas, blanks and tabs.
class Tokens {
  public:
    explicit Tokens(std::string_view rest) : rest_(rest) {}
    std::string_view next() {
        std::size_t start = 0;
        while (start < rest_.size() && isSeparator(rest_[start]))
            ++start;
        std::size_t end = start;
        while (end < rest_.size() && !isSeparator(rest_[end]))
            ++end;
        const std::string_view token = rest_.substr(start, end - start);
        rest_.remove_prefix(end);
        return token;
    }

  private:
    std::string_view rest_;
};

std::string_view skipSpaceAndSign(std::string_view token, bool& negative) {
    while (!token.empty() && isSpace(token.front()))
        token.remove_prefix(1);
    negative = false;
    if (!token.empty() && (token.front() == '+' || token.front() == '-')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    // One sign only: what follows must be the number itself.
    if (!token.empty() && (token.front() == '+' || token.front() == '-')) return {};
    return token;
}

// The leading integer of a token; 0 when there is none or it does not fit.
std::int32_t readInteger(std::string_view token) {
    bool negative = false;
    token = skipSpaceAndSign(token, negative);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    (void)end;
    if (error != std::errc()) return 0;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return 0;
    return static_cast<std::int32_t>(value);
}

// The leading decimal number of a token as a 32-bit float; 0 when there is none or it is not a
// finite float.
float readDecimal(std::string_view token) {
    bool negative = false;
    token = skipSpaceAndSign(token, negative);
    double value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    (void)end;
    if (error != std::errc() || !std::isfinite(value) || std::fabs(value) > FLT_MAX) return 0.0f;
    return static_cast<float>(negative ? -value : value);
}

void readParms(std::string_view rest, RenderInfoText& out) {
    Tokens tokens(rest);
    RenderInfoRecord& r = out.record;
    r.lowFrequency = readDecimal(tokens.next());
    r.highFrequency = readDecimal(tokens.next());
    r.ampFactor = readDecimal(tokens.next());
    r.outputTime = readDecimal(tokens.next());
    const bool ok = hasUsableRenderNumbers(r);
    out.accepted = ok ? (out.accepted | kParmsAccepted) : (out.accepted & ~kParmsAccepted);
}

void readSize(std::string_view rest, std::int32_t width, std::int32_t height, RenderInfoText& out) {
    Tokens tokens(rest);
    out.record.width = readInteger(tokens.next());
    out.record.height = readInteger(tokens.next());
    const bool ok = out.record.width == width && out.record.height == height;
    out.accepted = ok ? (out.accepted | kSizeAccepted) : (out.accepted & ~kSizeAccepted);
}

void readSel(std::string_view rest, std::int32_t width, std::int32_t height, RenderInfoText& out) {
    Tokens tokens(rest);
    auto& s = out.record.selection;
    for (auto& v : s)
        v = readInteger(tokens.next());
    const bool ok =
        s[2] > s[0] && s[3] > s[1] && s[0] >= 0 && s[1] >= 0 && s[2] <= width && s[3] <= height;
    out.accepted = ok ? (out.accepted | kSelAccepted) : (out.accepted & ~kSelAccepted);
}

void readLine(std::string_view line, std::int32_t width, std::int32_t height, RenderInfoText& out) {
    // Like C strings, a piece ends at a zero byte.
    line = line.substr(0, line.find('\0'));
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    if (line.starts_with("//")) return;
    if (startsWithKeyword(line, "PARMS"))
        readParms(line.substr(5), out);
    else if (startsWithKeyword(line, "SIZE"))
        readSize(line.substr(4), width, height, out);
    else if (startsWithKeyword(line, "SEL"))
        readSel(line.substr(3), width, height, out);
}

// The text as a text-mode read sees it: CR LF pairs become single line ends.
std::string withNewlineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

}  // namespace

RenderInfoText parseRenderInfoText(std::string_view text, std::int32_t width, std::int32_t height) {
    RenderInfoText out;
    const std::string lines = withNewlineEnds(text);
    std::string_view rest(lines);
    while (!rest.empty()) {
        std::size_t length = std::min(rest.size(), kPieceLength);
        const std::size_t newline = rest.substr(0, length).find('\n');
        if (newline != std::string_view::npos) length = newline + 1;
        readLine(rest.substr(0, length), width, height, out);
        rest.remove_prefix(length);
    }
    return out;
}

bool adoptRenderInfoText(CanvasImage& image, const RenderInfoText& text) {
    if ((text.accepted & (kParmsAccepted | kSizeAccepted)) != (kParmsAccepted | kSizeAccepted))
        return false;
    RenderInfoRecord record = text.record;
    record.setMagic();
    record.size = RenderInfoRecord::kSizeFromInfoFile;
    record.version = RenderInfoRecord::kVersion;
    record.valid = 1;
    const auto& s = record.selection;
    if (text.accepted & kSelAccepted) {
        image.selection = Rect{s[0], s[1], s[2], s[3]};
    } else {
        // A refused SEL line must not come back as a SEL line when the image is saved again.
        record.selection = {};
        image.selection = Rect{};
    }
    image.renderInfo = record;
    return true;
}

bool readRenderInfoFile(FileSystem& files, CanvasImage& image,
                        const std::filesystem::path& imagePath) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    if (!readWholeFile(files, renderInfoFileName(imagePath), bytes, message, kMaxInfoFileBytes))
        return false;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return adoptRenderInfoText(image,
                               parseRenderInfoText(text, image.pixels.width, image.pixels.height));
}

}  // namespace lumetra
