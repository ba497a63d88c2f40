// The event tracker: takes usage events from any thread and sends each as one record to the log
// service on its own sender thread. Reporting never waits for the network and never fails.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "http/worker_thread.h"
#include "telemetry/event_queue.h"
#include "telemetry/log_request.h"

class HttpSession;

class CEventTracker {
public:
    static CEventTracker& Instance();

    // Fixes where records go and what every record carries, then (re)starts the sender.
    void Start(const LogServiceConfig& config, const std::wstring& machineCode,
               const std::wstring& version);
    // Queues an event; numbers that are not usage events are dropped.
    void Report(int event, const std::wstring& data = std::wstring());
    // Ends the sender (as at exit): the request in progress is cancelled, the rest are dropped.
    // Waits up to wait for the sender; one the system keeps busy longer is let go (it owns what
    // it uses and sends nothing more).
    void Stop(std::chrono::milliseconds wait = WorkerThread::kDefaultWait);

    CEventTracker() = default;
    ~CEventTracker() { Stop(); }
    CEventTracker(const CEventTracker&) = delete;
    CEventTracker& operator=(const CEventTracker&) = delete;

private:
    std::shared_ptr<HttpSession> session_;  // of the running sender
    EventQueue queue_;
};
