#include <stdexcept>

#include "telemetry/log_transport.h"
#include "base/unique_handle.h"

bool SendUsageRecord(HINTERNET session, const LogServiceConfig& config, const UsageRecord& record) {
    try {
        WinHttpHandle connection(WinHttpConnect(session, config.host.c_str(),
                                                static_cast<INTERNET_PORT>(config.port), 0));
        if (!connection) throw std::runtime_error("Failed to connect to host");
        const std::wstring path = BuildTrackPath(config.logstore, record);
        WinHttpHandle request(WinHttpOpenRequest(connection.Get(), L"GET", path.c_str(), nullptr,
                                                 WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                 config.secure ? WINHTTP_FLAG_SECURE : 0));
        if (!request) throw std::runtime_error("Failed to create HTTP request");
        if (!WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
            throw std::runtime_error("Failed to send HTTP request");
        }
        if (!WinHttpReceiveResponse(request.Get(), nullptr)) {
            throw std::runtime_error("Failed to receive HTTP response");
        }
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
            throw std::runtime_error("Failed to query HTTP status code");
        }
        if (status != 200) throw std::runtime_error("Non-200 HTTP status code received");
        return true;
    } catch (const std::exception&) {
        // The message only explains the failure to a debugger; the record is lost.
        return false;
    }
}
