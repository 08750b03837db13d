// One drag event as the canvas makes it: the picture recomputed from the snapshot, the status
// text and its part.

#include "imageops/transform_drag.h"

#include <gtest/gtest.h>

#include "drag_pictures.h"

namespace lumetra {
namespace {

using testing::noisePicture;

TEST(TransformDrag, EveryEventStartsAfreshFromTheSnapshot) {
    const PixelImage snapshot = noisePicture(30, 20, 1);
    PixelImage picture = snapshot;
    const DragPictures pictures{snapshot, picture, Rect{0, 0, 30, 20}};
    RenderSettings settings;
    settings.outputTime = 3.0;
    // A drag that wanders off and returns leaves the picture as it was.
    const DragPoint anchor{10, 5};
    for (const DeformKind kind : {DeformKind::ZoomRotate, DeformKind::SkewFlip}) {
        for (const DragPoint p : {DragPoint{14, 9}, DragPoint{-3, 40}, anchor}) {
            const DragStatus status = deformDrag(kind, pictures, anchor, p, kDefaultDragScreen);
            EXPECT_EQ(status.part, kDeformStatusPart);
        }
        EXPECT_EQ(picture.bytes, snapshot.bytes);
    }
    EXPECT_EQ(moveDrag(pictures, anchor, {21, 5}, settings),
              (DragStatus{kMoveStatusPart, "Move: X +11 (+1.10 s), Y +0 (0 semitone 0 cent)"}));
    EXPECT_NE(picture.bytes, snapshot.bytes);
    EXPECT_EQ(moveDrag(pictures, anchor, {40, 5}, settings),
              (DragStatus{kMoveStatusPart, "Move: X +0 (+0.00 s), Y +0 (0 semitone 0 cent)"}));
    EXPECT_EQ(picture.bytes, snapshot.bytes);
}

TEST(TransformDrag, TellsTheDeformationsInTheSecondPart) {
    const PixelImage snapshot = noisePicture(30, 20, 2);
    PixelImage picture = snapshot;
    const DragPictures pictures{snapshot, picture, Rect{0, 0, 30, 20}};
    EXPECT_EQ(deformDrag(DeformKind::ZoomRotate, pictures, {10, 5}, {110, 15}, {900, 200}),
              (DragStatus{kDeformStatusPart, "Rotate 60.00, Scale 1/1.70"}));
    EXPECT_EQ(deformDrag(DeformKind::SkewFlip, pictures, {10, 5}, {12, 1}, {900, 200}),
              (DragStatus{kDeformStatusPart, "Skew-flip: x = 2, y = 4"}));
}

TEST(TransformDrag, AnEmptyPictureIsLeftAloneWithoutAText) {
    const PixelImage snapshot;
    PixelImage picture;
    const DragPictures pictures{snapshot, picture, Rect{}};
    EXPECT_EQ(moveDrag(pictures, {0, 0}, {5, 5}, RenderSettings{}),
              (DragStatus{kMoveStatusPart, ""}));
    EXPECT_TRUE(picture.bytes.empty());
}

}  // namespace
}  // namespace lumetra
