#include "tools/win/brush_window.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>

#include "base/win/utf16.h"
#include "image/win/dib_paint.h"
#include "resources/resource_ids.h"
#include "tools/brush_patches.h"

namespace lumetra::win {
namespace {

template <typename Value>
struct Choice {
    int control;
    Value value;
};
constexpr Choice<BrushShape> kShapes[] = {{IDC_SHAPE_SPRAY, BrushShape::Spray},
                                          {IDC_SHAPE_ROUND, BrushShape::Round},
                                          {IDC_SHAPE_RECT, BrushShape::Rect}};
constexpr Choice<ColorFade> kFades[] = {{IDC_FADE_NOISE, ColorFade::Noise},
                                        {IDC_FADE_RIGHT, ColorFade::Right},
                                        {IDC_FADE_DOWN, ColorFade::Down}};
constexpr Choice<ColorMix> kMixes[] = {{IDC_MIX_COVER, ColorMix::Cover},
                                       {IDC_MIX_ADD, ColorMix::Add},
                                       {IDC_MIX_FILTER, ColorMix::Filter},
                                       {IDC_MIX_BOIL, ColorMix::Boil}};

struct BoilerSlider {
    int control;
    std::int32_t minimum, maximum;
    std::int32_t BrushSettings::*field;
};
constexpr BoilerSlider kBoilerSliders[] = {{IDC_BOIL_HEAT, -50, 50, &BrushSettings::heat},
                                           {IDC_BOIL_CYCLE, 0, 100, &BrushSettings::cycle},
                                           {IDC_BOIL_BLUR, 0, 100, &BrushSettings::blur},
                                           {IDC_BOIL_SHIFT, -50, 50, &BrushSettings::shift}};

constexpr std::int32_t kDensityMin = 1;
constexpr std::int32_t kDensityMax = 80;

template <typename Value, std::size_t N>
void checkChoice(HWND dialog, const Choice<Value> (&choices)[N], Value value) {
    for (const Choice<Value>& c : choices)
        CheckDlgButton(dialog, c.control, c.value == value ? BST_CHECKED : BST_UNCHECKED);
}

template <typename Value, std::size_t N>
const Choice<Value>* findChoice(const Choice<Value> (&choices)[N], int control) {
    for (const Choice<Value>& c : choices)
        if (c.control == control) return &c;
    return nullptr;
}

int rightEdge(HWND dialog, int control) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, control), &r);
    return r.right;
}

// The pointer in the client coordinates of one control.
POINT inControl(HWND dialog, int control, POINT pointer) {
    MapWindowPoints(dialog, GetDlgItem(dialog, control), &pointer, 1);
    return pointer;
}

RECT clientOf(HWND dialog, int control) {
    RECT r{};
    GetClientRect(GetDlgItem(dialog, control), &r);
    return r;
}

}  // namespace

INT_PTR BrushWindow::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise(dialog);
            return TRUE;
        case WM_DRAWITEM:
            drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_HSCROLL:
            if (lParam) sliderMoved(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) == IDCANCEL) return FALSE;
            command(dialog, LOWORD(wParam));
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return mouseDown(dialog, lParam, message == WM_LBUTTONDOWN) ? TRUE : FALSE;
        case WM_MOUSEMOVE:
            mouseMoved(dialog, wParam, lParam);
            return TRUE;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            mouseUp(dialog);
            return TRUE;
        case WM_CAPTURECHANGED:
            picking_ = sizing_ = false;
            return FALSE;
    }
    return FALSE;
}

