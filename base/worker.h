#pragma once
// A request to one of the maker's services on a thread of its own: the window goes on
// meanwhile and takes the answer when it comes. Only the network is done there; what the
// answer changes (the store, the trail) is done by the window's thread.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

template <typename Answer> class ServiceWorker {
  public:
    // Starts the request on a thread of its own; it must end by a deadline of its own.
    explicit ServiceWorker(std::function<Answer()> request) : shared_(std::make_shared<Shared>()) {
        std::thread([shared = shared_, request = std::move(request)] {
            Answer answer = request();
            const std::lock_guard lock(shared->mutex);
            shared->answer = std::move(answer);
            shared->done = true;
            shared->finished.notify_all();
            if (shared->tell && !shared->abandoned) shared->tell();
        }).detach();
    }
    // Leaves a request still under way to end alone: no wait, and no call of the teller.
    ~ServiceWorker() {
        const std::lock_guard lock(shared_->mutex);
        shared_->abandoned = true;
    }
    ServiceWorker(const ServiceWorker&) = delete;
    ServiceWorker& operator=(const ServiceWorker&) = delete;

    // Once the request is done, true with its answer; waits for that until the time at most.
    template <typename Time> bool waitUntil(Time time, Answer& answer) {
        std::unique_lock lock(shared_->mutex);
        if (!shared_->finished.wait_until(lock, time, [&] { return shared_->done; })) return false;
        answer = shared_->answer;
        return true;
    }
    // Has the worker's thread call tell once it is done; at once, on this thread, when it is.
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
    // What the worker's thread and the window's thread share; the thread holds a share of its
    // own, so a worker left behind still has it to write to.
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
