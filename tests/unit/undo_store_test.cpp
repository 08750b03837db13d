#include "image/undo_store.h"

#include <gtest/gtest.h>

#include <cstdio>
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
    std::vector<std::string> log;

    bool save(const CanvasImage& image, const std::filesystem::path& path) override {
        const std::string name = path.filename().string();
        log.push_back("save " + name);
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
        log.push_back("load " + name);
        auto it = files.find(name);
        if (it == files.end() ||
            it->second.bytes.size() != std::size_t(it->second.stride) * it->second.height)
            return false;
        image.pixels = it->second;
        return true;
    }
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        log.push_back("replace " + from.filename().string() + " " + to.filename().string());
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

class UndoStoreTest : public ::testing::Test {
  protected:
    UndoStoreTest() : store(files, clock, prompts, "undo", 10) {
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

    MemoryUndoFiles files;
    ManualClock clock;
    RecordingPrompts prompts;
    UndoStore store;
    ImageDocument document;
};

TEST_F(UndoStoreTest, SlotFilesAreNumberedFromOne) {
    EXPECT_EQ(store.slotPath(1), std::filesystem::path("undo") / "Undo1.bmp");
    EXPECT_EQ(store.slotPath(10).filename(), "Undo10.bmp");
    EXPECT_EQ(document.undoIndex, 1);
}

TEST_F(UndoStoreTest, SnapshotUndoRedoWithoutReadingAFile) {
    ASSERT_TRUE(edit(10));
    EXPECT_EQ(files.valueIn("Undo1.bmp"), 0);
    EXPECT_EQ(document.undoIndex, 2);
    EXPECT_EQ(document.lastUndoStep, 0);
    EXPECT_EQ(valueOf(document.undo), 0);

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
    for (int expected : {30, 20, 10, 0}) {
        ASSERT_TRUE(undo());
        EXPECT_EQ(valueOf(document.current), expected);
    }
    EXPECT_EQ(files.loads, 3);  // the first Undo had its picture in memory
    for (int expected : {10, 20, 30, 40}) {
        ASSERT_TRUE(redo());
        EXPECT_EQ(valueOf(document.current), expected);
    }
    EXPECT_EQ(files.loads, 6);  // the first Redo had its picture in memory
}

TEST_F(UndoStoreTest, UndoAfterRedoUsesThePictureInMemory) {
    ASSERT_TRUE(edit(10));
    ASSERT_TRUE(edit(20));
    ASSERT_TRUE(undo());
    ASSERT_TRUE(undo());
    ASSERT_TRUE(redo());
    const int loads = files.loads;
    ASSERT_TRUE(undo());
    EXPECT_EQ(valueOf(document.current), 0);
    EXPECT_EQ(files.loads, loads);
}

TEST_F(UndoStoreTest, RedoDirectlyAfterASnapshotDoesNothing) {
    ASSERT_TRUE(edit(10));
    EXPECT_FALSE(redo());
    EXPECT_EQ(valueOf(document.current), 10);
    EXPECT_EQ(document.undoIndex, 2);
    EXPECT_EQ(document.lastUndoStep, 0);
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
    for (int expected = 10; expected >= 2; --expected) {
        ASSERT_TRUE(undo());
        EXPECT_EQ(valueOf(document.current), expected);
    }
}

TEST_F(UndoStoreTest, RepeatedOperationsWithinASecondShareOneSnapshot) {
    // Brighten three times, each press within a second of the one before: the second press
    // still snapshots (a snapshot records no time), the third merges.
    ASSERT_TRUE(edit(10, 224));
    clock.now += 400;
    ASSERT_TRUE(edit(20, 224));
    clock.now += 400;
    ASSERT_TRUE(edit(30, 224));
    EXPECT_EQ(document.undoIndex, 3);
    ASSERT_TRUE(undo());
    EXPECT_EQ(valueOf(document.current), 10);

    // Another id in between ends the merging.
    clock.now += 100;
    ASSERT_TRUE(edit(40, 225));
    clock.now += 100;
    ASSERT_TRUE(edit(50, 224));
    EXPECT_EQ(document.undoIndex, 4);
}

TEST_F(UndoStoreTest, BrushStrokesLessThanASecondApartAreUndoneTogether) {
    ASSERT_TRUE(edit(10, kBrushStrokeOperation));
    clock.now += 300;
    store.touchUndoSnapshot(document, kBrushStrokeOperation);  // end of the stroke
    clock.now += 999;
    ASSERT_TRUE(edit(20, kBrushStrokeOperation));  // merged
    clock.now += 200;
    store.touchUndoSnapshot(document, kBrushStrokeOperation);
    clock.now += 1000;
    ASSERT_TRUE(edit(30, kBrushStrokeOperation));  // a second later: its own snapshot
    ASSERT_TRUE(undo());
    EXPECT_EQ(valueOf(document.current), 20);
    ASSERT_TRUE(undo());
    EXPECT_EQ(valueOf(document.current), 0);
}

TEST_F(UndoStoreTest, MergingSurvivesTheTickCounterWrapping) {
    clock.now = 0xFFFFFF00u;
    ASSERT_TRUE(edit(10, kBrushStrokeOperation));
    store.touchUndoSnapshot(document, kBrushStrokeOperation);
    clock.now = 0x100;  // 512 ms later
    ASSERT_TRUE(edit(20, kBrushStrokeOperation));
    EXPECT_EQ(document.undoIndex, 2);
}

TEST_F(UndoStoreTest, OperationZeroNeverMerges) {
    ASSERT_TRUE(edit(10, 0));
    store.touchUndoSnapshot(document, 0);
    ASSERT_TRUE(edit(20, 0));
    EXPECT_EQ(document.undoIndex, 3);
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
    for (int expected : {20, 10, 0}) {
        ASSERT_TRUE(undo());
        EXPECT_EQ(valueOf(document.current), expected);
    }
    ASSERT_TRUE(redo());
    EXPECT_EQ(valueOf(document.current), 10);
    // The next Redo needs slot 3, which could not be written: nothing happens, rather than the
    // earlier run's picture coming back.
    const std::int32_t index = document.undoIndex;
    EXPECT_FALSE(redo());
    EXPECT_EQ(document.undoIndex, index);
    EXPECT_EQ(document.lastUndoStep, 1);
    EXPECT_EQ(valueOf(document.current), 10);
}

TEST_F(UndoStoreTest, TheFirstUndoWritesTheSnapshotAgain) {
    ASSERT_TRUE(edit(10));
    files.failingSaves = {"Undo2.tmp"};
    ASSERT_TRUE(edit(20));
    EXPECT_EQ(files.files.count("Undo2.bmp"), 0u);
    files.failingSaves.clear();
    ASSERT_TRUE(undo());
    EXPECT_EQ(files.valueIn("Undo2.bmp"), 10);
    EXPECT_EQ(files.valueIn("Undo3.bmp"), 20);
}

TEST_F(UndoStoreTest, AFailedRenameAlsoClearsTheSlot) {
    ASSERT_TRUE(edit(10));
    files.failReplace = true;
    ASSERT_TRUE(edit(20));
    EXPECT_EQ(files.files.count("Undo2.bmp"), 0u);
    EXPECT_EQ(files.files.count("Undo2.tmp"), 0u);
}

TEST_F(UndoStoreTest, RedoOntoAMissingSlotDoesNothing) {
    ASSERT_TRUE(edit(10));
    ASSERT_TRUE(edit(20));
    ASSERT_TRUE(undo());
    ASSERT_TRUE(undo());
    ASSERT_TRUE(redo());
    files.files.erase("Undo3.bmp");
    const std::int32_t index = document.undoIndex;
    EXPECT_FALSE(redo());
    EXPECT_EQ(document.undoIndex, index);
    EXPECT_EQ(document.lastUndoStep, 1);
    EXPECT_EQ(valueOf(document.current), 10);
    EXPECT_EQ(valueOf(document.undo), 0);
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

TEST(UndoStoreLimits, ALimitOfOneStillWorksAsARing) {
    MemoryUndoFiles files;
    ManualClock clock;
    RecordingPrompts prompts;
    UndoStore store(files, clock, prompts, "u", 0);
    EXPECT_EQ(store.limit(), 1);
    ImageDocument document;
    adoptPixels(document.current, filled(1));
    store.start(document);
    ASSERT_TRUE(store.storeUndoSnapshot(document, true, 0));
    EXPECT_EQ(document.undoIndex, 1);
    adoptPixels(document.current, filled(2));
    ASSERT_TRUE(store.runUndoCommand(document, kUndoCommand).exchanged);
    EXPECT_EQ(valueOf(document.current), 1);
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
    std::FILE* f = std::fopen(a.string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("new", f);
    std::fclose(f);
    f = std::fopen(b.string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("old!", f);
    std::fclose(f);
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
