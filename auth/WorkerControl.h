// Starting and stopping the authentication worker, as the apply operations, the Site
// Survey page's Connect and the shutdown need it.
#pragma once

namespace hx {

class WorkerControl {
public:
    virtual ~WorkerControl() = default;
    // Stops a running worker first (keeping the Zero Configuration service stopped), then
    // starts a new one.
    virtual void StartWorker() = 0;
    // Stops the worker if one is active and restarts the Zero Configuration service when
    // starting it had stopped the service. Returns when the worker's thread has ended.
    virtual void StopWorker() = 0;
    // True while the run flag is set.
    virtual bool WorkerActive() const = 0;
};

}  // namespace hx
