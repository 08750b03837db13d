#pragma once
// Helper threads for the renders. A slice's frames are cut into chunks that the calling thread and
// the helpers take in turn; every chunk adds all rows in their order, so the sums are the same
// whoever makes them. The calling thread never waits for a helper to start: it takes the chunks
// that nobody has taken yet. It only waits for chunks a helper has begun; when the helpers do not
// save time (the other processors are busy with other programs), the calling thread works alone
// for a while before it tries them again.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace lumetra {

class FrameWorkers {
  public:
    explicit FrameWorkers(int helpers);
    ~FrameWorkers();
    FrameWorkers(const FrameWorkers&) = delete;
    FrameWorkers& operator=(const FrameWorkers&) = delete;

    int threads() const { return static_cast<int>(helpers_.size()) + 1; }

    // Whether the next run will use the helpers.
    bool helping() const { return !helpers_.empty() && aloneRuns_ == 0; }
    // The next `runs` runs are done without the helpers (as when they keep the caller waiting).
    void pauseHelpers(int runs) { aloneRuns_ = runs; }

    // Runs task(chunk, thread) for every chunk in [0, chunks); thread is 0 for the caller and
    // 1 .. helpers for the helpers. Returns when all chunks are done.
    void run(int chunks, const std::function<void(int, int)>& task);

  private:
    struct Job {
        const std::function<void(int, int)>* task = nullptr;
        int chunks = 0;
        std::atomic<int> next{0};
        std::atomic<int> done{0};
        int users = 0;  // helpers working on it (guarded by mutex_)
    };

    void helperLoop(int thread);
    static int work(Job& job, int thread);  // chunks made

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    Job* job_ = nullptr;
    std::uint64_t generation_ = 0;
    bool stop_ = false;
    // After a run that the helpers did not make faster, the next backOff_ runs are done alone;
    // the pause doubles with every such run and halves with every good one.
    static constexpr int kShortestBackOff = 64;
    static constexpr int kLongestBackOff = 16384;
    int aloneRuns_ = 0;
    int backOff_ = kShortestBackOff;
    std::vector<std::thread> helpers_;
};

}  // namespace lumetra
