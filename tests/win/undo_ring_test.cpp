// The program's undo ring on a real canvas: snapshots written as slot files into an undo folder
// whose name lies outside ASCII and beyond MAX_PATH, Undo and Redo exchanging the pictures, and
// the ring in memory when there is no undo folder.

#include "shell/win/edit_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "base/win/long_paths.h"
#include "canvas_frame.h"
#include "image/win/canvas_tools.h"
#include "ports_scratch.h"
#include "resources/resource_ids.h"
#include "shell/win/app_state.h"
#include "win_test_pictures.h"

namespace lumetra::win {
namespace {

using ports::ScratchFolder;

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(ports::extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Puts the program state that the tests change back as it was.
struct KeptState {
    ProgramFolders folders = appState().folders;
    std::int32_t undoLimit = appState().options.undoLimit;
    RenderSettings defaults = appState().defaultSettings;
    ~KeptState() {
        appState().folders = folders;
        appState().options.undoLimit = undoLimit;
        appState().defaultSettings = defaults;
    }
};

class UndoRingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        appState().defaultSettings = RenderSettings{};
        appState().options.undoLimit = 10;
    }

    // An undo folder far below the scratch folder, with names outside ASCII.
    std::wstring makeUndoFolder() {
        std::wstring folder = scratch_.path();
        for (int level = 0; level < 4; ++level) {
            folder += L"Undo \u00e4\u00f6\u00fc \u6f22\u5b57 " + std::wstring(60, L'x') + L"\\";
            CreateDirectoryW(ports::extended(folder).c_str(), nullptr);
        }
        return folder;
    }

    CanvasWindow& makeCanvas(const std::wstring& undoFolder) {
        appState().folders.undoFolder = undoFolder;
        canvas_ = frame_.addCanvas(RECT{0, 0, 380, 280});
        EXPECT_NE(canvas_, nullptr);
        return *canvas_;
    }

    // Destroyed in reverse order: the frame first, as the canvas stores its exit snapshot in the
    // scratch folder, then the state, then the folder.
    ScratchFolder scratch_;
    KeptState kept_;
    CanvasFrame frame_{400, 300};
    CanvasWindow* canvas_ = nullptr;
};

TEST_F(UndoRingTest, UndoAndRedoBringBackThePicturesThroughTheSlotFiles) {
    const std::wstring folder = makeUndoFolder();
    ASSERT_GT(folder.size(), size_t(MAX_PATH));
    CanvasWindow& canvas = makeCanvas(folder);
    ImageDocument& document = canvas.document();

    const PixelImage first = testPattern(40, 30);
    const PixelImage second = testPattern(50, 20);
    const PixelImage third = testPattern(33, 17);
    setPicture(canvas, first);
    ASSERT_TRUE(storeUndoSnapshot(document, true, 0));
    EXPECT_TRUE(fileExists(folder + L"Undo1.bmp"));
    setPicture(canvas, second);
    ASSERT_TRUE(storeUndoSnapshot(document, true, 0));
    EXPECT_EQ(document.undoIndex, 3);
    setPicture(canvas, third);
    document.current.selection = Rect{1, 2, 10, 12};

    undoCommand(canvas, IDM_UNDO);
    EXPECT_EQ(document.current.pixels.bytes, second.bytes);
    EXPECT_EQ(document.current.settings.width, 50);
    EXPECT_TRUE(document.current.selection.empty()) << "another size clears the selection";
    EXPECT_TRUE(fileExists(folder + L"Undo3.bmp")) << "the picture undone is kept for Redo";

    // The second Undo reads the older picture back from its slot file, the second Redo the
    // newer one.
    undoCommand(canvas, IDM_UNDO);
    EXPECT_EQ(document.current.pixels.bytes, first.bytes);
    EXPECT_EQ(document.undoIndex, 1);
    undoCommand(canvas, IDM_REDO);
    EXPECT_EQ(document.current.pixels.bytes, second.bytes);
    undoCommand(canvas, IDM_REDO);
    EXPECT_EQ(document.current.pixels.bytes, third.bytes);
    EXPECT_EQ(document.current.settings.height, 17);
    // Slot 4 was never written in this run: the step is refused and nothing changes.
    undoCommand(canvas, IDM_REDO);
    EXPECT_EQ(document.current.pixels.bytes, third.bytes);
    EXPECT_EQ(document.undoIndex, 3);
    EXPECT_FALSE(fileExists(folder + L"Undo1.tmp"));
    EXPECT_FALSE(fileExists(folder + L"Undo3.tmp"));
}

TEST_F(UndoRingTest, UndoKeepsTheSelectionOfAPictureOfTheSameSize) {
    CanvasWindow& canvas = makeCanvas(scratch_.path());
    ImageDocument& document = canvas.document();
    PixelImage before = testPattern(60, 40);
    setPicture(canvas, before);
    ASSERT_TRUE(storeUndoSnapshot(document, false, 0));
    setPixel(document.current.pixels, 5, 5, Rgb{1, 2, 3});
    document.current.selection = Rect{4, 4, 20, 30};
    undoCommand(canvas, IDM_UNDO);
    EXPECT_EQ(document.current.pixels.bytes, before.bytes);
    EXPECT_EQ(document.current.selection, (Rect{4, 4, 20, 30}));
}

TEST_F(UndoRingTest, RepeatedBrushStrokesWithinASecondShareOneSnapshot) {
    CanvasWindow& canvas = makeCanvas(scratch_.path());
    ImageDocument& document = canvas.document();
    ASSERT_TRUE(storeUndoSnapshot(document, false, kBrushStrokeOperation));
    touchUndoSnapshot(document, kBrushStrokeOperation);
    ASSERT_TRUE(storeUndoSnapshot(document, false, kBrushStrokeOperation));
    EXPECT_EQ(document.undoIndex, 2) << "the second stroke stored nothing";
    EXPECT_TRUE(fileExists(scratch_.path() + L"Undo1.bmp"));
    EXPECT_FALSE(fileExists(scratch_.path() + L"Undo2.bmp"));
}

TEST_F(UndoRingTest, WithoutAnUndoFolderSnapshotsStayInMemory) {
    appState().folders.undoFolder.clear();
    EXPECT_TRUE(undoFolderForFiles().empty());
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring stray = std::wstring(current) + L"\\Undo1.bmp";
    const bool strayBefore = fileExists(stray);

    CanvasWindow& canvas = makeCanvas(L"");
    ImageDocument& document = canvas.document();
    const PixelImage first = testPattern(30, 20);
    setPicture(canvas, first);
    ASSERT_TRUE(storeUndoSnapshot(document, false, 0));
    setPicture(canvas, testPattern(31, 20));
    undoCommand(canvas, IDM_UNDO);
    EXPECT_EQ(document.current.pixels.bytes, first.bytes);
    EXPECT_EQ(fileExists(stray), strayBefore) << "no slot file beside the test";
}

TEST(UndoFolderForFiles, LongFoldersTakeTheExtendedForm) {
    KeptState kept;
    appState().folders.undoFolder = L"C:\\Lumetra\\Undo\\";
    EXPECT_EQ(undoFolderForFiles().wstring(), L"C:\\Lumetra\\Undo\\");
    const std::wstring longFolder = L"C:\\" + std::wstring(280, L'\u00e4') + L"\\Undo\\";
    appState().folders.undoFolder = longFolder;
    EXPECT_EQ(undoFolderForFiles().wstring(), L"\\\\?\\" + longFolder);
}

}  // namespace
}  // namespace lumetra::win
