// The 164-byte render record, the record behind a BMP file's pixels, the ".info" file, the
// loader's reading of render info, and saving BMP files. docs/demo.bmp (the README renders it) is
// our generator's output: run with LUMETRA_WRITE_DEMO=1 to write it again after changing it.

#include "document/render_info_trailer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <limits>

#include "base/file_io.h"
#include "base/little_endian.h"
#include "base/standard_file_system.h"
#include "bmp_test_files.h"
#include "demo_picture.h"
#include "document/canvas_image.h"
#include "document/document_render.h"
#include "document/image_file.h"
#include "document/image_save.h"
#include "document/render_info_file.h"
#include "image/bmp_reader.h"
#include "image/bmp_writer.h"
#include "memory_file_system.h"
#include "render/render_info.h"

namespace lumetra {
namespace {

using testing::patternPicture;

CanvasImage renderedPicture(std::int32_t width, std::int32_t height, float low) {
    CanvasImage image = patternPicture(width, height);
    image.settings.lowFrequency = low, image.settings.highFrequency = 6000;
    image.settings.ampFactor = 4, image.settings.outputTime = 2.5;
    recordRender(image, 302, 0.75, LocalTime{2021, 1, 1, 1, 1, 1, 1, 1});
    return image;
}

// A 4 x 2 picture file (78 bytes) with `trailer` bytes behind its declared size.
std::vector<std::uint8_t> withTrailer(const std::vector<std::uint8_t>& trailer) {
    std::vector<std::uint8_t> file = encodeBmpFile(renderedPicture(4, 2, 50), false);
    file.insert(file.end(), trailer.begin(), trailer.end());
    return file;
}

std::vector<std::uint8_t> recordBytes(std::uint32_t version, std::uint32_t valid,
                                      std::size_t length = 164) {
    RenderInfoRecord r = renderedPicture(4, 2, 77).renderInfo;
    r.version = version, r.valid = valid;
    const RenderInfoBytes b = encodeRenderInfo(r);
    return std::vector<std::uint8_t>(b.begin(), b.begin() + std::min<std::size_t>(length, 164));
}

// Found with the magic, version 101 and valid word 1 in more than 150 bytes (more than 164: the
// first 164 are the record); never inside the pixels, nor behind a size the file cannot have.
TEST(RenderInfoTrailer, FoundWithMagicVersionAndValidWordInMoreThan150Bytes) {
    using enum TrailerKind;
    const std::tuple<std::uint32_t, std::uint32_t, std::size_t, TrailerKind> cases[] = {
        {101, 1, 164, Found}, {100, 1, 164, Stale}, {101, 0, 164, Stale}, {101, 2, 164, Stale},
        {101, 1, 150, None},  {100, 1, 150, None},  {101, 1, 151, Found}, {101, 1, 400, Found}};
    for (const auto& [version, valid, length, kind] : cases) {
        auto bytes = recordBytes(version, valid, length);
        bytes.resize(length, 0xEE);
        const RenderInfoTrailer t = findRenderInfoTrailer(withTrailer(bytes), 78);
        EXPECT_EQ(t.kind, kind) << version << " " << valid << " " << length;
        EXPECT_EQ(t.declaredSize, kind == None ? t.declaredSize : 78u);
        EXPECT_EQ(t.record.lowFrequency, kind == Found ? 77.0f : t.record.lowFrequency);
    }
    auto file = withTrailer(recordBytes(101, 1));
    file[78] = 'R';
    EXPECT_EQ(findRenderInfoTrailer(file, 78).kind, None);
    file = withTrailer(recordBytes(100, 1));
    auto inside = file;  // a stale record in the pixels must never cut the picture short
    le::writeU32(std::span(inside), 2, 54);
    std::copy_n(recordBytes(100, 1).begin(), 24, inside.begin() + 54);
    EXPECT_EQ(findRenderInfoTrailer(inside, 78).kind, None);
    EXPECT_EQ(findRenderInfoTrailer({}, 0).kind, None);
    file[0] = 0xFF;
    EXPECT_EQ(findRenderInfoTrailer(file, 78).kind, None);
    file[0] = 'B';
    le::writeU32(std::span(file), 2, 0xFFFFFFFF);
    EXPECT_EQ(findRenderInfoTrailer(file, 78).kind, None);
}

struct ImageLoad : ::testing::Test {
    ImageLoadResult load(CanvasImage& image, const std::filesystem::path& path) {
        return loadImageFileCore(files, image, path);
    }
    bool save(const CanvasImage& image, const std::filesystem::path& path, bool refreshInfo,
              bool attachRenderInfo) {
        return saveImageBmp(files, image, path, refreshInfo, attachRenderInfo);
    }
    static std::array<double, 4> parms(const CanvasImage& i) {
        return {i.settings.lowFrequency, i.settings.highFrequency, i.settings.ampFactor,
                i.settings.outputTime};
    }
    testing::MemoryFileSystem files;
};

TEST_F(ImageLoad, AdoptsTheAppendedRecordFirstThenTheInfoFileOrKeepsTheSettings) {
    ASSERT_TRUE(save(renderedPicture(30, 20, 61.5f), "a.bmp", false, true));
    files.put("a.info", "SIZE 30, 20\nPARMS 10, 20, 30, 40\n");
    CanvasImage image;
    image.selection = Rect{0, 0, 1, 1};
    const ImageLoadResult result = load(image, "a.bmp");
    ASSERT_TRUE(result.ok && result.renderInfoUpdated);
    EXPECT_EQ(result.status, "Render info updated by image");
    EXPECT_EQ(parms(image), (std::array<double, 4>{61.5, 6000, 4, 2.5}));
    EXPECT_EQ(image.renderInfo.command, 302);
    EXPECT_TRUE(image.selection.empty());

    ASSERT_TRUE(save(renderedPicture(8, 8, 61.5f), "b.bmp", false, false));
    CanvasImage other = renderedPicture(3, 3, 99.0f);
    const ImageLoadResult none = load(other, "b.bmp");
    EXPECT_TRUE(none.ok && !none.renderInfoUpdated && none.status.empty());
    EXPECT_EQ(std::tuple(other.renderInfo.valid, other.settings.lowFrequency, other.settings.width),
              std::tuple(0u, 99.0, 8));
    CanvasImage saved = renderedPicture(30, 20, 61.5f);
    saved.selection = Rect{5, 6, 7, 8};
    recordRender(saved, 301, 0.5, LocalTime{});
    const std::filesystem::path name = std::filesystem::path(u8"Kl\u00e4nge \u266b.bmp");
    ASSERT_TRUE(save(saved, name, true, false));
    EXPECT_TRUE(files.exists(pathFromUtf8("Kl\xC3\xA4nge \xE2\x99\xAB.info")));
    ASSERT_TRUE(load(image, name).renderInfoUpdated);
    EXPECT_EQ(parms(image), parms(saved));
    EXPECT_EQ(image.selection, (Rect{5, 6, 7, 8}));
    EXPECT_EQ(image.renderInfo.size, 164u);
}

// A record of another version or valid word (a newer program's), or with unusable numbers, is
// passed over for the ".info" file and never cut off: reading writes nothing.
TEST_F(ImageLoad, AStaleOrUnusableRecordIsPassedOverAndTheFileLeftAsItWas) {
    std::vector<std::vector<std::uint8_t>> stored;
    for (const auto& [version, valid] : {std::pair{100u, 1u}, {102u, 1u}, {101u, 0u}})
        stored.push_back(withTrailer(recordBytes(version, valid)));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& [low, high] : {std::pair{0.0f, 8000.0f}, {50.0f, 50.0f}, {nan, 8000.0f}}) {
        CanvasImage saved = renderedPicture(4, 2, 50);
        saved.renderInfo.lowFrequency = low, saved.renderInfo.highFrequency = high;
        ASSERT_TRUE(save(saved, "s.bmp", false, true));
        stored.push_back(files.at("s.bmp"));
        EXPECT_EQ(stored.back().size(), 54u + 24u + 164u);
    }
    for (const auto& file : stored) {
        files.files["s.bmp"] = file;
        files.put("s.info", "SIZE 4, 2\nPARMS 10, 20, 30, 40\n");
        CanvasImage image;
        ASSERT_TRUE(load(image, "s.bmp").renderInfoUpdated);  // from the ".info" file
        EXPECT_EQ(files.at("s.bmp"), file);
        EXPECT_EQ(image.settings.lowFrequency, 10.0);
    }
}

// The picture stays, but its render record no longer counts: a later save must not write it
// (as a ".info" file or appended) for whatever the user then saves.
TEST_F(ImageLoad, AFailedLoadKeepsThePictureButNotItsRenderRecord) {
    CanvasImage image = renderedPicture(3, 3, 99.0f);
    image.selection = Rect{0, 0, 2, 2};
    const CanvasImage before = image;
    files.put("bad.bmp", "BM not really");
    const std::pair<const char*, const char*> cases[] = {
        {"missing.bmp", "Could not open missing.bmp"}, {"bad.bmp", "Not a BMP file"}};
    for (const auto& [name, detail] : cases) {
        image.renderInfo.valid = 1;
        const ImageLoadResult result = load(image, name);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message + " / " + result.detail,
                  std::string("Could not open ") + name + " / " + detail);
        EXPECT_EQ(std::pair(image.renderInfo.valid, image.renderInfo.lowFrequency),
                  std::pair(0u, 99.0f));
    }
    EXPECT_EQ(image.pixels.bytes, before.pixels.bytes);
    EXPECT_EQ(std::pair(image.selection, image.settings.lowFrequency),
              std::pair(before.selection, 99.0));
    // A picture of another format still finds its ".info" file.
    files.put("x.gif", "GIF89a");
    files.put("x.info", "SIZE 3, 3\nPARMS 1, 2, 3, 4\n");
    ASSERT_TRUE(readImageRenderInfo(files, image, "x.gif"));
    EXPECT_EQ(image.renderInfo.lowFrequency, 1.0f);
}

