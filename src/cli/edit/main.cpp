// lumetra-edit [--selection L,T,R,B] [--seed N] INPUT.bmp OUTPUT.bmp OPERATION [ARGUMENTS]

#include <iostream>

#include "cli/edit/batch_edit.h"
#include "cli/program_arguments.h"
#include "cli/program_file_system.h"

namespace {

template <typename Character>
int run(int argc, Character** argv) {
    const auto files = lumetra::makeProgramFileSystem();
    return lumetra::runBatchEdit(lumetra::programArguments(argc, argv), *files, std::cout,
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
