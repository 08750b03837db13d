// lumetra-analyze [options] INPUT.wav OUTPUT.bmp

#include "cli/analyze/batch_analyze.h"
#include "cli/tool_main.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return lumetra::runTool(argc, argv, lumetra::runBatchAnalyze);
}
#else
int main(int argc, char** argv) {
    return lumetra::runTool(argc, argv, lumetra::runBatchAnalyze);
}
#endif