void BrushWindow::initialise(HWND dialog) {
    for (int group : {IDC_SHAPE_GROUP, IDC_FADE_GROUP, IDC_MIX_GROUP, IDC_BOILER_GROUP})
        setItemBold(group);

    RECT window{};
    GetWindowRect(dialog, &window);
    fullWidth_ = window.right - window.left;
    // The boiler group stands right of the fade group; without Boil the window ends at the
    // fade group.
    boilerFold_ =
        std::max(0, rightEdge(dialog, IDC_BOILER_GROUP) - rightEdge(dialog, IDC_FADE_GROUP));

    const RECT preview = clientOf(dialog, IDC_BRUSH_PREVIEW);
    preview_.innerWidth = std::max<std::int32_t>(1, preview.right - preview.left - 2);
    preview_.innerHeight = std::max<std::int32_t>(1, preview.bottom - preview.top - 2);
    preview_.centreX = 1 + preview_.innerWidth / 2;
    preview_.centreY = 1 + preview_.innerHeight / 2;

    std::string failure;
    palette_ = makeBrushPalette(failure);
    if (!palette_) host_.brushRefused(failure);
    // The picture shows the palette 1:1 inside a one-pixel frame.
    SetWindowPos(GetDlgItem(dialog, IDC_BRUSH_PALETTE), nullptr, 0, 0, kBrushPaletteWidth + 2,
                 kBrushPaletteHeight + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    SendDlgItemMessageW(dialog, IDC_SPRAY_DENSITY, TBM_SETRANGEMIN, FALSE, kDensityMin);
    SendDlgItemMessageW(dialog, IDC_SPRAY_DENSITY, TBM_SETRANGEMAX, TRUE, kDensityMax);
    for (const BoilerSlider& s : kBoilerSliders) {
        SendDlgItemMessageW(dialog, s.control, TBM_SETRANGEMIN, FALSE, 0);
        SendDlgItemMessageW(dialog, s.control, TBM_SETRANGEMAX, TRUE, s.maximum - s.minimum);
    }

    // The program built the brush from slot A1 before the window was made.
    currentSlot_ = 0;
    CheckRadioButton(dialog, IDC_BANK_A, IDC_BANK_B, IDC_BANK_A);
    CheckRadioButton(dialog, IDC_SLOT_1, IDC_SLOT_8, IDC_SLOT_1);
    // The window is made as wide as with Boil; anything else folds the boiler away.
    if (settings().mix != ColorMix::Boil) showBoilerWidth(dialog, false);
    showSettings(dialog);
}

void BrushWindow::command(HWND dialog, int control) {
    BrushSettings changed = settings();
    if (const auto* shape = findChoice(kShapes, control)) {
        changed.shape = shape->value;
    } else if (const auto* fade = findChoice(kFades, control)) {
        changed.fade = fade->value;
    } else if (const auto* mix = findChoice(kMixes, control)) {
        changed.mix = mix->value;
    } else if (control == IDC_BANK_A || control == IDC_BANK_B) {
        bankClicked(dialog, control == IDC_BANK_B);
        return;
    } else if (control >= IDC_SLOT_1 && control <= IDC_SLOT_8) {
        slotClicked(dialog, control - IDC_SLOT_1);
        return;
    } else {
        return;
    }
    rebuild(dialog, changed);
}

void BrushWindow::sliderMoved(HWND dialog, HWND slider, int code) {
    const int control = GetDlgCtrlID(slider);
    if (code != TB_ENDTRACK) {
        const auto position = std::int32_t(SendMessageW(slider, TBM_GETPOS, 0, 0));
        if (control == IDC_SPRAY_DENSITY) {
            BrushSettings changed = settings();
            changed.sprayDensity = std::clamp(position, kDensityMin, kDensityMax);
            changed.sprayThreshold = sprayThresholdFor(changed.sprayDensity);
            rebuild(dialog, changed);
        }
        for (const BoilerSlider& s : kBoilerSliders) {
            // The boiler's values do not touch the dab's colours or mask, and rebuilding would
            // move the seed for noise the brush does not need.
            if (s.control == control) tool_.brush.settings.*s.field = s.minimum + position;
        }
    }
    showReadout(dialog);
}

void BrushWindow::slotClicked(HWND dialog, int button) {
    const bool bankB = IsDlgButtonChecked(dialog, IDC_BANK_B) == BST_CHECKED;
    const std::size_t slot = brushSlotIndex(bankB, std::size_t(button));
    currentSlot_ = slot;
    if (shiftHeld()) {
        storeBrushPatch(patches_, slot, settings());
        return;
    }
    rebuild(dialog, recallBrushPatch(patches_, slot, settings()));
}

void BrushWindow::bankClicked(HWND dialog, bool toB) {
    const std::optional<std::size_t> marked = markedBrushSlotButton(currentSlot_, toB);
    for (int id = IDC_SLOT_1; id <= IDC_SLOT_8; ++id)
        CheckDlgButton(dialog, id,
                       marked && id == IDC_SLOT_1 + int(*marked) ? BST_CHECKED : BST_UNCHECKED);
}

bool BrushWindow::rebuild(HWND dialog, const BrushSettings& changed) {
    const bool wasBoil = settings().mix == ColorMix::Boil;
    std::string failure;
    const bool built = buildBrush(tool_.brush, changed, seed_, failure);
    if (!built) host_.brushRefused(failure);
    const bool boil = settings().mix == ColorMix::Boil;
    if (boil != wasBoil) showBoilerWidth(dialog, boil);
    showSettings(dialog);
    return built;
}

void BrushWindow::showSettings(HWND dialog) {
    const BrushSettings& s = settings();
    checkChoice(dialog, kShapes, s.shape);
    checkChoice(dialog, kFades, s.fade);
    checkChoice(dialog, kMixes, s.mix);
    // The density slider takes the place of the "Spray" radio while the shape is Spray.
    const bool spray = s.shape == BrushShape::Spray;
    ShowWindow(GetDlgItem(dialog, IDC_SHAPE_SPRAY), spray ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(dialog, IDC_SPRAY_DENSITY), spray ? SW_SHOW : SW_HIDE);
    SendDlgItemMessageW(dialog, IDC_SPRAY_DENSITY, TBM_SETPOS, TRUE,
                        std::clamp(s.sprayDensity, kDensityMin, kDensityMax));
    // A patch may hold values beyond a slider's range: the thumb stops at its end and the
    // value stays as it is.
    const bool boil = s.mix == ColorMix::Boil;
    for (const BoilerSlider& b : kBoilerSliders) {
        SendDlgItemMessageW(dialog, b.control, TBM_SETPOS, TRUE,
                            std::clamp(s.*b.field, b.minimum, b.maximum) - b.minimum);
        EnableWindow(GetDlgItem(dialog, b.control), boil ? TRUE : FALSE);
    }
    showReadout(dialog);
    repaintSwatches(dialog);
    repaintPreview(dialog);
}

void BrushWindow::showBoilerWidth(HWND dialog, bool boil) {
    RECT r{};
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left;
    int target = width;
    if (boil && width < fullWidth_) target = width + boilerFold_;
    if (!boil && width > fullWidth_ - boilerFold_) target = width - boilerFold_;
    if (target != width && target > 0)
        SetWindowPos(dialog, nullptr, 0, 0, target, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BrushWindow::showReadout(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_BOIL_READOUT, toUtf16(boilerReadout(settings())).c_str());
}

void BrushWindow::repaintSwatches(HWND dialog) {
    swatch1_.reset(CreateSolidBrush(settings().colour1));
    swatch2_.reset(CreateSolidBrush(settings().colour2));
    InvalidateRect(GetDlgItem(dialog, IDC_COLOR1_SWATCH), nullptr, FALSE);
    InvalidateRect(GetDlgItem(dialog, IDC_COLOR2_SWATCH), nullptr, FALSE);
}

void BrushWindow::repaintPreview(HWND dialog) {
    InvalidateRect(GetDlgItem(dialog, IDC_BRUSH_PREVIEW), nullptr, FALSE);
}

void BrushWindow::drawItem(const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
        case IDC_BRUSH_PALETTE:
            if (palette_)
                drawPixels(item.hDC, item.rcItem.left, item.rcItem.top, *palette_,
                           Rect{0, 0, palette_->width, palette_->height});
            break;
        case IDC_COLOR1_SWATCH:
            FillRect(item.hDC, &item.rcItem, swatch1_.get());
            break;
        case IDC_COLOR2_SWATCH:
            FillRect(item.hDC, &item.rcItem, swatch2_.get());
            break;
        case IDC_BRUSH_PREVIEW:
            drawPreview(item.hDC, item.rcItem);
            break;
        default:
            break;
    }
}

void BrushWindow::drawPreview(HDC dc, const RECT& client) {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const BrushSettings& s = settings();
    const int left = preview_.centreX - s.width / 2;
    const int top = preview_.centreY - s.height / 2;
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    switch (previewKind(s)) {
        case PreviewKind::Line:
            MoveToEx(dc, left, top, nullptr);
            LineTo(dc, preview_.centreX + s.width / 2, preview_.centreY + s.height / 2);
            break;
        case PreviewKind::Ellipse:
            if (const std::optional<PixelImage> dab = previewDab(tool_.brush, seed_))
                drawPixels(dc, left, top, *dab, Rect{0, 0, dab->width, dab->height});
            Ellipse(dc, left, top, left + s.width, top + s.height);
            break;
        case PreviewKind::Rectangle:
            drawPixels(dc, left, top, tool_.brush.bitmap,
                       Rect{0, 0, tool_.brush.bitmap.width, tool_.brush.bitmap.height});
            Rectangle(dc, left, top, left + s.width, top + s.height);
            break;
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

bool BrushWindow::mouseDown(HWND dialog, LPARAM lParam, bool left) {
    const POINT pointer{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (palette_) {
        const POINT p = inControl(dialog, IDC_BRUSH_PALETTE, pointer);
        if (p.x >= 0 && p.y >= 0 && p.x < palette_->width && p.y < palette_->height) {
            pickBase_ = PickBase{settings().colour1, settings().colour2};
            picking_ = true;
            SetCapture(dialog);
            pickAt(dialog, pointer, left);
            return true;
        }
    }
    const POINT p = inControl(dialog, IDC_BRUSH_PREVIEW, pointer);
    const bool inside =
        p.x >= 1 && p.y >= 1 && p.x <= preview_.innerWidth && p.y <= preview_.innerHeight;
    // Only the left button sizes the brush.
    if (left && inside) {
        sizing_ = true;
        SetCapture(dialog);
        sizeAt(dialog, pointer);
        return true;
    }
    return false;
}

void BrushWindow::mouseMoved(HWND dialog, WPARAM wParam, LPARAM lParam) {
    if (!(wParam & (MK_LBUTTON | MK_RBUTTON))) return;
    const POINT pointer{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // With both buttons held the left one picks.
    if (picking_) pickAt(dialog, pointer, (wParam & MK_LBUTTON) != 0);
    if (sizing_) sizeAt(dialog, pointer);
}

void BrushWindow::mouseUp(HWND dialog) {
    BrushSettings changed = settings();
    if (sizing_) changed.fade = fadeAfterSizeDrag(changed.width, changed.height, changed.fade);
    picking_ = sizing_ = false;
    if (GetCapture() == dialog) ReleaseCapture();
    rebuild(dialog, changed);
}

bool BrushWindow::pickAt(HWND dialog, POINT pointer, bool left) {
    const POINT p = inControl(dialog, IDC_BRUSH_PALETTE, pointer);
    if (p.x < 0 || p.y < 0 || p.x >= kBrushPaletteWidth || p.y >= kBrushPaletteHeight) return false;
    BrushSettings changed = settings();
    pickColour(changed, pickBase_, brushPaletteColour(p.x, p.y), left, shiftHeld());
    return rebuild(dialog, changed);
}

void BrushWindow::sizeAt(HWND dialog, POINT pointer) {
    const POINT p = inControl(dialog, IDC_BRUSH_PREVIEW, pointer);
    const BrushSize size = sizeFromDrag(preview_, p.x, p.y);
    BrushSettings changed = settings();
    changed.width = size.width;
    changed.height = size.height;
    rebuild(dialog, changed);
}

}  // namespace lumetra::win
