#include "services/update_check_worker.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// What the worker's thread and the window's thread share; the thread holds a share of its
// own, so a worker left behind still has it to write to.
struct UpdateCheckWorker::Shared {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    UpdateFetch fetch;
    std::function<void()> tell;
};

UpdateCheckWorker::UpdateCheckWorker(const UpdateCheckPlan& plan, const ServiceEndpoint& service,
                                     WebClock::time_point deadline)
    : shared_(std::make_shared<Shared>()) {
    std::thread([shared = shared_, plan, service, deadline] {
        const UpdateFetch fetch = FetchForPlan(plan, service, deadline);
        const std::lock_guard lock(shared->mutex);
        shared->fetch = fetch;
        shared->done = true;
        shared->finished.notify_all();
        if (shared->tell && !shared->abandoned) shared->tell();
    }).detach();
}

UpdateCheckWorker::~UpdateCheckWorker() {
    const std::lock_guard lock(shared_->mutex);
    shared_->abandoned = true;
}

bool UpdateCheckWorker::waitUntil(WebClock::time_point time, UpdateFetch& fetch) {
    std::unique_lock lock(shared_->mutex);
    if (!shared_->finished.wait_until(lock, time, [&] { return shared_->done; })) return false;
    fetch = shared_->fetch;
    return true;
}

void UpdateCheckWorker::tellWhenDone(std::function<void()> tell) {
    std::unique_lock lock(shared_->mutex);
    if (!shared_->done) {
        shared_->tell = std::move(tell);
        return;
    }
    lock.unlock();
    tell();
}
