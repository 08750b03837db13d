// lumetra-render [options] INPUT.bmp OUTPUT.wav

#include "cli/render/batch_render.h"
#include "cli/tool_main.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return lumetra::runTool(argc, argv, lumetra::runBatchRender);
}
#else
int main(int argc, char** argv) {
    return lumetra::runTool(argc, argv, lumetra::runBatchRender);
}
#endif
