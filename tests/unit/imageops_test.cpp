// The image operations: the colour operations, Mirror, Flip, Delete, Double and Half, filters and
// overlays, the table of the picture commands, the halftone stretch they use, and lumetra-edit,
// which runs them on picture files. The fast loops agree with the plain reference bit for bit on
// random pictures, padding and pixels outside the region included; small tables pin the reference
// to the formulas.

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/format_text.h"
#include "cli/command_line.h"
#include "cli/edit/batch_edit.h"
#include "cli/edit/edit_operations.h"
#include "cli/edit/edit_options.h"
#include "document/document_render.h"
#include "document/image_file.h"
#include "document/image_save.h"
#include "image/bmp_reader.h"
#include "image/stretch_halftone.h"
#include "imageops/colour_operations.h"
#include "imageops/composite.h"
#include "imageops/delete_region.h"
#include "imageops/geometry_operations.h"
#include "imageops/picture_commands.h"
#include "imageops_reference.h"
#include "memory_file_system.h"

namespace lumetra {
namespace {

using testing::FileCall;
using testing::randomPicture;

CanvasImage canvas(PixelImage pixels) {
    CanvasImage image;
    adoptPixels(image, std::move(pixels));
    return image;
}

PixelImage flat(std::int32_t width, std::int32_t height, Rgb colour) {
    PixelImage picture = randomPicture(width, height, 0);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            setPixel(picture, x, y, colour);
    return picture;
}

TEST(ColourOperations, ByteArithmetic) {
    using enum ColourOperation;
    struct Case {
        ColourOperation operation;
        Rgb first, second, firstAfter, secondAfter;  // the pixels of a 2 x 1 picture
    };
    const Case cases[] = {
        {Brighten, {100, 197, 0}, {10, 196, 255}, {129, 255, 0}, {12, 254, 255}},
        {Darken, {255, 1, 100}, {0, 2, 3}, {221, 0, 87}, {0, 1, 2}},
        {MoreContrast, {21, 22, 128}, {191, 192, 64}, {0, 1, 160}, {254, 255, 64}},
        {Normalize, {100, 50, 0}, {7, 7, 7}, {254, 127, 0}, {17, 17, 17}},
        // A picture that reaches 255 is left as it is, one all black stays black.
        {Normalize, {255, 0, 0}, {100, 100, 100}, {255, 0, 0}, {100, 100, 100}},
        {Normalize, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        // Blue goes where red and green are both 0.
        {ClearExcessBlue, {0, 0, 200}, {1, 0, 200}, {0, 0, 0}, {1, 0, 200}},
        {ClearExcessBlue, {0, 1, 200}, {0, 0, 9}, {0, 1, 200}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        CanvasImage image = canvas(randomPicture(2, 1, 1));
        setPixel(image.pixels, 0, 0, c.first);
        setPixel(image.pixels, 1, 0, c.second);
        applyColourOperation(image, c.operation);
        EXPECT_EQ(pixelAt(image.pixels, 0, 0), c.firstAfter) << int(c.operation);
        EXPECT_EQ(pixelAt(image.pixels, 1, 0), c.secondAfter) << int(c.operation);
    }
}

// Double on even sides shows the picture twice exactly, the second copy where it selects; an odd
// side is stretched by a pixel, which falls outside (HalfDrawsTwoHalfSizeCopies).
TEST(GeometryOperations, DoubleAndHalfSizesSelectionsAndCopies) {
    using enum Duplication;
    struct Case {
        Duplication kind;
        std::int32_t width, height;
        std::int32_t newWidth, newHeight;
        Rect selection;
    };
    const Case cases[] = {
        {DoubleHorizontally, 7, 5, 14, 5, {7, 0, 14, 5}},
        {DoubleVertically, 7, 5, 7, 10, {0, 5, 7, 10}},
        {DoubleHorizontally, 6, 4, 12, 4, {6, 0, 12, 4}},
        {DoubleVertically, 6, 4, 6, 8, {0, 4, 6, 8}},
        {HalfHorizontally, 101, 50, 101, 50, {}},
    };
    for (const Case& c : cases) {
        const CanvasImage before = canvas(randomPicture(c.width, c.height, 3));
        CanvasImage image = before;
        image.selection = Rect{1, 1, 2, 2};
        duplicatePicture(image, c.kind);
        EXPECT_EQ((std::vector<std::int32_t>{image.pixels.width, image.pixels.height,
                                             image.settings.width, image.settings.height}),
                  (std::vector<std::int32_t>{c.newWidth, c.newHeight, c.newWidth, c.newHeight}));
        EXPECT_EQ(image.selection, c.selection) << int(c.kind) << " of " << c.width;
        if (c.selection.empty() || c.width % 2 != 0 || c.height % 2 != 0) continue;
        for (std::int32_t y = 0; y < c.newHeight; ++y)
            for (std::int32_t x = 0; x < c.newWidth; ++x)
                EXPECT_EQ(pixelAt(image.pixels, x, y),
                          pixelAt(before.pixels, x % c.width, y % c.height));
    }
}

// Half Horizontally of a 101 x 3 picture: two copies 51 columns wide at 0 and 51, the last column
// of the second cut off. The odd height is stretched by a row too, which falls outside.
TEST(GeometryOperations, HalfDrawsTwoHalfSizeCopiesInsideTheBounds) {
    const CanvasImage before = canvas(randomPicture(101, 3, 5));
    CanvasImage image = before;
    duplicatePicture(image, Duplication::HalfHorizontally);
    PixelImage half = randomPicture(51, 3, 6);
    ASSERT_TRUE(
        testing::referenceStretchHalftone(half, {0, 0, 51, 4}, before.pixels, {0, 0, 101, 3}));
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 101; ++x)
            EXPECT_EQ(pixelAt(image.pixels, x, y), pixelAt(half, x % 51, y)) << x;
}

// The other picture, black but for its top right pixel, over a 2 x 2 region of one colour: the
// pixel at (x, y), where that one lands. Flips: 1 mirrors, 2 turns upside down.
TEST(Composite, PerChannelArithmeticAndFlips) {
    using enum CompositeKind;
    struct Case {
        CompositeKind kind;
        int flips;
        ChannelPercentages percent;
        Rgb current, other;
        std::int32_t x, y;
        Rgb expected;
    };
    const Case cases[] = {
        // q = (128 * 200 + 128) / 255 = 100, blended at 100, 50 and 0 %; then q at 127.5.
        {Filter, 0, {100, 50, 0}, {200, 200, 200}, {128, 128, 128}, 1, 0, {100, 150, 200}},
        {Filter, 0, {100, 100, 100}, {1, 3, 1}, {126, 85, 127}, 1, 0, {0, 1, 1}},
        {AdditiveOverlay, 0, {50, 33, 100}, {10, 10, 10}, {99, 100, 255}, 1, 0, {59, 43, 255}},
        {OrOverlay, 0, {}, {0x0F, 0x30, 0}, {0xF0, 0x03, 0}, 1, 0, {0xFF, 0x33, 0}},
        {Filter, 1, {}, {90, 90, 90}, {255, 255, 255}, 0, 0, {90, 90, 90}},
        {Filter, 2, {}, {90, 90, 90}, {255, 255, 255}, 1, 1, {90, 90, 90}},
        {Filter, 3, {}, {90, 90, 90}, {255, 255, 255}, 0, 1, {90, 90, 90}},
    };
    for (const Case& c : cases) {
        CanvasImage image = canvas(flat(2, 2, c.current));
        PixelImage other = flat(2, 2, Rgb{});
        setPixel(other, 1, 0, c.other);
        const CompositeOptions o{c.kind, (c.flips & 1) != 0, (c.flips & 2) != 0, c.percent};
        ASSERT_TRUE(compositeImage(image, other, o).ok);
        EXPECT_EQ(pixelAt(image.pixels, c.x, c.y), c.expected) << int(c.kind) << ", " << c.flips;
    }
}

TEST(Composite, CommandsChooseTheCombination) {
    using enum CompositeKind;
    const BrowserChoices browser{true, true, {10, 20, 30}};
    const std::pair<int, CompositeOptions> cases[] = {
        {208, {Filter, true, true, {10, 20, 30}}},
        {209, {Filter, false, false, {}}},  // the clipboard: at 100 % without flips
        {210, {AdditiveOverlay, true, true, {10, 20, 30}}},
        {211, {OrOverlay, true, true, {10, 20, 30}}},
        {212, {OrOverlay, true, true, {10, 20, 30}}},
    };
    for (const auto& [command, expected] : cases)
        EXPECT_EQ(compositeOptionsForCommand(command, browser), expected) << command;
}

TEST(Composite, FailuresNameTheirCauseAndChangeNothing) {
    using enum CompositeKind;
    PixelImage malformed = flat(3, 3, Rgb{1, 2, 3});
    malformed.stride = 8;
    struct Case {
        CompositeKind kind;
        PixelImage other;
        Rect selection;
        std::string_view text;
    };
    const Case cases[] = {
        {Filter, PixelImage{}, Rect{}, kFilterPictureUnusableText},
        {OrOverlay, malformed, Rect{}, kFilterPictureUnusableText},
        {AdditiveOverlay, flat(2, 2, {}), Rect{9, 9, 12, 12}, kStretchedFilterFailedText},
        {OrOverlay, flat(2, 2, {}), Rect{9, 9, 12, 12}, kOverlayStretchFailedText},
    };
    for (const Case& c : cases) {
        CanvasImage image = canvas(flat(4, 4, Rgb{7, 7, 7}));
        image.selection = c.selection;
        const CanvasImage before = image;
        const CompositeResult result =
            compositeImage(image, c.other, CompositeOptions{c.kind, false, false, {}});
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.message, c.text);
        EXPECT_EQ(image.pixels.bytes, before.pixels.bytes) << c.text;
    }
}

// Random pictures of odd and even widths (so that the padding differs) with selections along the
// edges and beyond them, through every colour operation (clear-excess-blue on many zero bytes so
// that its rule is met, normalize with room to grow), Mirror, Flip and Delete, and every filter
// and overlay, flipped and at part strength.
TEST(ImageOperations, AgreeWithTheReferenceBitForBit) {
    using enum ColourOperation;
    const Rect selections[] = {{},
                               {0, 0, 1, 1},
                               {0, 0, 37, 3},
                               {36, 0, 37, 23},
                               {5, 22, 37, 23},
                               {3, 4, 20, 19},
                               {17, 0, 18, 23},
                               {-4, 20, 30, 40}};
    std::uint32_t seed = 20;
    for (const std::int32_t width : {37, 38, 17, 1}) {
        for (const Rect& selection : selections) {
            CanvasImage start = canvas(randomPicture(width, 23, ++seed));
            start.selection = selection;
            const std::string where =
                formatText("%d wide, selection %d,%d", width, selection.left, selection.top);
            for (const ColourOperation operation :
                 {Normalize, Brighten, Darken, MoreContrast, Invert, ClearExcessBlue}) {
                CanvasImage fast = start;
                for (std::uint8_t& byte : fast.pixels.bytes) {
                    if (operation == ClearExcessBlue && byte < 128) byte = 0;
                    if (operation == Normalize) byte /= 3;
                }
                CanvasImage plain = fast;
                applyColourOperation(fast, operation);
                testing::referenceColourOperation(plain, operation);
                ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes)
                    << "operation " << int(operation) << ", " << where;
            }
            for (const auto& [operation, reference] :
                 {std::pair{&mirrorRegion, &testing::referenceMirror},
                  std::pair{&flipRegion, &testing::referenceFlip},
                  std::pair{&deleteRegion, &testing::referenceDelete}}) {
                CanvasImage fast = start;
                CanvasImage plain = start;
                operation(fast);
                reference(plain);
                ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes) << where;
            }
            for (const CompositeKind kind : {CompositeKind::Filter, CompositeKind::AdditiveOverlay,
                                             CompositeKind::OrOverlay}) {
                for (const int flips : {0, 1, 2, 3}) {
                    CanvasImage fast = start;
                    CanvasImage plain = start;
                    const PixelImage other = randomPicture(7 + flips, 5, ++seed);
                    const CompositeOptions o{
                        kind, (flips & 1) != 0, (flips & 2) != 0,
                        flips % 3 != 0 ? ChannelPercentages{37, 0, 81} : ChannelPercentages{}};
                    ASSERT_EQ(compositeImage(fast, other, o).ok,
                              testing::referenceComposite(plain, other, o));
                    ASSERT_EQ(fast.pixels.bytes, plain.pixels.bytes)
                        << "kind " << int(kind) << ", flips " << flips << ", " << where;
                }
            }
        }
    }
}

