#include "document/undo_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

namespace lumetra {
namespace {

// Undo files in memory, keyed by file name; any file can be made to fail.
class MemoryUndoFiles : public UndoFiles {
  public:
    std::map<std::string, PixelImage> files;
    std::set<std::string> failingSaves;  // file names (temporary names included)
    bool failReplace = false;
    int loads = 0;

    bool save(const CanvasImage& image, const std::filesystem::path& path) override {
        const std::string name = path.filename().string();
        if (failingSaves.count(name)) {
            files[name] = PixelImage{1, 1, 4, {1, 2}};  // half written
            return false;
        }
        files[name] = image.pixels;
        return true;
    }
    bool load(CanvasImage& image, const std::filesystem::path& path) override {
        ++loads;
        const std::string name = path.filename().string();
        auto it = files.find(name);
        if (it == files.end() ||
            it->second.bytes.size() != std::size_t(it->second.stride) * it->second.height)
            return false;
        image.pixels = it->second;
        return true;
    }
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (failReplace) return false;
        auto it = files.find(from.filename().string());
        if (it == files.end()) return false;
        files[to.filename().string()] = std::move(it->second);
        files.erase(it);
        return true;
    }
    void remove(const std::filesystem::path& path) override {
        files.erase(path.filename().string());
    }
    int valueIn(const std::string& name) const {
        auto it = files.find(name);
        return it == files.end() || it->second.bytes.empty() ? -1 : it->second.bytes[0];
    }
};

class ManualClock : public TickClock {
  public:
    std::uint32_t now = 100000;
    std::uint32_t tickCount() override { return now; }
};

class RecordingPrompts : public UndoPrompts {
  public:
    std::vector<std::string> statusTexts;
    std::vector<std::pair<std::string, std::string>> questions;
    bool answer = true;
    void showStatus(const std::string& text) override { statusTexts.push_back(text); }
    bool askOkCancel(const std::string& text, const std::string& caption) override {
        questions.emplace_back(text, caption);
        return answer;
    }
};

PixelImage filled(std::uint8_t value, std::int32_t width = 5, std::int32_t height = 3) {
    std::string message;
    PixelImage image = *createCanvasBitmap(width, height, message);
    std::fill(image.bytes.begin(), image.bytes.end(), value);
    return image;
}

int valueOf(const CanvasImage& image) {
    return image.pixels.bytes.empty() ? -1 : image.pixels.bytes[0];
}

// A store over files in memory, and a document whose pictures are all 0 at the start.
struct UndoRig {
    explicit UndoRig(std::int32_t limit = 10) : store(files, clock, prompts, "undo", limit) {
        adoptPixels(document.current, filled(0));
        adoptPixels(document.undo, filled(0));
        store.start(document);
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

    MemoryUndoFiles files;
    ManualClock clock;
    RecordingPrompts prompts;
    UndoStore store;
    ImageDocument document;
};

class UndoStoreTest : public ::testing::Test, protected UndoRig {};

TEST_F(UndoStoreTest, SnapshotUndoRedoWithoutReadingAFile) {
    EXPECT_EQ(store.slotPath(1), std::filesystem::path("undo") / "Undo1.bmp");
    EXPECT_EQ(store.slotPath(10).filename(), "Undo10.bmp");
    EXPECT_EQ(document.undoIndex, 1);
    ASSERT_TRUE(edit(10));
    EXPECT_EQ(files.valueIn("Undo1.bmp"), 0);
    EXPECT_EQ(document.undoIndex, 2);
    EXPECT_EQ(document.lastUndoStep, 0);
    EXPECT_EQ(valueOf(document.undo), 0);
    EXPECT_FALSE(redo());  // nothing undone yet
    EXPECT_EQ(valueOf(document.current), 10);
    EXPECT_EQ(document.undoIndex, 2);

    ASSERT_TRUE(undo());
    EXPECT_EQ(valueOf(document.current), 0);
    EXPECT_EQ(valueOf(document.undo), 10);
    EXPECT_EQ(files.valueIn("Undo2.bmp"), 10);  // the state after the edit, for later Redos
    EXPECT_EQ(document.undoIndex, 1);
    EXPECT_EQ(document.lastUndoStep, -1);

    ASSERT_TRUE(redo());
    EXPECT_EQ(valueOf(document.current), 10);
    EXPECT_EQ(document.lastUndoStep, 1);
    EXPECT_EQ(files.loads, 0);
}

TEST_F(UndoStoreTest, WalkingTheRingBackAndForthReadsTheSlots) {
    for (std::uint8_t v : {10, 20, 30, 40})
        ASSERT_TRUE(edit(v));
    stepExpecting(false, {30, 20, 10, 0});
    EXPECT_EQ(files.loads, 3);  // the first Undo had its picture in memory
    stepExpecting(true, {10, 20, 30, 40});
    EXPECT_EQ(files.loads, 6);  // the first Redo had its picture in memory
    stepExpecting(false, {30});
    EXPECT_EQ(files.loads, 6);  // and so has an Undo after a Redo
}

TEST_F(UndoStoreTest, TheEleventhSnapshotOverwritesSlotOne) {
    for (std::uint8_t v = 1; v <= 10; ++v)
        ASSERT_TRUE(edit(v));
    EXPECT_EQ(document.undoIndex, 1);
    EXPECT_EQ(files.valueIn("Undo1.bmp"), 0);
    ASSERT_TRUE(edit(11));
    EXPECT_EQ(files.valueIn("Undo1.bmp"), 10);
    EXPECT_EQ(document.undoIndex, 2);
    EXPECT_EQ(files.files.size(), 10u);
    // Nine steps back through the ring from slot 1 wrap to slot 10 and on.
    stepExpecting(false, {10, 9, 8, 7, 6, 5, 4, 3, 2});
}

TEST(UndoStoreMerging, RepeatsOfAnOperationWithinASecondShareOneSnapshot) {
    // Each step is an edit (to 10, 20, 30, ... in turn) or the end of one (a touch) at a time of
    // the tick counter.
    struct Step {
        std::int32_t operation;
        std::uint32_t at;
        bool touch = false;
    };
    struct Case {
        const char* label;
        std::vector<Step> steps;
        std::int32_t undoIndex;
        std::vector<int> undone;  // the picture after each Undo
    };
    const std::int32_t brush = kBrushStrokeOperation;
    const std::uint32_t t = 100000;
    const Case cases[] = {
        // A snapshot records no time: the second press still snapshots, the third merges.
        {"three presses 400 ms apart", {{224, t}, {224, t + 400}, {224, t + 800}}, 3, {10, 0}},
        {"another id in between ends the merging",
         {{224, t}, {224, t + 400}, {225, t + 500}, {224, t + 600}},
         5,
         {30, 20, 10, 0}},
        {"brush strokes 999 ms apart merge, 1000 ms apart do not",
         {{brush, t},
          {brush, t + 300, true},
          {brush, t + 1299},
          {brush, t + 1499, true},
          {brush, t + 2499}},
         3,
         {20, 0}},
        {"the tick counter wraps in between",
         {{brush, 0xFFFFFF00u}, {brush, 0xFFFFFF00u, true}, {brush, 0x100}},
         2,
         {0}},
        {"operation 0 never merges", {{0, t}, {0, t, true}, {0, t}}, 3, {10, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        UndoRig r;
        std::uint8_t value = 0;
        for (const Step& step : c.steps) {
            r.clock.now = step.at;
            if (step.touch)
                r.store.touchUndoSnapshot(r.document, step.operation);
            else
                ASSERT_TRUE(r.edit(value += 10, step.operation));
        }
        EXPECT_EQ(r.document.undoIndex, c.undoIndex);
        r.stepExpecting(false, c.undone);
    }
}

TEST_F(UndoStoreTest, AfterNewImageUndoBringsBackThePreviousPicture) {
    ASSERT_TRUE(edit(10));
    // New Image: the current picture becomes the undo picture in memory only.
    document.undo.pixels = std::move(document.current.pixels);
    adoptPixels(document.current, filled(99, 8, 8));
    const auto filesBefore = files.files.size();
    ASSERT_TRUE(store.runUndoCommand(document, kUndoCommand).exchanged);
    EXPECT_EQ(valueOf(document.current), 10);
    EXPECT_EQ(document.current.pixels.width, 5);
    EXPECT_EQ(files.loads, 0);
    EXPECT_GT(files.files.size(), filesBefore);
    ASSERT_TRUE(redo());
    EXPECT_EQ(valueOf(document.current), 99);
}

TEST_F(UndoStoreTest, AfterAnUndoNewImageThenUndoLoadsTheOlderSlot) {
    ASSERT_TRUE(edit(10));
    ASSERT_TRUE(edit(20));
    ASSERT_TRUE(undo());  // current 10
    document.undo.pixels = std::move(document.current.pixels);
    adoptPixels(document.current, filled(99, 8, 8));
    ASSERT_TRUE(undo());
    EXPECT_EQ(valueOf(document.current), 0);
}

TEST_F(UndoStoreTest, UndoKeepsTheSelectionOnlyWhenTheSizeStays) {
    ASSERT_TRUE(edit(10));
    document.current.selection = Rect{1, 1, 3, 2};
    UndoCommandResult result = store.runUndoCommand(document, kUndoCommand);
    EXPECT_TRUE(result.exchanged);
    EXPECT_FALSE(result.sizeChanged);
    EXPECT_EQ(document.current.selection, (Rect{1, 1, 3, 2}));

    // An operation that changes the size (doubling, say).
    ASSERT_TRUE(store.storeUndoSnapshot(document, true, 0));
    adoptPixels(document.current, filled(30, 10, 6));
    document.current.selection = Rect{6, 4, 9, 5};
    result = store.runUndoCommand(document, kUndoCommand);
    EXPECT_TRUE(result.sizeChanged);
    EXPECT_EQ(document.current.selection, Rect{});
    EXPECT_EQ(document.current.settings.width, 5);
}

TEST_F(UndoStoreTest, RenderSettingsComeBackWithThePicture) {
    document.current.settings.lowFrequency = 33.0;
    ASSERT_TRUE(edit(10));
    document.current.settings.lowFrequency = 44.0;
    ASSERT_TRUE(undo());
    EXPECT_EQ(document.current.settings.lowFrequency, 33.0);
    ASSERT_TRUE(redo());
    EXPECT_EQ(document.current.settings.lowFrequency, 44.0);
}

TEST_F(UndoStoreTest, TheExitSnapshotHoldsThePictureAsItWasAtExit) {
    ASSERT_TRUE(edit(10));
    ASSERT_TRUE(edit(20));
    store.storeExitSnapshot(document);
    EXPECT_EQ(files.valueIn("Undo3.bmp"), 20);
    EXPECT_EQ(document.undoIndex, 4);
}

TEST_F(UndoStoreTest, NoUndoImageNoCommand) {
    ImageDocument empty;
    adoptPixels(empty.current, filled(5));
    store.start(empty);
    EXPECT_FALSE(UndoStore::undoEnabled(empty));
    EXPECT_FALSE(store.runUndoCommand(empty, kUndoCommand).exchanged);
    EXPECT_FALSE(store.runUndoCommand(empty, kRedoCommand).exchanged);
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(UndoStore::undoEnabled(document));
}

TEST_F(UndoStoreTest, AFailedSlotWriteNeverLeavesAnOlderPictureToLoad) {
    files.files["Undo3.bmp"] = filled(77);  // left by an earlier run of the program
    ASSERT_TRUE(edit(10));
    ASSERT_TRUE(edit(20));
    files.failingSaves = {"Undo3.tmp"};  // say, the disk is full from here on
    ASSERT_TRUE(edit(30));  // the operation goes ahead; the failed write is not reported
    EXPECT_EQ(files.files.count("Undo3.tmp"), 0u);
    EXPECT_EQ(files.files.count("Undo3.bmp"), 0u);
    stepExpecting(false, {20, 10, 0});
    stepExpecting(true, {10});
    // The next Redo needs slot 3, which could not be written: nothing happens, rather than the
    // earlier run's picture coming back.
    const std::int32_t index = document.undoIndex;
    EXPECT_FALSE(redo());
    EXPECT_EQ(document.undoIndex, index);
    EXPECT_EQ(document.lastUndoStep, 1);
    EXPECT_EQ(valueOf(document.current), 10);
    EXPECT_EQ(valueOf(document.undo), 0);
}

TEST(UndoStoreFailures, ASlotThatCouldNotBeStoredIsClearedAndTheFirstUndoWritesItAgain) {
    for (const bool failRename : {false, true}) {
        SCOPED_TRACE(failRename ? "the rename fails" : "the write fails");
        UndoRig r;
        ASSERT_TRUE(r.edit(10));
        r.files.failReplace = failRename;
        if (!failRename) r.files.failingSaves = {"Undo2.tmp"};
        ASSERT_TRUE(r.edit(20));
        EXPECT_EQ(r.files.files.count("Undo2.bmp"), 0u);
        EXPECT_EQ(r.files.files.count("Undo2.tmp"), 0u);
        r.files.failReplace = false;
        r.files.failingSaves.clear();
        ASSERT_TRUE(r.undo());
        EXPECT_EQ(r.files.valueIn("Undo2.bmp"), 10);
        EXPECT_EQ(r.files.valueIn("Undo3.bmp"), 20);
    }
}

TEST_F(UndoStoreTest, AHalfWrittenFileIsNotTakenForAPicture) {
    ASSERT_TRUE(edit(10));
    ASSERT_TRUE(edit(20));
    ASSERT_TRUE(undo());
    files.files["Undo1.bmp"] = PixelImage{4, 4, 12, {1, 2, 3}};
    EXPECT_FALSE(undo());
    EXPECT_EQ(valueOf(document.undo), 20);
}

TEST_F(UndoStoreTest, ASnapshotThatCannotBeMade) {
    // A picture whose copy cannot be had (here: no pixels at all).
    document.current.pixels = PixelImage{};
    EXPECT_FALSE(store.storeUndoSnapshot(document, false, 0));
    EXPECT_EQ(prompts.statusTexts,
              std::vector<std::string>{"Warning: This operation is not undoable!"});
    EXPECT_TRUE(prompts.questions.empty());

    prompts.answer = true;
    EXPECT_TRUE(store.storeUndoSnapshot(document, true, 0));
    prompts.answer = false;
    EXPECT_FALSE(store.storeUndoSnapshot(document, true, 0));
    ASSERT_EQ(prompts.questions.size(), 2u);
    const auto& [text, caption] = prompts.questions[0];
    EXPECT_EQ(caption, "An error occured");
    EXPECT_EQ(text.rfind("This operation is not undoable (Error ", 0), 0u);
    const std::string tail = ")\nIf you proceed you may get erratic results\nContinue anyway?";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(document.undoIndex, 1);  // nothing stored
    EXPECT_TRUE(files.files.empty());
}

TEST(UndoStoreLimits, ALimitBelowOneIsARingOfOne) {
    UndoRig r(0);
    EXPECT_EQ(r.store.limit(), 1);
    ASSERT_TRUE(r.edit(2));
    EXPECT_EQ(r.document.undoIndex, 1);
    ASSERT_TRUE(r.undo());
    EXPECT_EQ(valueOf(r.document.current), 0);
}

TEST(UndoFilesDefaults, ReplaceAndRemoveOnTheRealFileSystem) {
    struct NoBmp : UndoFiles {
        bool save(const CanvasImage&, const std::filesystem::path&) override { return false; }
        bool load(CanvasImage&, const std::filesystem::path&) override { return false; }
    } files;
    const auto folder = std::filesystem::temp_directory_path() / "lumetra_undo_test";
    std::filesystem::create_directories(folder);
    const auto a = folder / "Undo1.tmp";
    const auto b = folder / "Undo1.bmp";
    std::ofstream(a, std::ios::binary) << "new";
    std::ofstream(b, std::ios::binary) << "old!";
    EXPECT_TRUE(files.replace(a, b));  // replaces an existing file
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_EQ(std::filesystem::file_size(b), 3u);
    files.remove(b);
    files.remove(b);  // a missing file is not an error
    EXPECT_FALSE(std::filesystem::exists(b));
    EXPECT_FALSE(files.replace(a, b));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace lumetra
