// lumetra-render [options] INPUT.bmp OUTPUT.wav

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "batch_render.h"

#ifdef _WIN32
// Wide arguments, so that file names outside the ANSI code page arrive intact; the core takes
// them as UTF-8.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::u8string text = std::filesystem::path(argv[i]).u8string();
        args.emplace_back(text.begin(), text.end());
    }
    return lumetra::runBatchRender(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return lumetra::runBatchRender(args, std::cout, std::cerr);
}
#endif