template <ColourOperation Operation>
void colour(CanvasImage& image) {
    applyColourOperation(image, Operation);
}

// Every row runs its own operation, tells whether the size changed, and refreshes the layout
// exactly where the size or the selection changes. The program never holds such pictures, but no
// row may reach outside a picture's memory: one whose bytes do not match its size is left alone.
TEST(PictureCommands, EachRowRunsItsOperationAndLeavesMalformedPicturesAlone) {
    using enum ColourOperation;
    const std::pair<int, void (*)(CanvasImage&)> rows[] = {
        {223, colour<Normalize>},    {224, colour<Brighten>}, {225, colour<Darken>},
        {226, colour<MoreContrast>}, {227, colour<Invert>},   {228, colour<ClearExcessBlue>},
        {241, mirrorRegion},         {242, flipRegion},       {207, deleteRegion},
    };
    for (const auto& [command, operation] : rows) {
        CanvasImage viaTable = canvas(randomPicture(4, 3, 1));
        for (std::uint8_t& byte : viaTable.pixels.bytes)
            byte = static_cast<std::uint8_t>(byte / 2);  // room to normalize, zeros to clear
        CanvasImage direct = viaTable;
        findPictureCommand(command)->apply(viaTable);
        operation(direct);
        EXPECT_EQ(viaTable.pixels.bytes, direct.pixels.bytes) << command;
    }
    EXPECT_EQ(findPictureCommand(208), nullptr);
    for (const PictureCommand& c : pictureCommands()) {
        EXPECT_EQ(findPictureCommand(c.command), &c);
        CanvasImage image = canvas(randomPicture(4, 3, 2));
        image.selection = Rect{1, 1, 2, 2};
        const PictureCommandResult result = c.apply(image);
        const bool resized = image.pixels.width != 4 || image.pixels.height != 3;
        const bool reselected = image.selection != Rect{1, 1, 2, 2};
        EXPECT_TRUE(result.done) << c.command;
        EXPECT_EQ(result.sizeChanged, resized) << c.command;
        EXPECT_EQ(c.refresh == PictureRefresh::Layout, resized || reselected) << c.command;
        image.pixels.bytes.resize(20);
        const std::vector<std::uint8_t> before = image.pixels.bytes;
        c.apply(image);
        EXPECT_EQ(image.pixels.bytes, before) << c.command;
    }
}

