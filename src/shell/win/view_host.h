#pragma once
// What the canvas and the Render Options window ask of the program around them.

#include "document/win/canvas_window.h"
#include "document/win/render_options_window.h"
#include "imageops/transform_drag.h"
#include "tools/win/brush_window.h"
#include "tools/win/echord_window.h"

namespace lumetra::win {

struct Program;

class ProgramViewHost final : public CanvasHost,
                              public RenderOptionsHost,
                              public EchordHost,
                              public BrushHost {
  public:
    explicit ProgramViewHost(Program& program) : program_(program) {}

    bool showBrighter() override;
    int dragDecoration() override;
    int currentTool() override;
    HCURSOR cursor() override;
    void setCursor(HCURSOR cursor) override;
    HCURSOR toolCursor(int id) override;
    bool renderRunning() override;
    void setStatusText(int part, std::wstring_view text) override;
    bool storeUndoSnapshot(int operation) override;
    void touchUndoSnapshot(int operation) override;
    PlayMarkerSource playMarker() override;
    void canvasPainted() override;
    void brushDab(POINT p) override;
    void startMove(POINT p) override;
    void continueMove(POINT p) override;
    void finishMove(POINT) override {}
    void startDeformation(DeformKind kind, POINT p) override;
    void continueDeformation(POINT p) override;

    RenderSettings editedSettings() override;
    int sampleRate() override;
    int defaultNoiseBandwidth() override;
    void settingsEdited(const RenderSettings& settings, bool fieldLeftOrArrow) override;
    void renderPressed() override;

    void applyEchord(const EchordSettings& settings) override;

    void brushRefused(const std::string& message) override;

  private:
    void showDragStatus(const DragStatus& status);

    Program& program_;
};

}  // namespace lumetra::win
