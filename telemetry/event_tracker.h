// The event tracker: takes usage events from any thread and sends each as one record to the log
// service on its own sender thread. Reporting never waits for the network and never fails.
#pragma once

#include <string>

#include "telemetry/event_queue.h"
#include "telemetry/log_request.h"

class CEventTracker {
public:
    static CEventTracker& Instance();

    // Fixes where records go and what every record carries, then (re)starts the sender.
    void Start(const LogServiceConfig& config, const std::wstring& machineCode,
               const std::wstring& version);
    // Queues an event; numbers that are not usage events are dropped.
    void Report(int event, const std::wstring& data = std::wstring());
    // Ends the sender (as at exit): the event being sent is finished, the rest are dropped.
    void Stop();

    CEventTracker() = default;
    ~CEventTracker() { Stop(); }
    CEventTracker(const CEventTracker&) = delete;
    CEventTracker& operator=(const CEventTracker&) = delete;

private:
    void Send(const QueuedEvent& event) const;

    LogServiceConfig config_;
    std::wstring machineCode_;
    std::wstring version_;
    EventQueue queue_;
};
