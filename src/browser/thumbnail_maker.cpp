#include "browser/thumbnail_maker.h"

#include <algorithm>
#include <utility>

namespace lumetra {

ThumbnailMaker::ThumbnailMaker(Make make, Wake wake)
    : make_(std::move(make)), wake_(std::move(wake)), thread_([this] { run(); }) {}

ThumbnailMaker::~ThumbnailMaker() {
    stop();
}

void ThumbnailMaker::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ThumbnailMaker::add(std::vector<ThumbnailJob> jobs) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        for (ThumbnailJob& job : jobs)
            waiting_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void ThumbnailMaker::forget(std::uint64_t tab) {
    std::lock_guard lock(mutex_);
    std::erase_if(waiting_, [tab](const ThumbnailJob& job) { return job.tab == tab; });
    changed_.notify_all();
}

std::vector<FinishedThumbnail> ThumbnailMaker::takeFinished() {
    std::lock_guard lock(mutex_);
    return std::exchange(finished_, {});
}

void ThumbnailMaker::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || (waiting_.empty() && !working_); });
}

void ThumbnailMaker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) return;
        ThumbnailJob job = std::move(waiting_.front());
        waiting_.pop_front();
        working_ = true;
        lock.unlock();
        std::optional<PixelImage> thumbnail;
        try {
            thumbnail = make_(job.file);
        } catch (...) {
            // A picture that cannot be made (memory) has no thumbnail; the thread goes on.
        }
        lock.lock();
        working_ = false;
        const bool first = finished_.empty();
        finished_.push_back(FinishedThumbnail{std::move(job), std::move(thumbnail)});
        changed_.notify_all();
        if (first && wake_) {
            // The wake may post a message; it is called without the lock held.
            lock.unlock();
            wake_();
            lock.lock();
        }
    }
}

}  // namespace lumetra
