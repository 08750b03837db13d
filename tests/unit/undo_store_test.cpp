// The undo store over files in memory, and the document's notifications and changed mark.
#include "document/undo_store.h"

#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "document/document.h"
#include "document/document_render.h"
#include "document/image_save.h"
#include "memory_file_system.h"
#include "recording_ui.h"
#include "settable_clock.h"

namespace lumetra {
namespace {

using testing::FileCall;
using testing::RecordingUi;

PixelImage filled(std::uint8_t value, std::int32_t width = 5, std::int32_t height = 3) {
    std::string message;
    PixelImage image = *createCanvasBitmap(width, height, message);
    std::fill(image.bytes.begin(), image.bytes.end(), value);
    return image;
}

int valueOf(const CanvasImage& image) {
    return image.pixels.bytes.empty() ? -1 : image.pixels.bytes[0];
}

const std::vector<std::uint8_t> kEarlierRun =
    encodeBmpFile(testing::patternPicture(5, 3, 77), false);  // a slot left by an earlier run

// A store over files in memory, and a document whose pictures are all 0 at the start.
struct UndoRig {
    explicit UndoRig(std::int32_t limit = 10, std::filesystem::path folder = "undo")
        : store(files, clock, ui, folder, limit) {
        clock.tick = 100000;
        ui.answer = true;
        adoptPixels(document.current, filled(0));
        adoptPixels(document.undo, filled(0));
        store.start();
    }
    // An operation that changes every pixel to `value`, as the tools do it.
    bool edit(std::uint8_t value, std::int32_t operation = 0) {
        if (!store.storeUndoSnapshot(document, true, operation)) return false;
        adoptPixels(document.current, filled(value));
        return true;
    }
    bool undo() { return store.runUndoCommand(document, kUndoCommand).exchanged; }
    bool redo() { return store.runUndoCommand(document, kRedoCommand).exchanged; }
    // Steps back (or forward) once for each value, expecting that picture after the step.
    void stepExpecting(bool forward, const std::vector<int>& pictures) {
        for (int expected : pictures) {
            ASSERT_TRUE(forward ? redo() : undo()) << "to " << expected;
            EXPECT_EQ(valueOf(document.current), expected);
        }
    }
    // The first pixel byte of a slot file, or -1 when there is no such file.
    int valueIn(const std::string& name) const {
        const auto it = files.files.find("undo/" + name);
        return it == files.files.end() || it->second.size() <= 54 ? -1 : it->second[54];
    }