// A picture of one row whose pixels are grey (all three bytes alike) with the given values.
PixelImage greyRow(const std::vector<int>& values) {
    PixelImage row = randomPicture(std::int32_t(values.size()), 1, 0);
    for (std::size_t x = 0; x < values.size(); ++x) {
        const auto v = static_cast<std::uint8_t>(values[x]);
        setPixel(row, std::int32_t(x), 0, Rgb{v, v, v});
    }
    return row;
}

std::vector<int> greyValues(const PixelImage& row) {
    std::vector<int> values;
    for (std::int32_t x = 0; x < row.width; ++x)
        values.push_back(pixelAt(row, x, 0).red);
    return values;
}

// One row onto another, across.
TEST(StretchHalftone, AveragesWhatLiesUnderEachPixel) {
    struct Case {
        std::vector<int> source;
        std::int32_t fromX, fromWidth;
        std::vector<int> destination;  // as it is before
        std::int32_t toX, toWidth;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{10, 20, 30, 41}, 0, 4, {99, 99}, 0, 2, {15, 36}},  // 35.5 rounds up
        {{10, 20}, 0, 2, {99, 99, 99}, 0, 3, {10, 15, 20}},  // the middle pixel half over each
        {{1, 2, 3, 4, 5, 6, 7}, 0, 7, {0, 0, 0}, 0, 3, {2, 4, 6}},  // weights 3,3,1 / 2,3,2 / 1,3,3
        // A negative extent runs back from its origin.
        {{1, 2, 3}, 0, 3, {0, 0, 0}, 2, -3, {3, 2, 1}},
        // A destination rectangle left of the picture: its first two columns are cut off.
        {{1, 2, 3, 4}, 0, 4, {99, 99, 99}, -2, 4, {3, 4, 99}},
        // Source columns 2 and 3 do not exist: what lies under them stays as it was.
        {{7, 8}, 0, 4, {99, 99, 99, 99}, 0, 4, {7, 8, 99, 99}},
        // One pixel over three source columns of which two exist: the average of those two.
        {{10, 21}, 0, 3, {99}, 0, 1, {16}},
    };
    for (const Case& c : cases) {
        PixelImage destination = greyRow(c.destination);
        ASSERT_TRUE(stretchHalftone(destination, {c.toX, 0, c.toWidth, 1}, greyRow(c.source),
                                    {c.fromX, 0, c.fromWidth, 1}));
        EXPECT_EQ(greyValues(destination), c.expected)
            << c.source.size() << " from " << c.fromX << " onto " << c.toX << ", " << c.toWidth;
    }
}

