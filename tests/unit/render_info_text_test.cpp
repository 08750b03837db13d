// The ".info" file: its exact text, its file name, and the reader's acceptance rules.

#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "document/canvas_image.h"
#include "document/document_render.h"
#include "document/render_info_file.h"
#include "memory_file_system.h"

namespace lumetra {
namespace {

using testing::patternPicture;

const LocalTime kMarch7{2008, 3, 5, 7, 14, 5, 9, 0};

std::array<float, 4> parms(const RenderInfoRecord& r) {
    return {r.lowFrequency, r.highFrequency, r.ampFactor, r.outputTime};
}

std::uint32_t accepted(std::string_view text, std::int32_t width = 300, std::int32_t height = 150) {
    return parseRenderInfoText(text, width, height).accepted;
}

TEST(RenderInfoText, WholeDefaultPictureRenderAndItsReadingBack) {
    CanvasImage image = patternPicture(300, 150);
    recordRender(image, 300, 1.37, kMarch7);
    const std::string text = formatRenderInfoText(image.renderInfo, image.settings);
    EXPECT_EQ(text,
              "// By <you> 14:05:09 - March 7, 2008\n\nCMD 300 \t// Render\nSIZE 300, 150\n"
              "PARMS 50.0000, 8000.0000, 10.00, 5.00 \t// low, high, amp, time\n"
              "// Render time: 1.37 sec\n");
    const RenderInfoText t = parseRenderInfoText(text, 300, 150);
    EXPECT_EQ(t.accepted, kParmsAccepted | kSizeAccepted);
    EXPECT_EQ(parms(t.record), (std::array<float, 4>{50, 8000, 10, 5}));
    EXPECT_EQ(std::pair(t.record.width, t.record.command), std::pair(300, 0));  // CMD is not read
    image.renderInfo.flags = 0;  // without the date flag there is no "By" line
    EXPECT_EQ(formatRenderInfoText(image.renderInfo, image.settings),
              text.substr(text.find("CMD")));
}

TEST(RenderInfoText, SelectionRendersTheNoBlueCommandsAndMonths) {
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
    recordRender(image, 302, 2.0, kMarch7);
    EXPECT_NE(formatRenderInfoText(image.renderInfo, image.settings)
                  .find("CMD 302 \t// Render, no blue\nSIZE"),
              std::string::npos);
    const char* names[] = {"",     "Jan", "Feb",  "March", "April", "May", "June",
                           "July", "Aug", "Sept", "Oct",   "Nov",   "Dec"};
    for (std::uint16_t m = 0; m <= 13; ++m)
        EXPECT_EQ(monthName(m), m <= 12 ? names[m] : "") << m;
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

TEST(RenderInfoReader, LaterLinesOverwriteEarlierOnes) {
    const RenderInfoText refused =
        parseRenderInfoText("PARMS 50, 8000, 10, 5\nSIZE 10, 10\nPARMS 0, 0, 0, 0\n", 10, 10);
    EXPECT_EQ(std::pair(refused.accepted, refused.record.lowFrequency),
              std::pair(std::uint32_t(kSizeAccepted), 0.0f));
    const RenderInfoText taken =
        parseRenderInfoText("SIZE 9, 9\nPARMS 1, 2, 3\nSIZE 10, 10\nparms 1, 2, 3, 4\n", 10, 10);
    EXPECT_EQ(taken.accepted, kSizeAccepted | kParmsAccepted);
    EXPECT_EQ(taken.record.outputTime, 4.0f);
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
    for (const char* text : {"// only a comment\n\n   \n", "PARMS 40, 9000, 5, 2\n",
                             "SIZE 300, 150\nSEL 0, 0, 10, 10\n"}) {
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
