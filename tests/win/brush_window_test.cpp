// The Brush Tools window rebuilds the brush it is handed from its buttons, sliders, patches and the
// size drag, the controls follow the brush, and a brush that cannot be had is refused, keeping the
// old one; the Echord Tool's patch buttons, which work as the brush's do.

#include "tools/win/brush_window.h"

#include "tools/brush_patches.h"
#include "tools/win/echord_window.h"
#include "win_test.h"

namespace lumetra::win {
namespace {

class FakeHost final : public BrushHost, public EchordHost {
  public:
    void brushRefused(const std::string& message) override { refusals.push_back(message); }
    void applyEchord(const EchordSettings&) override {}
    std::vector<std::string> refusals;
};

class BrushWindowTest : public ::testing::Test {
  public:
    void SetUp() override {
        initCommonControls();
        std::string message;
        ASSERT_TRUE(buildBrush(tool_.brush, initialBrushSettings(patches_), seed_, message));
        dialog_ = window_.create(module(), nullptr, IDD_BRUSH);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override {
        holdShift(false);
        DestroyWindow(dialog_);
    }
    const BrushSettings& brush() { return tool_.brush.settings; }
    void click(int id) { win::click(dialog_, id); }
    void bank(int id) { press(dialog_, IDC_BANK_A, IDC_BANK_B, id); }
    void slot(int id) { press(dialog_, IDC_SLOT_1, IDC_SLOT_8, id); }
    bool checked(int id) { return win::checked(dialog_, id); }
    bool visible(int id) { return GetWindowLongW(GetDlgItem(dialog_, id), GWL_STYLE) & WS_VISIBLE; }
    bool enabled(int id) { return IsWindowEnabled(GetDlgItem(dialog_, id)); }
    int width() {
        RECT r{};
        GetWindowRect(dialog_, &r);
        return r.right - r.left;
    }
    int sliderPosition(int id) { return int(SendDlgItemMessageW(dialog_, id, TBM_GETPOS, 0, 0)); }
    void moveSlider(int id, int position) {
        SendDlgItemMessageW(dialog_, id, TBM_SETPOS, TRUE, position);
        SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
    }
    void mouse(UINT message, WPARAM keys, int control, int x, int y) {
        POINT p{x, y};
        MapWindowPoints(GetDlgItem(dialog_, control), dialog_, &p, 1);
        SendMessageW(dialog_, message, keys, MAKELPARAM(p.x, p.y));
    }
    BrushTool tool_;
    BrushPatchBlock patches_ = builtInBrushPatches();
    RandomSeed seed_{};
    FakeHost host_;
    HWND active_ = nullptr;
    BrushWindow window_{ToolPlacement{}, active_, tool_, patches_, seed_, host_};
    HWND dialog_ = nullptr;
};

// Spray trades its radio button for the density slider and back; a stored spray brush brings
// both back when it is recalled. (Recalling B6 and applying it: end to end.)
TEST_F(BrushWindowTest, SprayShowsItsSliderAndShiftClickStoresWhatAPlainClickRecalls) {
    EXPECT_TRUE(checked(IDC_BANK_A) && checked(IDC_SLOT_1) && checked(IDC_SHAPE_ROUND));
    EXPECT_TRUE(visible(IDC_SHAPE_SPRAY) && !visible(IDC_SPRAY_DENSITY));
    click(IDC_SHAPE_SPRAY);
    EXPECT_EQ(brush().shape, BrushShape::Spray);
    EXPECT_TRUE(!visible(IDC_SHAPE_SPRAY) && visible(IDC_SPRAY_DENSITY));
    moveSlider(IDC_SPRAY_DENSITY, 7);
    EXPECT_EQ(brush().sprayThreshold, sprayThresholdFor(7));
    holdShift(true);
    slot(IDC_SLOT_8);
    holdShift(false);
    EXPECT_EQ(window_.currentSlot(), 7u);
    slot(IDC_SLOT_3);
    EXPECT_EQ(brush().shape, BrushShape::Rect);
    EXPECT_TRUE(tool_.brush.mask.empty()) << "the brush was rebuilt for its new shape";
    EXPECT_TRUE(visible(IDC_SHAPE_SPRAY) && !visible(IDC_SPRAY_DENSITY));
    slot(IDC_SLOT_8);
    EXPECT_EQ(brush().sprayDensity, 7);
    EXPECT_EQ(sliderPosition(IDC_SPRAY_DENSITY), 7);
    EXPECT_TRUE(visible(IDC_SPRAY_DENSITY));
}

TEST_F(BrushWindowTest, BoilWidensTheWindowOnceForItsSlidersAndAnotherMixNarrowsItBack) {
    const int narrow = width();
    click(IDC_MIX_BOIL);
    EXPECT_GT(width(), narrow);
    EXPECT_TRUE(enabled(IDC_BOIL_HEAT));
    // The boiler's sliders set their values counting from their low end.
    for (auto [id, position] : {std::pair{IDC_BOIL_HEAT, 0},
                                {IDC_BOIL_SHIFT, 75},
                                {IDC_BOIL_CYCLE, 15},
                                {IDC_BOIL_BLUR, 30}})
        moveSlider(id, position);
    const BrushSettings& b = brush();
    EXPECT_EQ(std::vector<int>({b.heat, b.shift, b.cycle, b.blur}),
              std::vector<int>({-50, 25, 15, 30}));
    click(IDC_MIX_ADD);
    EXPECT_EQ(width(), narrow);
    EXPECT_FALSE(enabled(IDC_BOIL_HEAT));
}

TEST_F(BrushWindowTest, ASizeDragThatEndsThinTurnsTheFade) {
    RECT client{};
    GetClientRect(GetDlgItem(dialog_, IDC_BRUSH_PREVIEW), &client);
    const int cx = 1 + (client.right - 2) / 2, cy = 1 + (client.bottom - 2) / 2;
    click(IDC_FADE_DOWN);
    mouse(WM_LBUTTONDOWN, MK_LBUTTON, IDC_BRUSH_PREVIEW, cx + 5, cy + 5);
    EXPECT_EQ(brush().width, 10);
    mouse(WM_MOUSEMOVE, MK_LBUTTON, IDC_BRUSH_PREVIEW, cx + 20, cy + 1);
    EXPECT_EQ(std::pair(brush().width, brush().height), std::pair(40, 2));
    EXPECT_EQ(brush().fade, ColorFade::Down) << "only the release turns the fade";
    SendMessageW(dialog_, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(brush().fade, ColorFade::Right);
    EXPECT_TRUE(checked(IDC_FADE_RIGHT) && !checked(IDC_FADE_DOWN));
    EXPECT_EQ(tool_.brush.bitmap.width, 40);
}

TEST_F(BrushWindowTest, ABrushThatCannotBeHadIsRefusedAndTheControlsKeepTheOldOne) {
    tool_.brush.byteLimit = 3 * 20 * 20 + 20 * 20;
    bank(IDC_BANK_B);
    slot(IDC_SLOT_3);  // 40 x 20
    EXPECT_EQ(host_.refusals, std::vector<std::string>{kBrushBitmapFailure});
    EXPECT_EQ(brush().width, 20);
    EXPECT_EQ(brush().shape, BrushShape::Round);
    EXPECT_TRUE(checked(IDC_SHAPE_ROUND) && checked(IDC_MIX_COVER) && !checked(IDC_MIX_FILTER));
}

// Shift on the Echord Tool's slot "00" does nothing at all: its record, the current slot and the
// pressed button stay as they were, in this bank and after a change of bank.
TEST(EchordWindow, ShiftOnTheEmptySlotDoesNothingAtAll) {
    initCommonControls();
    EchordPatchTable patches = builtInEchordPatches();
    FakeHost host;
    HWND active = nullptr;
    EchordWindow window{ToolPlacement{}, active, patches, host};
    const UniqueWindow dialog(window.create(module(), nullptr, IDD_ECHORD));
    const HWND d = dialog.get();
    ASSERT_TRUE(d);
    const EchordPatchTable before = patches;
    const auto a2Only = [&] { return checked(d, IDC_SLOT_1 + 1) && !checked(d, IDC_SLOT_00); };
    press(d, IDC_SLOT_1, IDC_SLOT_00, IDC_SLOT_1 + 1);  // A2 recalled
    holdShift(true);
    press(d, IDC_SLOT_1, IDC_SLOT_00, IDC_SLOT_00);
    holdShift(false);
    EXPECT_TRUE(patches == before) << "no record stored";
    EXPECT_TRUE(a2Only());
    press(d, IDC_BANK_A, IDC_BANK_B, IDC_BANK_B);  // bank B shows none pressed
    EXPECT_FALSE(checked(d, IDC_SLOT_1 + 1) || checked(d, IDC_SLOT_00));
    press(d, IDC_BANK_A, IDC_BANK_B, IDC_BANK_A);
    EXPECT_TRUE(a2Only());
}

}  // namespace
}  // namespace lumetra::win