    testing::MemoryFileSystem files;
    testing::SettableClock clock;
    RecordingUi ui;
    UndoStore store;
    ImageDocument document;
};

class UndoStoreTest : public ::testing::Test, protected UndoRig {};

TEST(UndoStoreRing, TheEleventhSnapshotOverwritesSlotOneAndTheLimitIsAtLeastOne) {
    UndoRig r;
    for (std::uint8_t v = 1; v <= 10; ++v)
        ASSERT_TRUE(r.edit(v));
    EXPECT_EQ(r.valueIn("Undo1.bmp"), 0);
    ASSERT_TRUE(r.edit(11));
    EXPECT_EQ(std::tuple(r.valueIn("Undo1.bmp"), r.store.slot(), r.files.files.size()),
              std::tuple(10, 2, 10u));
    r.stepExpecting(false, {10, 9, 8, 7, 6, 5, 4, 3, 2});  // from slot 1 on to slot 10 and down
    EXPECT_EQ(UndoRig(0).store.limit(), 1);
}

// Three presses of Brighten within a second store two snapshots; a stroke within a second of the
// last merges into it; an Undo ends the merging, so a stroke right after it is a step of its own.
TEST_F(UndoStoreTest, RepeatsWithinASecondMergeButNotAcrossAnUndo) {
    for (std::uint8_t press = 1; press <= 3; ++press, clock.tick += 300)
        ASSERT_TRUE(edit(press, 223));
    EXPECT_EQ(store.slot(), 3);
    edit(10, kBrushStrokeOperation);
    store.touchUndoSnapshot(kBrushStrokeOperation);
    clock.tick += 999;
    edit(11, kBrushStrokeOperation);
    EXPECT_EQ(store.slot(), 4);
    clock.tick += 1000;
    edit(12, kBrushStrokeOperation);
    stepExpecting(false, {11});
    edit(13, kBrushStrokeOperation);
    stepExpecting(false, {11});
}

std::vector<double> settingNumbers(const CanvasImage& image) {
    const RenderSettings& s = image.settings;
    return {s.lowFrequency, s.highFrequency, s.ampFactor, s.outputTime};
}

TEST_F(UndoStoreTest, PicturesComeBackFromTheSlotsWithTheirRecordsAndSettings) {
    // Four pictures of other sizes and numbers; only the first, rendered, has a record.
    std::vector<CanvasImage> pictures;
    for (const auto& [width, height, low] : {std::tuple{3, 2, 40.0}, std::tuple{5, 4, 52.0},
                                             std::tuple{7, 3, 64.0}, std::tuple{4, 4, 76.0}}) {
        CanvasImage& image = pictures.emplace_back(
            testing::patternPicture(width, height, static_cast<std::uint8_t>(low)));
        RenderSettings& s = image.settings;
        std::tie(s.lowFrequency, s.highFrequency, s.ampFactor, s.outputTime) =
            std::tuple(low, low * 100, low / 10, low / 20);
    }
    recordRender(pictures[0], 300, 1.0, LocalTime{});
    document.current = pictures[0];
    for (std::size_t i = 1; i < pictures.size(); ++i) {
        ASSERT_TRUE(store.storeUndoSnapshot(document, false, 0));
        document.current = pictures[i];
    }
    // To the first, the last, one back: the first Undo and Redo, and Undo after Redo read no file.
    for (const auto& [forward, index] :
         {std::pair{false, 2}, std::pair{false, 1}, std::pair{false, 0}, std::pair{true, 1},
          std::pair{true, 2}, std::pair{true, 3}, std::pair{false, 2}}) {
        const CanvasImage& expected = pictures[static_cast<std::size_t>(index)];
        ASSERT_TRUE(forward ? redo() : undo()) << index;
        const CanvasImage& now = document.current;
        EXPECT_EQ(std::tuple(now.pixels.width, now.pixels.bytes, settingNumbers(now),
                             now.renderInfo.valid),
                  std::tuple(expected.pixels.width, expected.pixels.bytes, settingNumbers(expected),
                             index == 0 ? 1u : 0u))
            << index;
    }
    // Only the slot files are left, each a picture file with its record (no ".info" files).
    EXPECT_EQ(std::pair(files.reads, files.files.size()), std::pair(4, std::size_t{4}));
    EXPECT_EQ(files.at("undo/Undo1.bmp"), encodeBmpFile(pictures[0], true));
}

TEST(UndoStoreFailures, ASlotThatCouldNotBeStoredIsClearedAndTheFirstUndoWritesItAgain) {
    for (const FileCall failing : {FileCall::Create, FileCall::Close, FileCall::Replace}) {
        SCOPED_TRACE(static_cast<int>(failing));
        UndoRig r;
        ASSERT_TRUE(r.edit(10));
        r.files.files["undo/Undo2.bmp"] = kEarlierRun;
        r.files.fail(failing);
        ASSERT_TRUE(r.edit(20));
        EXPECT_FALSE(r.files.exists("undo/Undo2.bmp") || r.files.exists("undo/Undo2.tmp"));
        r.files.failures.clear();
        ASSERT_TRUE(r.undo());
        EXPECT_EQ(std::pair(r.valueIn("Undo2.bmp"), r.valueIn("Undo3.bmp")), std::pair(10, 20));
    }
}

TEST_F(UndoStoreTest, ASnapshotThatCannotBeMadeWarnsOrAsks) {
    document.current.pixels = PixelImage{};  // a picture whose copy cannot be had
    EXPECT_FALSE(store.storeUndoSnapshot(document, false, 0));
    EXPECT_EQ(ui.statusTexts(0),
              std::vector<std::string>{"Warning: This operation is not undoable!"});
    EXPECT_TRUE(ui.boxes.empty() && store.storeUndoSnapshot(document, true, 0));
    ui.answer = false;
    EXPECT_FALSE(store.storeUndoSnapshot(document, true, 0));
    ASSERT_EQ(ui.boxes.size(), 2u);
    const RecordingUi::Box& box = ui.boxes[0];
    const std::string tail = ")\nIf you proceed you may get erratic results\nContinue anyway?";
    EXPECT_EQ(std::tuple(box.kind, box.caption,
                         box.text.rfind("This operation is not undoable (Error ", 0),
                         box.text.substr(box.text.size() - tail.size())),
              std::tuple(RecordingUi::BoxKind::OkCancel, "An error occured", 0u, tail));
    EXPECT_TRUE(store.slot() == 1 && files.files.empty());  // nothing stored
}

struct Recorder final : DocumentObserver {
    void documentChanged(const DocumentNews& news) override { seen.push_back(news); }
    std::vector<DocumentNews> seen;
};

class DocumentTest : public ::testing::Test {
  public:
    void SetUp() override {
        document.setObserver(&views);
        adoptPixels(document.current(), filled(0));
        document.setUndoStore(std::make_unique<UndoStore>(files, clock, ui, "", 4));
    }
    // The one notification the last step raised, and the mark after it.
    std::tuple<unsigned, bool> last() {
        EXPECT_EQ(views.seen.size(), 1u);
        const unsigned what = views.seen.empty() ? 0u : views.seen.back().what;
        views.seen.clear();
        return {what, document.modified()};
    }

    testing::MemoryFileSystem files;
    testing::SettableClock clock;
    testing::RecordingUi ui;
    Recorder views;
    Document document;
};

TEST_F(DocumentTest, EachChangeSaysWhatChangedAndOnlyPixelsSizeAndSettingsMarkIt) {
    const unsigned flip = kChangedFile;  // the mark came or went: the title follows
    const std::pair<unsigned, bool> cases[] = {{kChangedSelection, false},
                                               {kPrepared, false},
                                               {kChangedPixels | flip, true},
                                               {kChangedSize, true}};
    for (const auto& [what, modified] : cases) {
        document.changed(what & ~flip);
        EXPECT_EQ(last(), std::tuple(what, modified)) << what;
    }
    document.saved("C:\\a.bmp", "a.bmp");
    EXPECT_EQ(last(), std::tuple(kChangedFile | kSaved, false));
    document.editSettings(document.current().settings);
    EXPECT_EQ(last(), std::tuple(kPrepared, false));  // the same settings
    RenderSettings higher = document.current().settings;
    higher.highFrequency += 1;
    document.editSettings(higher);
    EXPECT_EQ(last(), std::tuple(kChangedSettings | flip, true));
    document.reverted();
    EXPECT_EQ(last(), std::tuple(kReplacedPicture | flip, false));
    document.madeNew();
    EXPECT_EQ(last(), std::tuple(kReplacedPicture | flip, false));  // and the file went
    EXPECT_EQ(document.path(), std::filesystem::path());
}

}  // namespace
}  // namespace lumetra
