#pragma once
// The arguments after the program name as UTF-8 texts. On Windows they come from the wide entry
// point, so that file names outside the ANSI code page arrive intact.

#include <filesystem>
#include <string>
#include <vector>

namespace lumetra {

template <typename Character>
std::vector<std::string> programArguments(int argc, Character** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::u8string text = std::filesystem::path(argv[i]).u8string();
        args.emplace_back(text.begin(), text.end());
    }
    return args;
}

}  // namespace lumetra
