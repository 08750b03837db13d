#include "shell/win/program.h"

#include "document/win/canvas_window.h"

namespace lumetra::win {

Program::Program(HINSTANCE instanceHandle) : instance(instanceHandle) {
    document.setObserver(&documentViews);
}

Program::~Program() = default;

HCURSOR toolCursor(const Program& program, int id) {
    HCURSOR cursor = LoadCursorW(program.instance, MAKEINTRESOURCEW(id));
    return cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace lumetra::win