RenderInfoRecord sampleRecord() {
    RenderInfoRecord r;
    r.setMagic();
    r.size = 160, r.version = 101, r.valid = 1, r.command = 303, r.width = 301, r.height = -7;
    r.lowFrequency = 55.5f, r.highFrequency = 7040.25f, r.ampFactor = 12.5f, r.outputTime = 3.75f;
    r.renderTime = 0.125f, r.selection = {1, 2, 300, 149}, r.flags = 8 | 4 | 16;
    r.reserved[0] = 0xAA, r.reserved[31] = 0xBB, r.date = LocalTime{2008, 3, 5, 7, 14, 5, 9, 999};
    r.sourceName = {'s', 'o', 'u', 'n', 'd', '.', 'w', 'a', 'v'};
    r.sourceLength = 2.5f, r.sourceNumber = 0xDEADBEEF, r.sourceChannels = 2;
    r.sourceSampleRate = 44100;
    return r;
}

TEST(RenderInfoRecord, FieldsSitAtTheirOffsets) {
    const RenderInfoBytes bytes = encodeRenderInfo(sampleRecord());
    const std::span<const std::uint8_t> b(bytes);
    // The magic "rdnr", the 32-bit words from offset 4 to 64, then 148 to 160.
    const auto f = [](float v) { return std::bit_cast<std::uint32_t>(v); };
    const std::uint32_t words[] = {
        0x726E6472u, 160,      101,       1, 303, 301, 0xFFFFFFF9u, 0x425E0000u, f(7040.25f),
        f(12.5f),    f(3.75f), f(0.125f), 1, 2,   300, 149,         28};
    for (std::size_t i = 0; i < std::size(words); ++i)
        EXPECT_EQ(le::readU32(b, 4 * i), words[i]) << "offset " << 4 * i;
    EXPECT_EQ(std::pair(bytes[68], bytes[99]), std::pair(std::uint8_t(0xAA), std::uint8_t(0xBB)));
    const std::uint16_t date[8] = {2008, 3, 5, 7, 14, 5, 9, 999};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(le::readU16(b, 100 + 2 * i), date[i]) << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[116])), "sound.wav");
    const std::uint32_t source[] = {f(2.5f), 0xDEADBEEFu, 2, 44100};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(le::readU32(b, 148 + 4 * i), source[i]) << "offset " << 148 + 4 * i;
    // Decoding is the inverse; bytes that are not there read as 0.
    EXPECT_EQ(encodeRenderInfo(decodeRenderInfo(bytes)), bytes);
    const RenderInfoRecord r = decodeRenderInfo(std::span(bytes).first(153));
    EXPECT_EQ(std::tuple(r.command, r.sourceLength, r.sourceNumber, r.sourceSampleRate),
              std::tuple(303, 2.5f, 0xEFu, 0u));
}

