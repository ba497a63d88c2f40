// Sends one usage record to the log service: one GET request whose query carries the fields.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include "telemetry/log_request.h"

// True only when the service answered 200. Every failure (no connection, a failed request, any
// other status) gives false after closing what was opened; nothing is thrown to the caller.
bool SendUsageRecord(HINTERNET session, const LogServiceConfig& config, const UsageRecord& record);
