// Where the program sends usage events and looks for updates. Build-time settings whose defaults
// reach no real host; two environment variables, read once at start-up, point a running program
// at test servers instead:
//   SCREENSHOT_LOG_ENDPOINT  scheme, host and port of the log service (http://127.0.0.1:8081)
//   SCREENSHOT_UPDATE_URL    the whole manifest address (http://127.0.0.1:8082/update/update.json)
#pragma once

#include <string>

#include "telemetry/log_request.h"
#include "http/endpoint.h"
#include "http/http_url.h"

struct Endpoints {
    LogServiceConfig logService;
    std::wstring updateManifestUrl;
    // Plain http to this machine is allowed to the update check only when SCREENSHOT_UPDATE_URL
    // named the manifest: the built-in address and everything it leads to are https.
    PlainHttp updatePlainHttp = PlainHttp::kRefused;
    // The key updaters are signed with, as 128 hexadecimal digits (X then Y); set at build time
    // only. Empty: no updater is ever started.
    std::string updatePublicKey;
};

// The build-time values with the environment's overrides applied. An override that does not
// parse, or a log service over plain http to a host that is not this machine, is ignored.
Endpoints ReadEndpoints();
