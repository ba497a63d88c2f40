#include <windows.h>

#include <ctime>
#include <stdexcept>

#include "telemetry/event_tracker.h"
#include "telemetry/log_transport.h"
#include "base/unique_handle.h"

CEventTracker& CEventTracker::Instance() {
    static CEventTracker tracker;
    return tracker;
}

void CEventTracker::Start(const LogServiceConfig& config, const std::wstring& machineCode,
                          const std::wstring& version) {
    // The record values are only written while no sender reads them; queued events stay.
    queue_.Halt();
    config_ = config;
    machineCode_ = machineCode;
    version_ = version;
    queue_.Start([this](const QueuedEvent& event) { Send(event); });
}

void CEventTracker::Report(int event, const std::wstring& data) { queue_.Push(event, data); }

void CEventTracker::Stop() { queue_.Stop(); }

void CEventTracker::Send(const QueuedEvent& event) const {
    WinHttpHandle session(WinHttpOpen(L"LogServiceClient/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    // The queue catches this: the event is lost and the sender goes on with the next one.
    if (!session) throw std::runtime_error("Failed to initialize WinHTTP session");
    const UsageRecord record = BuildUsageRecord(event.event, event.data,
                                                static_cast<long long>(std::time(nullptr)),
                                                version_, machineCode_);
    SendUsageRecord(session.Get(), config_, record);
}