TEST(StretchHalftone, RefusesZeroExtentsAndMalformedPictures) {
    const PixelImage source = randomPicture(3, 3, 5);
    PixelImage destination = randomPicture(3, 3, 6);
    const PixelImage before = destination;
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 0, 3}, source, {0, 0, 3, 3}));
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, source, {0, 0, 3, 0}));
    PixelImage shortOfBytes = source;
    shortOfBytes.bytes.pop_back();
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, shortOfBytes, {0, 0, 3, 3}));
    EXPECT_FALSE(stretchHalftone(destination, {0, 0, 3, 3}, PixelImage{}, {0, 0, 3, 3}));
    EXPECT_EQ(destination.bytes, before.bytes);
}

// Shapes the filters and overlays do not make: 1:1 at an offset, exact halving, a reversed
// destination, rectangles beyond both pictures, a single pixel.
TEST(StretchHalftone, AgreesWithTheReferenceBitForBit) {
    struct Case {
        std::int32_t sourceWidth, sourceHeight;
        StretchRect from;
        std::int32_t width, height;
        StretchRect to;
    };
    const Case cases[] = {
        {7, 5, {0, 0, 7, 5}, 9, 6, {1, 1, 7, 5}},
        {8, 6, {0, 0, 8, 6}, 8, 3, {0, 0, 8, 3}},
        {9, 7, {0, 0, 9, 7}, 10, 10, {9, 9, -17, -4}},
        {10, 6, {-3, 2, 16, 9}, 12, 8, {-2, -1, 15, 12}},
        {1, 1, {0, 0, 1, 1}, 6, 5, {0, 0, 6, 5}},
    };
    std::uint32_t seed = 100;
    for (const Case& c : cases) {
        const PixelImage source = randomPicture(c.sourceWidth, c.sourceHeight, ++seed);
        PixelImage fast = randomPicture(c.width, c.height, ++seed);
        PixelImage plain = fast;
        ASSERT_TRUE(stretchHalftone(fast, c.to, source, c.from));
        ASSERT_TRUE(testing::referenceStretchHalftone(plain, c.to, source, c.from));
        EXPECT_EQ(fast.bytes, plain.bytes)
            << c.sourceWidth << " x " << c.sourceHeight << " onto " << c.width << " x " << c.height
            << " at " << c.to.x << ", " << c.to.y;
    }
    // Onto itself, turned: every row read as it was before.
    PixelImage picture = randomPicture(3, 4, 99);
    PixelImage plain = picture;
    ASSERT_TRUE(stretchHalftone(picture, {0, 0, 3, 4}, picture, {0, 3, 3, -4}));
    ASSERT_TRUE(testing::referenceStretchHalftone(plain, {0, 0, 3, 4}, plain, {0, 3, 3, -4}));
    EXPECT_EQ(picture.bytes, plain.bytes);
}

