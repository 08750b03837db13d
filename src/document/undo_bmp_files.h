#pragma once
// The undo ring's picture files as the program writes them: 24-bit BMP files by our own writer
// and reader, with the picture's render record appended so that an Undo that reads a slot brings
// the record back with the pixels.

#include "document/undo_store.h"

namespace lumetra {

class UndoBmpFiles final : public UndoFiles {
  public:
    // `attachRenderInfo` off leaves the record out of the slot files (as plain saves do when the
    // user's option is off); the record then does not come back from a slot.
    explicit UndoBmpFiles(bool attachRenderInfo = true) : attachRenderInfo_(attachRenderInfo) {}

    // No ".info" file is written beside a slot.
    bool save(const CanvasImage& image, const std::filesystem::path& path) override;
    // A missing, damaged or empty file fails and leaves `image` as it was.
    bool load(CanvasImage& image, const std::filesystem::path& path) override;

  private:
    bool attachRenderInfo_;
};

}  // namespace lumetra
