#include "app/app_services.h"

#include <algorithm>
#include <chrono>

#include "app/endpoints.h"
#include "base/known_folders.h"
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
    tracker.Start(endpoints.logService, GetMachineCode(kProgramDataFolderName), version);
    tracker.Report(StartEventFor(commandLine));
    const std::wstring manifestUrl = endpoints.updateManifestUrl;
    const PlainHttp plainHttp = endpoints.updatePlainHttp;
    const std::string publicKey = endpoints.updatePublicKey;
    updates_.Start([manifestUrl, plainHttp, publicKey](const std::shared_ptr<HttpSession>& session) {
        UpdateCheckThreadBody(manifestUrl, plainHttp, publicKey, session);
    });
}

void AppServices::OnResume() { updates_.OnResume(); }

void AppServices::JoinUpdateCheck() { updates_.WaitIdle(std::chrono::minutes(5)); }

void AppServices::Stop() {
    using Clock = std::chrono::steady_clock;
    // Both are cancelled before either is waited for, and both waits share one limit.
    const Clock::time_point deadline = Clock::now() + WorkerThread::kDefaultWait;
    updates_.RequestStop();
    CEventTracker::Instance().Stop(WorkerThread::kDefaultWait);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    updates_.Stop(std::max(left, std::chrono::milliseconds(0)));
}
