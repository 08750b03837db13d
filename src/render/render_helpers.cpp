#include "render/render_helpers.h"

#include <system_error>

namespace lumetra {

RenderHelpers::RenderHelpers(int helpers) {
    for (int i = 0; i < helpers; ++i) {
        try {
            helpers_.emplace_back([this, i] { helperLoop(i + 1); });
        } catch (const std::system_error&) {
            break;  // fewer helpers: the work still gets done
        }
    }
}

RenderHelpers::~RenderHelpers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_)
        helper.join();
}

void RenderHelpers::start(std::function<void(int)> work) {
    if (helpers_.empty()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        work_ = std::move(work);
        sharedRun_ = false;
        running_ = static_cast<int>(helpers_.size());
        ++generation_;
    }
    wake_.notify_all();
}

void RenderHelpers::finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return running_ == 0; });
    work_ = nullptr;
}

void RenderHelpers::share(const std::function<void(int)>& work) {
    if (helpers_.empty()) {
        work(0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        shared_ = &work;
        sharedRun_ = true;
        sharing_ = true;
        running_ = 0;
        ++generation_;
    }
    wake_.notify_all();
    // The helpers that joined must be done with `work` before it goes, however work(0) ends.
    struct Close {
        RenderHelpers& helpers;
        ~Close() {
            std::unique_lock<std::mutex> lock(helpers.mutex_);
            helpers.sharing_ = false;
            helpers.finished_.wait(lock, [&] { return helpers.running_ == 0; });
            helpers.shared_ = nullptr;
        }
    } close{*this};
    work(0);
}

void RenderHelpers::helperLoop(int thread) {
    std::uint64_t seen = 0;
    for (;;) {
        const std::function<void(int)>* work = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
            if (sharedRun_) {
                if (!sharing_) continue;  // woke too late: the caller has done it all
                ++running_;
                work = shared_;
            } else {
                work = &work_;
            }
        }
        (*work)(thread);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --running_;
        }
        finished_.notify_all();
    }
}

}  // namespace lumetra
