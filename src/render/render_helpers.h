#pragma once
// Helper threads for the renders, kept from render to render (starting threads costs more than
// a small render). A render hands them one function to run; each helper runs it once, with its
// own thread number, and the render waits for all of them to return from it before it ends.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace lumetra {

class RenderHelpers {
  public:
    explicit RenderHelpers(int helpers);
    ~RenderHelpers();
    RenderHelpers(const RenderHelpers&) = delete;
    RenderHelpers& operator=(const RenderHelpers&) = delete;

    // The caller (thread 0) and the helpers that could be started (1 .. threads() - 1).
    int threads() const { return static_cast<int>(helpers_.size()) + 1; }

    // Every helper runs work(thread) once. finish() returns when all have returned from it;
    // work must return on its own (it is told by the caller's data, not by this class).
    void start(std::function<void(int)> work);
    void finish();

    // Runs work(0) on the calling thread and work(thread) on every helper that wakes before
    // work(0) has returned; returns when those have returned too. For work the threads share
    // out among themselves: on a busy machine a helper can take longer to wake than the whole
    // job, and then it finds nothing left instead of holding up the caller.
    void share(const std::function<void(int)>& work);

  private:
    void helperLoop(int thread);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::function<void(int)> work_;
    const std::function<void(int)>* shared_ = nullptr;  // share()'s work, while it lasts
    bool sharedRun_ = false;                            // the latest generation came from share()
    bool sharing_ = false;  // share()'s caller still works: helpers may join
    std::uint64_t generation_ = 0;
    int running_ = 0;
    bool stop_ = false;
    std::vector<std::thread> helpers_;
};

}  // namespace lumetra
