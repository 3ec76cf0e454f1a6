#pragma once
// Work on a thread of its own: the one way this program runs anything off the window's thread (the
// system read, the scheduler's calls, the update check, the error report, a web request with its
// deadline, the toolbar's images). The one way back is UICore::postToWindow. Only the work itself
// is done on the worker's thread; what its answer changes is done by the thread that takes it.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

template <typename Answer> class Worker {
  public:
    // Starts the work on a thread of its own; work that may hang must end by a deadline of its
    // own, or be left behind.
    explicit Worker(std::function<Answer()> work) : shared_(std::make_shared<Shared>()) {
        std::thread([shared = shared_, work = std::move(work)] {
            Answer answer = work();
            const std::lock_guard lock(shared->mutex);
            shared->answer = std::move(answer);
            shared->done = true;
            shared->finished.notify_all();
            if (shared->tell && !shared->abandoned) shared->tell();
        }).detach();
    }
    // Leaves work still under way to end alone: no wait, and no call of the teller.
    ~Worker() {
        const std::lock_guard lock(shared_->mutex);
        shared_->abandoned = true;
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Once the work is done, true with its answer; waits for that until the time at most.
    template <typename Time> bool waitUntil(Time time, Answer& answer) {
        std::unique_lock lock(shared_->mutex);
        if (!shared_->finished.wait_until(lock, time, [&] { return shared_->done; })) return false;
        answer = shared_->answer;
        return true;
    }
    // The answer, waiting for it as long as it takes.
    Answer wait() {
        std::unique_lock lock(shared_->mutex);
        shared_->finished.wait(lock, [&] { return shared_->done; });
        return shared_->answer;
    }
    // Has the worker's thread call tell once it is done (unless the worker was left behind by
    // then); at once, on this thread, when it is.
    void tellWhenDone(std::function<void()> tell) {
        std::unique_lock lock(shared_->mutex);
        if (!shared_->done) {
            shared_->tell = std::move(tell);
            return;
        }
        lock.unlock();
        tell();
    }

  private:
    // What the worker's thread and its owner share; the thread holds a share of its own, so work
    // left behind still has it to write to.
    struct Shared {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        bool abandoned = false;
        Answer answer{};
        std::function<void()> tell;
    };
    std::shared_ptr<Shared> shared_;
};
