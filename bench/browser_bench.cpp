// Image browser thumbnails per second from BMP files of 1024 x 512 on disk (read, decoded and
// shrunk to 64 x 50), production against the plain reference (the BMP reader and the general
// halftone stretch), in one run. The program's target: at least 200 per second. Reference and
// production take turns over the same files and each keeps its best round; every thumbnail is
// checked against the reference's.
//
//   lumetra_browser_bench [files] [rounds]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/standard_file_system.h"
#include "bench_machine.h"
#include "browser/thumbnail_file.h"
#include "thumbnail_reference.h"

namespace {

using namespace lumetra;
using Maker = std::function<std::optional<PixelImage>(const std::filesystem::path&)>;

constexpr double kTargetPerSecond = 200.0;

double bestRate(const std::vector<std::filesystem::path>& files, const Maker& make, double& best) {
    const auto begin = std::chrono::steady_clock::now();
    for (const auto& file : files)
        if (!make(file)) std::printf("  no thumbnail for %s\n", file.string().c_str());
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
    best = std::max(best, double(files.size()) / seconds.count());
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    lumetra::bench::printMachine("scalar");
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "lumetra_browser_bench";
    std::filesystem::create_directories(folder);
    StandardFileSystem files;
    std::vector<std::filesystem::path> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder / ("picture" + std::to_string(i) + ".bmp"));
        const auto bytes = testing::bmpFileOf(testing::noisePicture(1024, 512, std::uint32_t(i)));
        auto sink = files.create(paths.back());
        if (!sink || sink->write(bytes.data(), bytes.size()) != bytes.size() || !sink->close()) {
            std::printf("cannot write %s\n", paths.back().string().c_str());
            return 1;
        }
    }

    const Maker production = [&](const std::filesystem::path& file) {
        return thumbnailOfFile(files, file, nullptr);
    };
    const Maker reference = [&](const std::filesystem::path& file) -> std::optional<PixelImage> {
        std::vector<std::uint8_t> bytes;
        if (files.read(file, bytes, kLargestThumbnailFile) != ReadOutcome::Read) return {};
        return testing::referenceThumbnail(bytes);
    };
    int mismatches = 0;
    for (const auto& file : paths)
        if (production(file)->bytes != reference(file)->bytes) ++mismatches;

    double referenceRate = 0, productionRate = 0;
    for (int r = 0; r < rounds; ++r) {
        bestRate(paths, reference, referenceRate);
        bestRate(paths, production, productionRate);
    }
    std::filesystem::remove_all(folder);
    std::printf("Browser thumbnails of %d BMP files of 1024 x 512, best of %d rounds:\n", count,
                rounds);
    std::printf(
        "  reference %8.1f per second   production %8.1f per second   %6.1fx   %s\n", referenceRate,
        productionRate, productionRate / referenceRate,
        productionRate >= kTargetPerSecond ? "at least 200 per second" : "BELOW 200 per second");
    std::printf("  thumbnails differing from the reference: %d\n", mismatches);
    return mismatches == 0 ? 0 : 1;
}
