#include "telemetry/event_tracker.h"

#include <ctime>
#include <stdexcept>

#include "telemetry/log_transport.h"

CEventTracker& CEventTracker::Instance() {
    static CEventTracker tracker;
    return tracker;
}

void CEventTracker::Start(const LogServiceConfig& config, const std::wstring& machineCode,
                          const std::wstring& version) {
    // Queued events stay for the new sender.
    queue_.Halt();
    auto session = std::make_shared<HttpSession>(LogSessionOptions());
    session_ = session;
    // The sender owns copies of everything it uses: at exit it may be let go while still busy.
    queue_.Start([session, config, machineCode, version](const QueuedEvent& event) {
        // The queue catches this: the event is lost and the sender goes on with the next one.
        if (!session->Valid()) throw std::runtime_error("Failed to initialize WinHTTP session");
        const UsageRecord record = BuildUsageRecord(event.event, event.data,
                                                    static_cast<long long>(std::time(nullptr)), version,
                                                    machineCode);
        SendUsageRecord(*session, config, record);
    });
}

void CEventTracker::Report(int event, const std::wstring& data) { queue_.Push(event, data); }

void CEventTracker::Stop(std::chrono::milliseconds wait) {
    if (session_) session_->Cancel();
    queue_.Stop(wait);
    session_.reset();
}