TEST(BmpWriter, HeaderBytes) {
    const CanvasImage image = patternPicture(3, 2);  // stride 12, S = 24
    const std::array<std::uint8_t, 54> expected = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header: size S + 54
        40,  0,   0,  0, 3, 0, 0, 0, 2, 0, 0,  0,        // header size, width, height
        1,   0,   24, 0, 0, 0, 0, 0,                     // planes, bit count, compression
        24,  0,   0,  0,                                 // image size S
        0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0};
    EXPECT_EQ(encodeBmpHeader(image.pixels), expected);
    const auto file = encodeBmpFile(image, true);  // no valid record: nothing appended
    ASSERT_EQ(file.size(), 78u);
    EXPECT_TRUE(
        std::equal(image.pixels.bytes.begin(), image.pixels.bytes.end(), file.begin() + 54));
}

// Only a valid record is appended (or written as a ".info" file).
TEST(BmpWriter, NoValidRecordNoTrailerAndNoInfoFile) {
    testing::MemoryFileSystem files;
    CanvasImage image = patternPicture(300, 150);
    recordRender(image, 300, 1.25, LocalTime{2020, 6, 1, 15, 12, 0, 0, 0});
    image.renderInfo.valid = 0;
    ASSERT_TRUE(saveImageBmp(files, image, "c.bmp", true, true));
    EXPECT_EQ(files.at("c.bmp").size(), 54u + 900 * 150);
    EXPECT_FALSE(files.exists("c.info"));
}

