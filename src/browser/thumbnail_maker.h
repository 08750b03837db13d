#pragma once
// Making thumbnails on a helper thread, so that a filter folder of hundreds of large pictures
// does not hold up the program: the browser lists the names at once and draws each thumbnail as
// it arrives. The maker owns its thread; it is stopped and joined when the maker is destroyed.
// Jobs are done in the order given; a job's result carries the job back, so that the browser can
// drop results of a tab that has since been refreshed or removed.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "image/pixel_image.h"

namespace lumetra {

struct ThumbnailJob {
    std::uint64_t tab = 0;         // the tab the item belongs to
    std::uint64_t generation = 0;  // the tab's fill the job belongs to
    std::size_t item = 0;          // the item within that fill
    std::filesystem::path file;
};

struct FinishedThumbnail {
    ThumbnailJob job;
    std::optional<PixelImage> thumbnail;  // nothing when the file did not load
};

class ThumbnailMaker {
  public:
    // `make` runs on the helper thread; `wake` too, whenever results begin to wait (the window
    // posts itself a message there).
    using Make = std::function<std::optional<PixelImage>(const std::filesystem::path&)>;
    using Wake = std::function<void()>;

    ThumbnailMaker(Make make, Wake wake);
    ~ThumbnailMaker();
    ThumbnailMaker(const ThumbnailMaker&) = delete;
    ThumbnailMaker& operator=(const ThumbnailMaker&) = delete;

    void add(std::vector<ThumbnailJob> jobs);
    // Drops the waiting jobs of a tab (a result under way still arrives).
    void forget(std::uint64_t tab);
    // The results that have arrived since the last call, in the order made.
    std::vector<FinishedThumbnail> takeFinished();
    // Blocks until every job given so far is finished.
    void waitUntilIdle();
    // Ends the thread after the job under way; later jobs are not done.
    void stop();

  private:
    void run();

    Make make_;
    Wake wake_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<ThumbnailJob> waiting_;
    std::vector<FinishedThumbnail> finished_;
    bool working_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: started once everything it uses is there
};

}  // namespace lumetra
