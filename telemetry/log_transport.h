// Sends one usage record to the log service: one GET request whose query carries the fields.
#pragma once

#include "http/http_client.h"
#include "telemetry/log_request.h"

// The session records are sent on: the log client's user agent, the proxy picked per address.
HttpSessionOptions LogSessionOptions();

// True only when the service answered 200. Every failure (no connection, a failed request, any
// other status) gives false after closing what was opened; nothing is thrown to the caller.
bool SendUsageRecord(HttpSession& session, const LogServiceConfig& config, const UsageRecord& record);