TEST(BmpWriter, RoundTripsOverOddSizesAndReplacesTheFileOnlyWhenComplete) {
    testing::MemoryFileSystem files;
    for (std::int32_t width = 1; width <= 5; ++width)
        for (std::int32_t height = 1; height <= 2; ++height) {
            const CanvasImage image = patternPicture(width, height);
            ASSERT_TRUE(saveImageBmp(files, image, "r.bmp", true, true));
            CanvasImage loaded = patternPicture(9, 9);
            ASSERT_TRUE(loadImageFileCore(files, loaded, "r.bmp").ok);
            EXPECT_EQ(loaded.pixels.bytes, image.pixels.bytes) << width << "x" << height;
        }
    files.files.clear();
    const CanvasImage first = patternPicture(5, 5), second = patternPicture(7, 3);
    ASSERT_TRUE(saveImageBmp(files, first, "p.bmp", true, true));
    ASSERT_TRUE(saveImageBmp(files, second, "p.bmp", true, true));
    // Whichever step fails, the previous file stays and nothing is left beside it; the same for a
    // target that cannot be replaced (here a folder) and an empty picture.
    using enum testing::FileCall;
    files.addFolder("d.bmp");
    for (const int failing : {-1, int(Create), int(Write), int(Close), int(Replace)}) {
        if (failing >= 0) files.fail(testing::FileCall(failing));
        EXPECT_FALSE(
            saveImageBmp(files, failing >= 0 ? first : CanvasImage{}, "p.bmp", true, true));
        EXPECT_FALSE(saveImageBmp(files, first, "d.bmp", true, true));
        files.failures.clear();
        EXPECT_EQ(files.at("p.bmp"), encodeBmpFile(second, false)) << failing;
        EXPECT_EQ(files.files.size(), 1u) << failing;
    }
}

