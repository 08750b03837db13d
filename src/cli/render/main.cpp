// lumetra-render [options] INPUT.bmp OUTPUT.wav

#include <iostream>

#include "cli/program_arguments.h"
#include "cli/program_file_system.h"
#include "cli/render/batch_render.h"

namespace {

template <typename Character>
int run(int argc, Character** argv) {
    const auto files = lumetra::makeProgramFileSystem();
    return lumetra::runBatchRender(lumetra::programArguments(argc, argv), *files, std::cout,
                                   std::cerr);
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return run(argc, argv);
}
#else
int main(int argc, char** argv) {
    return run(argc, argv);
}
#endif
