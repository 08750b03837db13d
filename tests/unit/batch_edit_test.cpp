// lumetra-edit's command line and runs over files in memory: what each line does, its exit code,
// its message, and that a failed run leaves no output and no partial file.

#include "cli/edit/batch_edit.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/edit/edit_operations.h"
#include "cli/edit/edit_options.h"
#include "document/document_render.h"
#include "document/image_file.h"
#include "document/image_save.h"
#include "image/bmp_reader.h"
#include "imageops/colour_operations.h"
#include "imageops_reference.h"
#include "memory_file_system.h"
#include "tools/brush_patches.h"
#include "tools/paint_dab.h"

namespace lumetra {
namespace {

using testing::FileCall;
using testing::MemoryFileSystem;

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

TEST(EditCommandLine, NumbersAndWords) {
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
}

TEST(EditCommandLine, GoodLines) {
    std::string message;
    auto o = parseEditOptions(words("--selection 1,2,30,40 --seed 0x10 in.bmp out.bmp filter "
                                    "f.bmp --flip-lr"),
                              message);
    ASSERT_TRUE(o) << message;
    EXPECT_EQ(o->selection, (Rect{1, 2, 30, 40}));
    EXPECT_EQ(o->seed, 16u);
    EXPECT_EQ(o->input, "in.bmp");
    EXPECT_EQ(o->output, "out.bmp");
    EXPECT_EQ(o->operation, "filter");
    EXPECT_EQ(o->arguments, (std::vector<std::string>{"f.bmp", "--flip-lr"}));

    o = parseEditOptions(words("in.bmp out.bmp invert"), message);
    ASSERT_TRUE(o);
    EXPECT_FALSE(o->selection);
    EXPECT_EQ(o->seed, RandomSeed::kStart);
    EXPECT_TRUE(o->arguments.empty());
}

// Picture files in memory: a random 5 x 3 picture with a render record appended, a white one
// and one that is no picture.
struct EditRig {
    EditRig() {
        picture = testing::randomPicture(5, 3, 9);
        CanvasImage image;
        adoptPixels(image, picture);
        image.settings.lowFrequency = 40;
        image.settings.highFrequency = 5000;
        image.settings.ampFactor = 3;
        image.settings.outputTime = 1.5;
        recordRender(image, 300, 0.5, LocalTime{2022, 2, 2, 2, 2, 2, 2, 2});
        record = image.renderInfo;
        files.files["in.bmp"] = encodeBmpFile(image, true);
        picture = *decodeBmp(files.at("in.bmp")).pixels;  // as the tool reads it
        CanvasImage white;
        adoptPixels(white, testing::randomPicture(2, 2, 10));
        std::fill(white.pixels.bytes.begin(), white.pixels.bytes.end(), std::uint8_t{255});
        files.files["white.bmp"] = encodeBmpFile(white, false);
        files.put("words.bmp", "BM no picture in here");
    }

    int run(const std::string& line) {
        out.str("");
        err.str("");
        return runBatchEdit(words(line), files, out, err);
    }
    PixelImage output(const std::string& name = "out.bmp") const {
        return *decodeBmp(files.at(name)).pixels;
    }

