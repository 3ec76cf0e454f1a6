#pragma once
// The start-up check's network part on a thread of its own: the window is built meanwhile and
// waits for the answer only a moment; a later answer is told to it.

#include "services/update_check.h"

#include <functional>
#include <memory>

class UpdateCheckWorker {
  public:
    // Starts asking the service what the plan needs, done by the deadline.
    UpdateCheckWorker(const UpdateCheckPlan& plan, const ServiceEndpoint& service,
                      WebClock::time_point deadline);
    // Leaves a request still under way to end alone: no wait, and no call of the teller.
    ~UpdateCheckWorker();
    UpdateCheckWorker(const UpdateCheckWorker&) = delete;
    UpdateCheckWorker& operator=(const UpdateCheckWorker&) = delete;

    // Once the service has said its part (or the deadline passed), true with what it said;
    // waits for that until the time at most.
    bool waitUntil(WebClock::time_point time, UpdateFetch& fetch);
    // Has the worker's thread call tell once it is done; at once, on this thread, when it is.
    void tellWhenDone(std::function<void()> tell);

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
