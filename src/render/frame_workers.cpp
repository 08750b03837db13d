#include "render/frame_workers.h"

#include <chrono>

namespace lumetra {

FrameWorkers::FrameWorkers(int helpers) {
    for (int i = 0; i < helpers; ++i) {
        try {
            helpers_.emplace_back([this, i] { helperLoop(i + 1); });
        } catch (const std::system_error&) {
            break;  // fewer helpers: the work still gets done
        }
    }
}

FrameWorkers::~FrameWorkers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_)
        helper.join();
}

int FrameWorkers::work(Job& job, int thread) {
    int made = 0;
    for (;;) {
        const int chunk = job.next.fetch_add(1);
        if (chunk >= job.chunks) return made;
        (*job.task)(chunk, thread);
        job.done.fetch_add(1);
        ++made;
    }
}

void FrameWorkers::run(int chunks, const std::function<void(int, int)>& task) {
    Job job;
    job.task = &task;
    job.chunks = chunks;
    if (helpers_.empty() || chunks <= 1) {
        work(job, 0);
        return;
    }
    if (aloneRuns_ > 0) {
        --aloneRuns_;
        work(job, 0);
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = &job;
        ++generation_;
    }
    wake_.notify_all();
    const int mine = work(job, 0);
    const Clock::time_point ownDone = Clock::now();
    {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [&] { return job.done.load() == chunks && job.users == 0; });
        // A helper that wakes only now finds no job and leaves this one alone.
        job_ = nullptr;
    }
    const Clock::time_point end = Clock::now();
    // Alone, the caller would have needed about its time per chunk times all chunks. A run that
    // saved less than 15 % of that (a helper that did not come, or came on a busy processor)
    // counts as a bad one.
    const auto alone = (ownDone - start) * chunks / (mine > 0 ? mine : 1);
    if ((end - start) * 20 > alone * 17) {
        aloneRuns_ = backOff_;
        if (backOff_ < kLongestBackOff) backOff_ *= 2;
    } else if (backOff_ > kShortestBackOff) {
        backOff_ /= 2;
    }
}

void FrameWorkers::helperLoop(int thread) {
    std::uint64_t seen = 0;
    for (;;) {
        Job* job = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
            job = job_;
            if (!job) continue;
            ++job->users;
        }
        work(*job, thread);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --job->users;
        }
        finished_.notify_all();
    }
}

}  // namespace lumetra
