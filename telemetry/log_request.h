// The log service's web-tracking request: where it goes and the path that carries a record.
// Pure code.
#pragma once

#include <string>

#include "telemetry/usage_events.h"

struct LogServiceConfig {
    bool secure = true;
    std::wstring host;
    unsigned port = 443;
    std::wstring logstore = L"logstore-0627";
};

// "/logstores/<logstore>/track?APIVersion=0.6.0" then "&name=value" per field in order. Names and
// values are sent as UTF-8 with every byte but the unreserved characters (A-Z a-z 0-9 - . _ ~)
// percent-encoded, so "&", "=", "#", spaces and Chinese text arrive exactly as given.
std::wstring BuildTrackPath(const std::wstring& logstore, const UsageRecord& record);
std::string PercentEncode(const std::string& utf8);
