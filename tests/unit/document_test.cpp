// The document's rules: each change raises one notification that says what changed, the changed
// mark follows pixels, size and settings only, and the names a picture is saved under never say
// another picture format.

#include "document/document.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "base/scoped_flag.h"
#include "document/document_render.h"
#include "document/save_names.h"
#include "memory_file_system.h"
#include "recording_ui.h"
#include "settable_clock.h"

namespace lumetra {
namespace {

struct Recorder final : DocumentObserver {
    void documentChanged(const DocumentNews& news) override { seen.push_back(news); }
    std::vector<DocumentNews> seen;
};

PixelImage picture(std::int32_t width, std::int32_t height) {
    std::string message;
    return *createCanvasBitmap(width, height, message);
}

class DocumentTest : public ::testing::Test {
  public:
    void SetUp() override {
        document.setObserver(&views);
        adoptPixels(document.current(), picture(5, 3));
        document.setUndoStore(std::make_unique<UndoStore>(files, clock, ui, "", 4));
    }
    // The one notification the last step raised, and the mark after it.
    std::pair<unsigned, bool> last() {
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
    RenderSettings higher = document.current().settings;
    higher.highFrequency += 1;
    const struct {
        const char* step;
        void (*run)(Document&, const RenderSettings&);
        unsigned what;
        bool modified;
    } steps[] = {
        {"selection", [](Document& d, const RenderSettings&) { d.changed(kChangedSelection); },
         kChangedSelection, false},
        {"prepared", [](Document& d, const RenderSettings&) { d.changed(kPrepared); }, kPrepared,
         false},
        {"same settings",
         [](Document& d, const RenderSettings&) { d.editSettings(d.current().settings); },
         kPrepared, false},
        {"pixels", [](Document& d, const RenderSettings&) { d.changed(kChangedPixels); },
         kChangedPixels | flip, true},
        {"pixels again", [](Document& d, const RenderSettings&) { d.changed(kChangedPixels); },
         kChangedPixels, true},
        {"saved", [](Document& d, const RenderSettings&) { d.saved("C:\\a.bmp", "a.bmp"); },
         kChangedFile | kSaved, false},
        {"settings", [](Document& d, const RenderSettings& s) { d.editSettings(s); },
         kChangedSettings | flip, true},
        {"reverted", [](Document& d, const RenderSettings&) { d.reverted(); },
         kReplacedPicture | flip, false},
        {"size", [](Document& d, const RenderSettings&) { d.changed(kChangedSize); },
         kChangedSize | flip, true},
        {"opened", [](Document& d, const RenderSettings&) { d.opened("C:\\b.jpg", "b.jpg"); },
         kReplacedPicture | flip, false},
        {"made new", [](Document& d, const RenderSettings&) { d.madeNew(); },
         kReplacedPicture | flip, false},
    };
    for (const auto& s : steps) {
        s.run(document, higher);
        EXPECT_EQ(last(), std::pair(s.what, s.modified)) << s.step;
    }
    EXPECT_EQ(document.path(), std::filesystem::path());
    EXPECT_EQ(document.displayName(), "");
}

TEST_F(DocumentTest, TheFileAndNameFollowOpenSaveAndRevert) {
    document.opened("C:\\b.jpg", "b.jpg");
    document.changed(kChangedPixels);
    document.reverted();
    EXPECT_EQ(std::tuple(document.path(), document.displayName(), document.modified()),
              std::tuple(std::filesystem::path("C:\\b.jpg"), std::string("b.jpg"), false));
    document.saved("C:\\b.bmp", "b.bmp");
    EXPECT_EQ(std::tuple(document.path(), document.displayName()),
              std::tuple(std::filesystem::path("C:\\b.bmp"), std::string("b.bmp")));
}

// Undo brings a whole picture back: its settings and new-picture steps always, its size only when
// it differs; a render (which fills the record outside the document's methods) marks nothing.
TEST_F(DocumentTest, UndoSaysItBroughtAPictureAndMarksTheDocument) {
    ASSERT_TRUE(document.storeUndoSnapshot(false, 0));
    document.current().pixels.bytes[0] = 9;
    document.changed(kChangedPixels);
    document.saved("C:\\a.bmp", "a.bmp");
    views.seen.clear();
    ASSERT_TRUE(document.undoCommand(kUndoCommand));
    EXPECT_EQ(last(),
              std::pair(kChangedPixels | kChangedSettings | kNewPicture | kChangedFile, true));
    ASSERT_TRUE(document.storeUndoSnapshot(false, 0));
    adoptPixels(document.current(), picture(8, 3));
    document.changed(kChangedPixels | kChangedSize);
    views.seen.clear();
    ASSERT_TRUE(document.undoCommand(kUndoCommand));
    EXPECT_EQ(last().first,
              kChangedPixels | kChangedSettings | kNewPicture | kChangedSize | kChangedSelection);
    EXPECT_FALSE(document.undoCommand(999)) << "no such command";
    EXPECT_TRUE(views.seen.empty());
}

TEST(SaveNames, NeverBmpBytesUnderAnotherFormatsName) {
    const struct {
        const char* typed;
        bool isBmp;
        const char* saved;
    } names[] = {
        {"C:\\p\\mytest", false, "C:\\p\\mytest.bmp"},
        {"C:\\p\\mytest.jpg", false, "C:\\p\\mytest.jpg.bmp"},
        {"C:\\p\\mytest.png", false, "C:\\p\\mytest.png.bmp"},
        {"C:\\p\\mytest.BMP", true, "C:\\p\\mytest.BMP"},
        {"C:\\p\\a.bmp.jpg", false, "C:\\p\\a.bmp.jpg.bmp"},
        {"C:\\p\\x_copy.bmp", true, "C:\\p\\x_copy.bmp"},
        {"bmp", false, "bmp.bmp"},
    };
    for (const auto& n : names) {
        EXPECT_EQ(isBmpName(n.typed), n.isBmp) << n.typed;
        EXPECT_EQ(bmpSaveName(n.typed), std::filesystem::path(n.saved)) << n.typed;
    }
    const std::pair<const char*, const char*> proposed[] = {
        {"photo.jpg", "photo.bmp"}, {"track.take.png", "track.take.bmp"},
        {"scan", "scan.bmp"},       {".hidden", ".hidden.bmp"},
        {"old.BMP", "old.BMP"},     {"", ""},
    };
    for (auto [name, bmp] : proposed)
        EXPECT_EQ(proposedBmpName(name), bmp) << name;
    EXPECT_EQ(saveChangesQuestion("photo.jpg"), "Save changes to photo.jpg?");
    EXPECT_EQ(saveChangesQuestion(""), "Save changes to Untitled?");
    EXPECT_EQ(savedStatus("a.bmp"), "Saved a.bmp");
}

// The render's running flag: an exception that leaves the render must not leave the flag set,
// or every later command would be dropped.
TEST(ScopedFlagTest, ClearsTheFlagHoweverTheScopeIsLeft) {
    bool running = false;
    try {
        ScopedFlag flag(running);
        EXPECT_TRUE(running);
        throw std::runtime_error("a failure inside the render");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(running);
}

}  // namespace
}  // namespace lumetra