// lumetra-edit: its command line and runs over files in memory, what each line does, its exit
// code and message, and that a failed run leaves no output and no partial file.

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

TEST(EditCommandLine, NumbersWordsAndTheOptionsBeforeTheFiles) {
    std::uint32_t word = 0;
    EXPECT_TRUE(readWord("0x16BA2118", word));
    EXPECT_EQ(word, 0x16BA2118u);
    EXPECT_TRUE(readWord("4294967295", word));
    EXPECT_EQ(word, 4294967295u);
    for (const char* bad : {"", "0x", "-1", "4294967296", "0x100000000", "12x", "0x1G", " 1"})
        EXPECT_FALSE(readWord(bad, word)) << bad;
    std::int32_t three[3] = {};
    EXPECT_TRUE(readNumberList("1,-2,3", three));
    EXPECT_EQ(three[1], -2);
    for (const char* bad : {"1,2", "1,2,3,4", "1,,3", "1,2,", "a,b,c"})
        EXPECT_FALSE(readNumberList(bad, three)) << bad;
    std::string message;
    const auto o =
        parseEditOptions(words("--seed 0x10 in.bmp out.bmp filter f.bmp --flip-lr"), message);
    ASSERT_TRUE(o) << message;
    EXPECT_EQ(o->seed, 16u);
    EXPECT_EQ(o->arguments, (std::vector<std::string>{"f.bmp", "--flip-lr"}));
}