TEST(DemoPicture, TheShippedFileIsTheGeneratorsPicture) {
    CanvasImage image;
    adoptPixels(image, testing::makeDemoPicture());
    const std::vector<std::uint8_t> expected = encodeBmpFile(image, false);
    const std::filesystem::path shipped =
        std::filesystem::path(LUMETRA_TEST_DATA).parent_path().parent_path() / "docs" / "demo.bmp";
    StandardFileSystem files;
    if (std::getenv("LUMETRA_WRITE_DEMO")) {
        ASSERT_TRUE(saveImageBmp(files, image, shipped, false, false));
    }
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(files.read(shipped, bytes, expected.size()), ReadOutcome::Read);
    EXPECT_EQ(bytes, expected);
}

using testing::patternPicture;

const LocalTime kMarch7{2008, 3, 5, 7, 14, 5, 9, 0};

std::array<float, 4> parms(const RenderInfoRecord& r) {
    return {r.lowFrequency, r.highFrequency, r.ampFactor, r.outputTime};
}

std::uint32_t accepted(std::string_view text, std::int32_t width = 300, std::int32_t height = 150) {
    return parseRenderInfoText(text, width, height).accepted;
}

TEST(RenderInfoText, WholeDefaultPictureRender) {
    CanvasImage image = patternPicture(300, 150);
    recordRender(image, 300, 1.37, kMarch7);
    const std::string text = formatRenderInfoText(image.renderInfo, image.settings);
    EXPECT_EQ(text,
              "// By <you> 14:05:09 - March 7, 2008\n\nCMD 300 \t// Render\nSIZE 300, 150\n"
              "PARMS 50.0000, 8000.0000, 10.00, 5.00 \t// low, high, amp, time\n"
              "// Render time: 1.37 sec\n");
    image.renderInfo.flags = 0;  // without the date flag there is no "By" line
    EXPECT_EQ(formatRenderInfoText(image.renderInfo, image.settings),
              text.substr(text.find("CMD")));
}

TEST(RenderInfoText, SelectionRendersAndMonths) {
    CanvasImage image = patternPicture(40, 30);
    image.selection = Rect{3, 4, 20, 25};
    image.settings.lowFrequency = 27.5, image.settings.highFrequency = 4186.00904;
    image.settings.ampFactor = 2.345, image.settings.outputTime = 0.5;
    recordRender(image, 303, 0.0, LocalTime{1999, 12, 0, 31, 0, 0, 0, 0});
    EXPECT_EQ(formatRenderInfoText(image.renderInfo, image.settings),
              "// By <you> 00:00:00 - Dec 31, 1999\n\nCMD 303 \t// Render selection, no blue\n"
              "SIZE 40, 30\nSEL 3, 4, 20, 25 \t// left, top, right, bottom\n"
              "PARMS 27.5000, 4186.0090, 2.35, 0.50 \t// low, high, amp, time\n");
    image.selection = Rect{};
    recordRender(image, 301, 2.0, LocalTime{2001, 0, 0, 2, 3, 4, 5, 0});
    const std::string text = formatRenderInfoText(image.renderInfo, image.settings);
    EXPECT_EQ(text.substr(0, 31), "// By <you> 03:04:05 -  2, 2001");
    EXPECT_NE(text.find("CMD 301 \t// Render selection\nSIZE"), std::string::npos);
    EXPECT_EQ(text.find("SEL"), std::string::npos);
    EXPECT_EQ(std::string(monthName(9)) + std::string(monthName(13)), "Sept");
}

