#pragma once
// What the pixel loops of one drag event share: the snapshot they read, the picture they write,
// the part of it they rewrite, and the copy of one pixel.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "image/pixel_image.h"
#include "image/rect.h"
#include "render/render_workers.h"

namespace lumetra {

struct DragFrame {
    const std::uint8_t* source = nullptr;
    std::uint8_t* destination = nullptr;
    std::size_t stride = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Source pixels at offsets up to this one may be read four bytes at once.
    std::size_t wideReadLimit = 0;
    // The area rewritten: columns [left, right), memory rows [rowFirst, rowEnd).
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t rowFirst = 0;
    std::int32_t rowEnd = 0;

    std::uint8_t* destinationRow(std::int32_t r) const {
        return destination + static_cast<std::size_t>(r) * stride;
    }
    const std::uint8_t* sourcePixel(std::int32_t row, std::int32_t column) const {
        return source + static_cast<std::size_t>(row) * stride +
               3 * static_cast<std::size_t>(column);
    }

    // Copies the source pixel at byte `offset` to `to`. With `spill` the copy may also write the
    // byte after the pixel: callers allow it only where the next pixel of the row is written
    // later.
    void copyFrom(std::uint8_t* to, std::size_t offset, bool spill) const {
        const std::uint8_t* from = source + offset;
        if (spill && offset <= wideReadLimit) {
            std::uint32_t word;
            std::memcpy(&word, from, 4);
            std::memcpy(to, &word, 4);
        } else {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    void copy(std::uint8_t* to, std::int32_t row, std::int32_t column, bool spill) const {
        copyFrom(to, static_cast<std::size_t>(row) * stride + 3 * static_cast<std::size_t>(column),
                 spill);
    }
};

// Sampling that turns or folds the picture jumps between rows of the snapshot from one pixel to
// the next, so one destination row touches more cache lines than the nearest cache holds, and
// the next row touches nearly the same lines again, one snapshot row further. Tiles a few hundred
// columns wide keep those lines at hand from one row of the tile to the next. Tiles go left to
// right, then down the memory rows; `visit` (rowBegin, rowEnd, columnBegin, columnEnd) gets each
// part of the area.
inline constexpr std::int32_t kTileRows = 16;  // a multiple of 4, the rows of the lanes
inline constexpr std::int32_t kTileColumns = 256;

template <class Visit>
void forEachTile(const DragFrame& f, Visit visit, std::int32_t tileRows = kTileRows,
                 std::int32_t tileColumns = kTileColumns) {
    for (std::int32_t r = f.rowFirst; r < f.rowEnd; r += tileRows) {
        const std::int32_t rowEnd = f.rowEnd - r < tileRows ? f.rowEnd : r + tileRows;
        for (std::int32_t c = f.left; c < f.right; c += tileColumns) {
            const std::int32_t end = f.right - c < tileColumns ? f.right : c + tileColumns;
            visit(r, rowEnd, c, end);
        }
    }
}

// Part `part` of `parts` of the frame: a run of whole bands of kTileRows rows, so that every part
// walks its rows exactly as the whole frame would (rows never depend on each other). Empty parts
// have rowFirst == rowEnd.
inline DragFrame rowPart(const DragFrame& f, int part, int parts) {
    const std::int64_t bands = (std::int64_t{f.rowEnd} - f.rowFirst + kTileRows - 1) / kTileRows;
    const auto bandRow = [&](std::int64_t band) {
        const std::int64_t row = f.rowFirst + band * kTileRows;
        return static_cast<std::int32_t>(row < f.rowEnd ? row : f.rowEnd);
    };
    DragFrame p = f;
    p.rowFirst = bandRow(bands * part / parts);
    p.rowEnd = bandRow(bands * (part + 1) / parts);
    return p;
}

// Runs loop(frame) on parts of the frame, shared among the workers' threads (all on the calling
// thread without workers). A few parts per thread even out what other programs take of each
// processor; below a few bands waking the helpers costs more than it saves.
template <class Loop>
void forEachRowPart(const DragFrame& f, RenderWorkers* workers, Loop loop) {
    constexpr std::int64_t kRowsWorthSharing = 4 * kTileRows;
    constexpr int kParts = 8;
    if (!workers || std::int64_t{f.rowEnd} - f.rowFirst < kRowsWorthSharing) {
        loop(f);
        return;
    }
    workers->runParts(kParts, [&](int part) {
        const DragFrame p = rowPart(f, part, kParts);
        if (p.rowFirst < p.rowEnd) loop(p);
    });
}

// The frame of a drag event, or nothing when there is nothing to do: an empty picture, a region
// outside it, or a snapshot that does not have the picture's layout or shares its memory.
std::optional<DragFrame> dragFrame(const PixelImage& source, PixelImage& destination,
                                   const Rect& region);

}  // namespace lumetra
