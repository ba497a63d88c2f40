#include "app/app_services.h"

#include "app/endpoints.h"
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
    updateCheck_ = std::thread(&UpdateCheckThreadBody, endpoints.updateManifestUrl);
}

void AppServices::JoinUpdateCheck() {
    if (updateCheck_.joinable()) updateCheck_.join();
}

void AppServices::Stop() {
    JoinUpdateCheck();
    CEventTracker::Instance().Stop();
}
