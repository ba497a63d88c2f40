#include "telemetry/log_transport.h"

HttpSessionOptions LogSessionOptions() {
    HttpSessionOptions options;
    options.userAgent = L"LogServiceClient/1.0";
    options.proxy = ProxyChoice::kAutomatic;
    return options;
}

bool SendUsageRecord(HttpSession& session, const LogServiceConfig& config, const UsageRecord& record) {
    HttpUrl target;
    target.secure = config.secure;
    target.host = config.host;
    target.port = config.port;
    target.object = BuildTrackPath(config.logstore, record);
    const HttpResponse response = session.Get(target);
    return response.error == 0 && response.status == 200;
}