TEST(RenderInfoText, AnalysisRecordsPrintTheirOwnNumbers) {
    CanvasImage image = patternPicture(64, 32);
    RenderInfoRecord& r = image.renderInfo;
    r.command = 104, r.width = 64, r.height = 32, r.flags = 4 | 16;
    r.lowFrequency = 100.0f, r.highFrequency = 5000.0f, r.ampFactor = 1.5f, r.outputTime = 2.25f;
    r.sourceName.fill('n');  // all 32 bytes: printed without running past them
    r.sourceLength = 12.345f, r.sourceNumber = 44100, r.sourceChannels = 2;
    EXPECT_EQ(formatRenderInfoText(r, image.settings),
              "Sourcefile: " + std::string(32, 'n') +
                  "\nSource length: 12.35 (44100), stereo\nSample rate: 44100\n\n"
                  "CMD 104 \t// Soundfile Analysis\nSIZE 64, 32\n"
                  "PARMS 100.0000, 5000.0000, 1.50, 2.25 \t// low, high, amp, time\n");
    r.flags = 16, r.sourceChannels = 1;
    EXPECT_EQ(formatRenderInfoText(r, image.settings).substr(0, 36),
              "Source length: 12.35 (44100), mono\nS");
}

// Named after the picture with ".info" for its extension, written with the platform's line ends.
TEST(RenderInfoText, FileNameAndLineEnds) {
    using std::filesystem::path;
    EXPECT_EQ(renderInfoFileName(path("my.folder/pic.take")), path("my.folder/pic.info"));
    EXPECT_EQ(renderInfoFileName(path("my.folder/picture")), path("my.folder/picture.info"));
    testing::MemoryFileSystem files;
    CanvasImage image = patternPicture(300, 150);
    recordRender(image, 300, 1.37, kMarch7);
    ASSERT_TRUE(writeRenderInfoFile(files, image, "pics/sound.bmp"));
    std::string expected;
    for (char c : formatRenderInfoText(image.renderInfo, image.settings))
        expected += c == '\n' ? std::string(kInfoLineEnd) : std::string(1, c);
    EXPECT_EQ(files.text("pics/sound.info"), expected);
    files.fail(testing::FileCall::Create);
    EXPECT_FALSE(writeRenderInfoFile(files, image, "pics/sound.bmp"));
}

