#pragma once
// The program's views of its document: on every change notification the canvas, the Render
// Options window, the main window's title and the status bar follow what changed. This is the
// one place where the views are refreshed after a change of the picture.

#include "document/document.h"

namespace lumetra::win {

struct Program;

class DocumentViews final : public DocumentObserver {
  public:
    explicit DocumentViews(Program& program) : program_(program) {}

    void documentChanged(const DocumentNews& news) override;

  private:
    void refreshCanvas(const DocumentNews& news);

    Program& program_;
};

// The main window's title for the document as it stands: its name (or the start title) and,
// once it changed, the mark.
void showDocumentTitle(const Program& program);

}  // namespace lumetra::win
