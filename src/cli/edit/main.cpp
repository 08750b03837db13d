// lumetra-edit [--selection L,T,R,B] [--seed N] INPUT.bmp OUTPUT.bmp OPERATION [ARGUMENTS]

#include "cli/edit/batch_edit.h"
#include "cli/tool_main.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return lumetra::runTool(argc, argv, lumetra::runBatchEdit);
}
#else
int main(int argc, char** argv) {
    return lumetra::runTool(argc, argv, lumetra::runBatchEdit);
}
#endif