// In memory: a random 5 x 3 picture with a render record appended, a white one and no picture.
struct EditRig {
    EditRig() {
        CanvasImage image = canvas(randomPicture(5, 3, 9));
        image.settings.lowFrequency = 40;
        image.settings.outputTime = 1.5;
        recordRender(image, 300, 0.5, LocalTime{2022, 2, 2, 2, 2, 2, 2, 2});
        record = image.renderInfo;
        files.files["in.bmp"] = encodeBmpFile(image, true);
        picture = *decodeBmp(files.at("in.bmp")).pixels;  // as the tool reads it
        files.files["white.bmp"] = encodeBmpFile(canvas(flat(2, 2, Rgb{255, 255, 255})), false);
        files.put("words.bmp", "BM no picture in here");
    }

    int run(const std::string& line) {
        out.str("");
        err.str("");
        return runBatchEdit(words(line), files, out, err);
    }
    PixelImage output() const { return *decodeBmp(files.at("out.bmp")).pixels; }

    testing::MemoryFileSystem files;
    PixelImage picture;
    RenderInfoRecord record;
    std::ostringstream out, err;
};

// Good lines print on standard output and write out.bmp; bad ones tell why on standard error and
// leave the earlier out.bmp as it was, with nothing written beside it.
TEST(BatchEdit, CommandLinesExitCodesAndMessages) {
    struct Case {
        const char* line;
        int exitCode;
        const char* message;  // a piece of the output
        std::optional<FileCall> failing = std::nullopt;
    };
    const Case cases[] = {
        {"--seed 0x10 --selection 0,0,5,3 in.bmp out.bmp or-overlay white.bmp --flip-ud", 0,
         "Wrote out.bmp"},
        {"--help", 0, "Usage: lumetra-edit [--selection L,T,R,B] [--seed N] INPUT.bmp OUTPUT.bmp"},
        {"--bogus in.bmp out.bmp invert", 2, "Unknown option --bogus"},
        {"--selection 1,2,3 in.bmp out.bmp invert", 2, "Bad value for --selection: 1,2,3"},
        {"--seed -5 in.bmp out.bmp invert", 2, "Bad value for --seed: -5"},
        {"--seed", 2, "Option --seed needs a value"},
        {"in.bmp out.bmp", 2, "Missing INPUT.bmp, OUTPUT.bmp or OPERATION"},
        {"in.bmp out.bmp sharpen", 2, "Unknown operation sharpen"},
        {"in.bmp out.bmp invert now", 2, "invert takes no arguments, not now"},
        {"in.bmp out.bmp filter", 2, "filter needs the PICTURE to combine"},
        {"in.bmp out.bmp filter --flip-lr", 2, "filter needs the PICTURE to combine"},
        {"in.bmp out.bmp overlay white.bmp --strength 0,50,101", 2, "Bad value for --strength"},
        {"in.bmp out.bmp overlay white.bmp --strength", 2, "Option --strength needs a value"},
        {"in.bmp out.bmp or-overlay white.bmp --strength 1,1,1", 2,
         "Unknown argument of or-overlay: --strength"},
        {"--selection 0,0,6,3 in.bmp out.bmp invert", 2, "non-empty rectangle inside the 5 x 3"},
        {"--selection 2,0,2,3 in.bmp out.bmp invert", 2, "non-empty rectangle"},
        {"missing.bmp out.bmp invert", 1, "Could not open missing.bmp"},
        {"words.bmp out.bmp invert", 1, "Could not open words.bmp: "},
        {"in.bmp out.bmp filter missing.bmp", 1, "Could not open missing.bmp"},
        {"in.bmp out.bmp or-overlay words.bmp", 1, "Could not open words.bmp: "},
        {"in.bmp out.bmp invert", 1, "Could not write out.bmp", FileCall::Write},
    };
    for (const Case& c : cases) {
        EditRig rig;
        rig.files.put("out.bmp", "keep me");
        if (c.failing) rig.files.fail(*c.failing);
        EXPECT_EQ(rig.run(c.line), c.exitCode) << c.line;
        const std::string said = c.exitCode == 0 ? rig.out.str() : rig.err.str();
        EXPECT_NE(said.find(c.message), std::string::npos) << c.line << ": " << said;
        const bool written = c.exitCode == 0 && c.line != std::string("--help");
        EXPECT_EQ(rig.files.text("out.bmp") == "keep me", !written) << c.line;
        EXPECT_EQ(rig.files.files.size(), 4u) << c.line;
    }
}