    MemoryFileSystem files;
    PixelImage picture;
    RenderInfoRecord record;
    std::ostringstream out, err;
};

struct ExitCase {
    const char* line;
    int exitCode;
    const char* message;  // a piece of standard error
};

TEST(BatchEdit, ExitCodesAndMessages) {
    const ExitCase cases[] = {
        {"--bogus in.bmp out.bmp invert", 2, "Unknown option --bogus"},
        {"--selection 1,2,3 in.bmp out.bmp invert", 2, "Bad value for --selection: 1,2,3"},
        {"--seed -5 in.bmp out.bmp invert", 2, "Bad value for --seed: -5"},
        {"--seed", 2, "Option --seed needs a value"},
        {"in.bmp out.bmp", 2, "Missing INPUT.bmp, OUTPUT.bmp or OPERATION"},
        {"in.bmp out.bmp sharpen", 2, "Unknown operation sharpen"},
        {"in.bmp out.bmp invert now", 2, "invert takes no arguments, not now"},
        {"in.bmp out.bmp filter", 2, "filter needs the PICTURE to combine"},
        {"in.bmp out.bmp filter --flip-lr", 2, "filter needs the PICTURE to combine"},
        {"in.bmp out.bmp overlay white.bmp --strength 0,50,101", 2,
         "Bad value for --strength: 0,50,101"},
        {"in.bmp out.bmp overlay white.bmp --strength", 2, "Option --strength needs a value"},
        {"in.bmp out.bmp or-overlay white.bmp --strength 1,1,1", 2,
         "Unknown argument of or-overlay: --strength"},
        {"--selection 0,0,6,3 in.bmp out.bmp invert", 2,
         "The selection must be a non-empty rectangle inside the 5 x 3 picture"},
        {"--selection 2,0,2,3 in.bmp out.bmp invert", 2, "non-empty rectangle"},
        {"missing.bmp out.bmp invert", 1, "Could not open missing.bmp"},
        {"words.bmp out.bmp invert", 1, "Could not open words.bmp: "},
        {"in.bmp out.bmp filter missing.bmp", 1, "Could not open missing.bmp"},
        {"in.bmp out.bmp or-overlay words.bmp", 1, "Could not open words.bmp: "},
        {"in.bmp out.bmp brush --patch C1", 2, "Bad value for --patch: C1 (A1 to B8)"},
        {"in.bmp out.bmp brush --density 0", 2, "Bad value for --density: 0 (1 to 80)"},
        {"in.bmp out.bmp brush --shape star", 2, "Bad value for --shape: star"},
        {"in.bmp out.bmp brush --colours 0x1000000,0", 2, "Bad value for --colours"},
        {"in.bmp out.bmp brush --mix", 2, "Option --mix needs a value"},
        {"in.bmp out.bmp brush A1", 2, "Unknown argument of brush: A1"},
        {"in.bmp out.bmp boil", 2, "boil needs HEAT,BLUR,CYCLE,SHIFT, each -32768 to 32767"},
        {"in.bmp out.bmp boil 1,2,3,32768", 2, "32767, not 1,2,3,32768"},
        {"in.bmp out.bmp boil 1,2,3,4 --patch A1", 2, "Unknown argument of boil: --patch"},
    };
    for (const ExitCase& c : cases) {
        EditRig rig;
        rig.files.put("out.bmp", "keep me");
        EXPECT_EQ(rig.run(c.line), c.exitCode) << c.line;
        EXPECT_NE(rig.err.str().find(c.message), std::string::npos)
            << c.line << ": " << rig.err.str();
        EXPECT_EQ(rig.files.text("out.bmp"), "keep me") << c.line;
        EXPECT_EQ(rig.files.files.size(), 4u) << c.line;  // nothing written beside it
    }
}

TEST(BatchEdit, AnUnwritableOutputFailsAndLeavesTheOldFile) {
    for (const FileCall call : {FileCall::Create, FileCall::Write, FileCall::Replace}) {
        EditRig rig;
        rig.files.put("out.bmp", "keep me");
        rig.files.fail(call);
        EXPECT_EQ(rig.run("in.bmp out.bmp invert"), 1);
        EXPECT_NE(rig.err.str().find("Could not write out.bmp"), std::string::npos);
        EXPECT_EQ(rig.files.text("out.bmp"), "keep me");
        EXPECT_EQ(rig.files.files.size(), 4u);
    }
}

TEST(BatchEdit, WritesTheOperatedPictureWithItsRenderRecord) {
    EditRig rig;
    ASSERT_EQ(rig.run("--selection 1,0,4,2 in.bmp out.bmp brighten"), 0) << rig.err.str();
    EXPECT_EQ(rig.out.str(), "Render info updated by image\nWrote out.bmp\n");
    CanvasImage expected;
    adoptPixels(expected, rig.picture);
    expected.selection = Rect{1, 0, 4, 2};
    applyColourOperation(expected, ColourOperation::Brighten);
    EXPECT_EQ(rig.output().bytes, expected.pixels.bytes);

    CanvasImage reopened;
    ASSERT_TRUE(loadImageFileCore(rig.files, reopened, "out.bmp").renderInfoUpdated);
    EXPECT_EQ(encodeRenderInfo(reopened.renderInfo), encodeRenderInfo(rig.record));
}

TEST(BatchEdit, RunsEveryPictureOperationOfTheTable) {
    for (const EditOperation& operation : editOperations()) {
        const bool takesPicture = operation.arguments.starts_with("PICTURE");
        if (!operation.arguments.empty() && !takesPicture) continue;  // tested with their tools
        EditRig rig;
        const std::string arguments = takesPicture ? " white.bmp" : "";
        const std::string line = "in.bmp out.bmp " + std::string(operation.name) + arguments;
        EXPECT_EQ(rig.run(line), 0) << line << ": " << rig.err.str();
        const bool doubles = operation.name.substr(0, 7) == "double-";
        EXPECT_EQ(rig.output().width * rig.output().height, doubles ? 30 : 15) << line;
    }
}

TEST(BatchEdit, FilterTakesItsChoicesFromTheLine) {
    EditRig rig;
    ASSERT_EQ(rig.run("in.bmp out.bmp overlay white.bmp --strength 100,0,0 --flip-ud"), 0);
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 5; ++x) {
            const Rgb before = pixelAt(rig.picture, x, y);
            EXPECT_EQ(pixelAt(rig.output(), x, y), (Rgb{255, before.green, before.blue}));
        }
}

// The brush starts as the program's (A1, density 40, the boiler at rest), --patch comes first.
TEST(BatchEdit, BrushAndBoilRunTheCoreWithTheSettingsOfTheLine) {
    const BrushPatchBlock patches = builtInBrushPatches();
    BrushSettings painted = recallBrushPatch(patches, 13, initialBrushSettings(patches));  // B6
    painted.fade = ColorFade::Noise;
    painted.shape = BrushShape::Spray;
    painted.sprayDensity = 80;
    painted.sprayThreshold = 8800;
    BrushSettings boiled = initialBrushSettings(patches);
    boiled.colour1 = 0x808080;
    boiled.colour2 = 0xFFFFFF;
    boiled.heat = 50;
    boiled.blur = 20;
    boiled.cycle = 10;
    boiled.shift = -100;
    boiled.fade = ColorFade::Down;
    const struct {
        const char* line;
        BrushSettings settings;
        bool boil;
    } cases[] = {
        {"--seed 77 --selection 1,0,4,3 in.bmp out.bmp brush --density 80 --shape spray --fade "
         "noise --patch B6",
         painted, false},
        {"--selection 0,1,5,3 in.bmp out.bmp boil 50,20,10,-100 --fade down --colours "
         "0x808080,0xFFFFFF",
         boiled, true},
    };
    for (const auto& c : cases) {
        EditRig rig;
        ASSERT_EQ(rig.run(c.line), 0) << rig.err.str();
        CanvasImage expected;
        adoptPixels(expected, rig.picture);
        expected.selection = c.boil ? Rect{0, 1, 5, 3} : Rect{1, 0, 4, 3};
        RandomSeed seed{c.boil ? RandomSeed::kStart : 77};
        BrushTool tool;
        std::string message;
        ASSERT_TRUE(buildBrush(tool.brush, c.settings, seed, message));
        ASSERT_TRUE(c.boil ? applyColorBoiler(tool, expected, message)
                           : applyBrushToImage(tool, expected, seed, message));
        EXPECT_EQ(rig.output().bytes, expected.pixels.bytes) << c.line;
        EXPECT_NE(rig.output().bytes, rig.picture.bytes) << c.line;
    }
}

TEST(BatchEdit, HelpListsEveryOperation) {
    EditRig rig;
    EXPECT_EQ(rig.run("--help"), 0);
    EXPECT_EQ(rig.out.str(), editUsageText());
    for (const EditOperation& operation : editOperations())
        EXPECT_NE(rig.out.str().find("  " + std::string(operation.name)), std::string::npos);
}

}  // namespace
}  // namespace lumetra
