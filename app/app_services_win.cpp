#include "app/app_services.h"

#include <algorithm>
#include <chrono>

#include "app/endpoints.h"
#include "http/http_client.h"
#include "telemetry/event_tracker.h"
#include "telemetry/machine_code.h"
#include "telemetry/usage_events.h"
#include "update/update_check.h"

void AppServices::Start(const std::wstring& commandLine) {
    const Endpoints endpoints = ReadEndpoints();
    std::wstring version;
    if (!GetExeVersionText(version)) version.clear();
    CEventTracker& tracker = CEventTracker::Instance();
    tracker.Start(endpoints.logService, GetMachineCode(L"screenshot"), version);
    tracker.Report(StartEventFor(commandLine));
    JoinUpdateCheck();
    auto session = std::make_shared<HttpSession>(UpdateSessionOptions());
    updateSession_ = session;
    const std::wstring manifestUrl = endpoints.updateManifestUrl;
    const std::string publicKey = endpoints.updatePublicKey;
    updateCheck_.Start([manifestUrl, publicKey, session] { UpdateCheckThreadBody(manifestUrl, publicKey, session); });
}

void AppServices::JoinUpdateCheck() { updateCheck_.Join(std::chrono::minutes(5)); }

void AppServices::Stop() {
    using Clock = std::chrono::steady_clock;
    // Both are cancelled before either is waited for, and both waits share one limit.
    const Clock::time_point deadline = Clock::now() + WorkerThread::kDefaultWait;
    if (updateSession_) updateSession_->Cancel();
    CEventTracker::Instance().Stop(WorkerThread::kDefaultWait);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    updateCheck_.Join(std::max(left, std::chrono::milliseconds(0)));
    updateSession_.reset();
}