TEST(RenderInfoReader, LineSpelling) {
    // Letter case, leading blanks and tabs, CR LF ends, separators of any mix.
    const RenderInfoText t = parseRenderInfoText(
        "\t  parms 27.5,4186.01\t\t2.5 ,, 0.75\r\n  \tsIzE\t64 ,32\r\nSel 1,2, 3 ,4", 64, 32);
    EXPECT_EQ(t.accepted, kParmsAccepted | kSizeAccepted | kSelAccepted);
    EXPECT_EQ(parms(t.record), (std::array<float, 4>{27.5f, 4186.01f, 2.5f, 0.75f}));
    EXPECT_EQ(t.record.selection, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
    // Comments, other starts and keywords after the start are not read.
    EXPECT_EQ(accepted("//SIZE 64, 32\n  // PARMS 1, 2, 3, 4\nCMD SIZE 64, 32\nx SEL 1, 2, 3, 4\n",
                       64, 32),
              0u);
    // Numbers follow the keyword directly, and only their leading digits count.
    EXPECT_EQ(accepted("SIZE64,32px\nPARMS+5e1, 8e3x, 1, .5\n", 64, 32),
              kSizeAccepted | kParmsAccepted);
}

// PARMS needs four finite numbers (a missing one reads as 0) with 0 < low < high and amp, time
// above 0; SIZE must be the picture's; SEL a non-empty rectangle inside it.
TEST(RenderInfoReader, NumberRulesOfParmsSizeAndSel) {
    EXPECT_EQ(accepted("PARMS 50, 8000, 10, 5"), kParmsAccepted);
    EXPECT_EQ(accepted("SIZE 300.9, 150"), kSizeAccepted);
    EXPECT_EQ(accepted("SEL 0, 0, 300, 150"), kSelAccepted);
    const std::pair<const char*, std::vector<const char*>> refused[] = {
        {"PARMS ",
         {"50, 50, 10, 5", "0, 8000, 10, 5", "50, 8000, 0, 5", "50, 8000, 10, -5", "50, 8000, 10",
          "--50, 8000, 10, 5", "50, 1e39, 10, 5", "nan, 8000, 10, 5", "1e-50, 8000, 10, 5"}},
        {"SIZE ", {"300, 151", "150, 300", "300", "4294967596, 150"}},
        {"SEL ",
         {"0, 0, 301, 150", "0, 0, 300, 151", "-1, 0, 10, 10", "0, -1, 10, 10", "10, 0, 10, 10",
          "0, 10, 10, 5", "1, 2, 3"}}};
    for (const auto& [keyword, lines] : refused)
        for (const char* numbers : lines)
            EXPECT_EQ(accepted(keyword + std::string(numbers)), 0u) << keyword << numbers;
}

// Lines are read in pieces of 299 characters, the line end (CR LF as one) counted in; a zero
// byte ends the piece.
TEST(RenderInfoReader, LinesAreReadInPiecesOf299Characters) {
    const std::string comment = "//" + std::string(297, 'x');
    EXPECT_EQ(accepted(comment + "SIZE 10, 10\n", 10, 10), kSizeAccepted);
    EXPECT_EQ(accepted(comment.substr(1) + "SIZE 10, 10\n", 10, 10), 0u);
    EXPECT_EQ(accepted(comment.substr(1) + "\nSIZE 10, 10\n", 10, 10), kSizeAccepted);
    EXPECT_EQ(accepted(comment.substr(1) + "\r\nSIZE 10, 10\r\n", 10, 10), kSizeAccepted);
    EXPECT_EQ(accepted(std::string("SIZE 10\0, 10\n", 13), 10, 10), 0u);
}

TEST(RenderInfoReader, ATextCountsOnlyWithParmsAndSize) {
    CanvasImage image = patternPicture(300, 150);
    image.selection = Rect{1, 1, 5, 5};
    const RenderInfoBytes before = encodeRenderInfo(image.renderInfo);
    const auto adopt = [&](const char* text) {
        return adoptRenderInfoText(image, parseRenderInfoText(text, 300, 150));
    };
    for (const char* text : {"PARMS 40, 9000, 5, 2\n", "SIZE 300, 150\nSEL 0, 0, 10, 10\n"}) {
        EXPECT_FALSE(adopt(text)) << text;
        EXPECT_EQ(image.selection, (Rect{1, 1, 5, 5}));
        EXPECT_EQ(encodeRenderInfo(image.renderInfo), before);
    }
    ASSERT_TRUE(adopt("SIZE 300, 150\nPARMS 40, 9000, 5, 2\nSEL 2, 3, 50, 60\n"));
    EXPECT_EQ(image.selection, (Rect{2, 3, 50, 60}));
    const RenderInfoRecord& r = image.renderInfo;
    EXPECT_TRUE(r.hasMagic() && r.size == 164u && r.version == 101u && r.valid == 1u);
    EXPECT_EQ(r.highFrequency, 9000.0f);
    // A refused SEL clears the selection and leaves none in the record.
    ASSERT_TRUE(adopt("SIZE 300, 150\nPARMS 40, 9000, 5, 2\nSEL 2, 3, 500, 60\n"));
    EXPECT_TRUE(image.selection.empty());
    EXPECT_EQ(image.renderInfo.selection, (std::array<std::int32_t, 4>{}));
}

}  // namespace
}  // namespace lumetra