TEST(BatchEdit, WritesTheOperatedPictureWithItsRenderRecord) {
    EditRig rig;
    ASSERT_EQ(rig.run("--selection 1,0,4,2 in.bmp out.bmp brighten"), 0) << rig.err.str();
    EXPECT_EQ(rig.out.str(), "Render info updated by image\nWrote out.bmp\n");
    CanvasImage expected = canvas(rig.picture);
    expected.selection = Rect{1, 0, 4, 2};
    applyColourOperation(expected, ColourOperation::Brighten);
    EXPECT_EQ(rig.output().bytes, expected.pixels.bytes);
    CanvasImage reopened;
    ASSERT_TRUE(loadImageFileCore(rig.files, reopened, "out.bmp").renderInfoUpdated);
    EXPECT_EQ(encodeRenderInfo(reopened.renderInfo), encodeRenderInfo(rig.record));

    // The strengths are red, green and blue: white added to red alone.
    ASSERT_EQ(rig.run("in.bmp out.bmp overlay white.bmp --strength 100,0,0"), 0);
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 5; ++x) {
            const Rgb before = pixelAt(rig.picture, x, y);
            EXPECT_EQ(pixelAt(rig.output(), x, y), (Rgb{255, before.green, before.blue}));
        }
}

TEST(BatchEdit, RunsEveryPictureOperationOfTheTableThatTheUsageLists) {
    for (const EditOperation& operation : editOperations()) {
        const std::string name(operation.name);
        EXPECT_NE(editUsageText().find("  " + name), std::string::npos) << name;
        const bool takesPicture = operation.arguments.starts_with("PICTURE");
        if (!operation.arguments.empty() && !takesPicture) continue;  // tested with their tools
        EditRig rig;
        const std::string line = "in.bmp out.bmp " + name + (takesPicture ? " white.bmp" : "");
        EXPECT_EQ(rig.run(line), 0) << line << ": " << rig.err.str();
        const bool doubles = name.starts_with("double-");
        EXPECT_EQ(rig.output().width * rig.output().height, doubles ? 30 : 15) << line;
    }
}

}  // namespace
}  // namespace lumetra
