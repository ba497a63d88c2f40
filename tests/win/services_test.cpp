// Usage events, their transport and the update check against a real HTTP server on 127.0.0.1
// (started beside this test by http_test_server.py; its port comes in TEST_HTTP_PORT).
#include <windows.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <atomic>
#include <thread>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/endpoints.h"
#include "base/utf_convert.h"
#include "telemetry/event_tracker.h"
#include "telemetry/log_transport.h"
#include "telemetry/machine_code.h"
#include "base/unique_handle.h"
#include "test_folder.h"
#include "update/update_check.h"
#include "update/updater_proof.h"
#include "update/update_scheduler.h"
#include "update/update_statement.h"
#include "update/updater_signature.h"

namespace {

unsigned Port() {
    const char* port = std::getenv("TEST_HTTP_PORT");
    return port ? static_cast<unsigned>(std::atoi(port)) : 0;
}

std::wstring ServerUrl(const std::wstring& path) {
    return L"http://127.0.0.1:" + std::to_wstring(Port()) + path;
}

// One request to the test server's control interface; the body it answered.
std::string Control(const wchar_t* verb, const std::wstring& path, const std::string& body = std::string()) {
    WinHttpHandle session(WinHttpOpen(L"services-test", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0));
    WinHttpHandle connection(WinHttpConnect(session.Get(), L"127.0.0.1", static_cast<INTERNET_PORT>(Port()), 0));
    WinHttpHandle request(WinHttpOpenRequest(connection.Get(), verb, path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                             WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!request || !WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                        const_cast<char*>(body.data()), static_cast<DWORD>(body.size()),
                                        static_cast<DWORD>(body.size()), 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        ADD_FAILURE() << "control request failed: " << WideToUtf8(path);
        return std::string();
    }
    std::string answer;
    char block[4096];
    DWORD read = 0;
    while (WinHttpReadData(request.Get(), block, sizeof block, &read) && read > 0) answer.append(block, read);
    return answer;
}

// The paths the server received, from its JSON list of strings (no escapes but \" and \\).
std::vector<std::string> Records(const char* what = "records") {
    const std::string json = Control(L"GET", L"/_control/" + Utf8ToWide(what));
    std::vector<std::string> paths;
    size_t i = json.find('"');
    while (i != std::string::npos) {
        std::string item;
        size_t j = i + 1;
        for (; j < json.size() && json[j] != '"'; ++j) {
            if (json[j] == '\\' && j + 1 < json.size()) ++j;
            item += json[j];
        }
        paths.push_back(item);
        i = json.find('"', j + 1);
    }
    return paths;
}

std::string PercentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The query fields of a recorded path, decoded, in their order on the wire.
std::vector<std::pair<std::string, std::string>> Fields(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> fields;
    size_t start = path.find('?');
    while (start != std::string::npos) {
        const size_t end = path.find('&', start + 1);
        const std::string pair = path.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
        const size_t equals = pair.find('=');
        fields.emplace_back(PercentDecode(pair.substr(0, equals)), PercentDecode(pair.substr(equals + 1)));
        start = end;
    }
    return fields;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return exe.substr(0, exe.find_last_of(L"\\/"));
}

LogServiceConfig TestLogService() {
    LogServiceConfig config;
    config.secure = false;
    config.host = L"127.0.0.1";
    config.port = Port();
    return config;
}

class Services : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Port(), 0u) << "run through http_test_server.py";
        Control(L"GET", L"/_control/reset");
    }
};

// The server's signature of bytes with its own key (base64 of DER, as a release is signed).
std::string SignatureOf(const std::string& bytes) { return Control(L"POST", L"/_control/sign", bytes); }

std::string Sha256Hex(const std::string& bytes) { return Control(L"POST", L"/_control/sha256", bytes); }

// A statement's expiry a day from now, or a day ago, in the form releases write.
std::string ExpiryFromNow(bool past = false) {
    const time_t when = time(nullptr) + (past ? -86400 : 86400);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&when));
    return text;
}

// The signature of the statement a release signs for version, url, hash and expiry.
std::string StatementSignature(const std::string& version, const std::string& url, const std::string& hash,
                               const std::string& expires = ExpiryFromNow()) {
    return SignatureOf(UpdateStatement(version, url, hash, expires).value_or(std::string()));
}

// A manifest with the given "sha256", "expires" and "signature" members (each left out when
// empty), padded with spaces up to pad bytes when given.
void ServeManifestWith(const std::string& version, const std::string& updaterUrl, const std::string& hash,
                       const std::string& expires, const std::string& signature, size_t pad = 0) {
    std::string members = "\"version\": \"" + version + "\", \"url\": \"" + updaterUrl + "\"";
    if (!hash.empty()) members += ", \"sha256\": \"" + hash + "\"";
    if (!expires.empty()) members += ", \"expires\": \"" + expires + "\"";
    if (!signature.empty()) members += ", \"signature\": \"" + signature + "\"";
    Control(L"POST", L"/_control/file?path=/update/update.json&pad=" + std::to_wstring(pad),
            "{\"update_info\": {" + members + "}}");
}

std::string FakeUpdater() { return FileBytes(ExeFolder() + L"\\fake_updater.exe"); }

// A manifest offering updater (the fake updater unless given) as a release signs it.
void ServeManifest(const std::string& version, const std::string& updaterUrl,
                   const std::string& updater = FakeUpdater(), size_t pad = 0) {
    const std::string hash = Sha256Hex(updater);
    const std::string expires = ExpiryFromNow();
    ServeManifestWith(version, updaterUrl, hash, expires, StatementSignature(version, updaterUrl, hash, expires), pad);
}

void ServeUpdater(bool truncate) {
    const std::string updater = FakeUpdater();
    ASSERT_GT(updater.size(), 1000u);
    Control(L"POST", std::wstring(L"/_control/file?path=/updater.exe") + (truncate ? L"&truncate=1" : L""), updater);
}

UpdateCheckSettings CheckIn(const TestFolder& folder, const std::string& version = "1.0.0.1") {
    UpdateCheckSettings settings;
    settings.manifestUrl = ServerUrl(L"/update/update.json");
    settings.plainHttp = PlainHttp::kLoopbackForTests;
    settings.folder = folder.Path();
    settings.versionKnown = true;
    settings.version = version;
    settings.publicKey = ParsePublicKeyHex(Control(L"GET", L"/_control/public_key")).value_or(std::string());
    return settings;
}

// The update check as the program runs it, on a session of its own.
void RunCheck(const UpdateCheckSettings& settings) {
    HttpSession session(UpdateSessionOptions());
    RunUpdateCheck(settings, session);
}

DWORD DownloadFile(const std::wstring& url, const std::wstring& destination,
                   unsigned long long maxBytes = kMaxUpdaterBytes) {
    HttpSession session(UpdateSessionOptions());
    return session.Download(url, destination, maxBytes, PlainHttp::kLoopbackForTests);
}

// A session whose every request, whatever its host, goes to the test server as its proxy: a
// request to evil.example would be recorded there.
HttpSession ProxiedUpdateSession() {
    HttpSessionOptions options = UpdateSessionOptions();
    options.proxy = ProxyChoice::kNamed;
    options.proxyName = L"127.0.0.1:" + std::to_wstring(Port());
    return HttpSession(options);
}

size_t CountRequests(const std::string& path) {
    size_t count = 0;
    for (const std::string& record : Records()) count += record == path;
    return count;
}

}  // namespace

TEST_F(Services, RecordArrivesWithItsFieldsInOrder) {
    HttpSession session(LogSessionOptions());
    const UsageRecord record = BuildUsageRecord(2, L"", 1700000000, L"1.0.0.1", L"");
    EXPECT_TRUE(SendUsageRecord(session, TestLogService(), record));
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], "/logstores/logstore-0627/track?APIVersion=0.6.0&event_name=launch"
                          "&event_time=1700000000&exeCurrVersion=1.0.0.1&machine_code=");
    EXPECT_EQ(Records("agents")[0], "LogServiceClient/1.0");
}

TEST_F(Services, TransportFailuresGiveFalse) {
    HttpSession session(LogSessionOptions());
    const UsageRecord record = BuildUsageRecord(7, L"", 1, L"v", L"m");
    for (int status : {204, 500, 404}) {
        Control(L"GET", L"/_control/track?status=" + std::to_wstring(status));
        EXPECT_FALSE(SendUsageRecord(session, TestLogService(), record)) << status;
    }
    LogServiceConfig refused = TestLogService();
    refused.port = 1;  // nothing listens there
    EXPECT_FALSE(SendUsageRecord(session, refused, record));
}

TEST_F(Services, TrackerSendsDataOnlyForItsEventsAndEncodesIt) {
    CEventTracker tracker;
    tracker.Start(TestLogService(), L"0f1e2d3c-aaaa-bbbb-cccc-0123456789ab", L"1.0.0.1");
    const std::wstring feedback = L"a&b=c #1 \x4F60\x597D";
    tracker.Report(5, feedback);
    tracker.Report(6, L"x");
    tracker.Report(36, L"not an event");
    ASSERT_TRUE(WaitFor([] { return Records().size() >= 2; }));
    Sleep(200);
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    const auto first = Fields(records[0]);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(first[0], (std::pair<std::string, std::string>{"APIVersion", "0.6.0"}));
    EXPECT_EQ(first[1], (std::pair<std::string, std::string>{"data", WideToUtf8(feedback)}));
    EXPECT_EQ(first[2].second, "feedback_msg");
    EXPECT_EQ(first[3].first, "event_time");
    const long long now = static_cast<long long>(time(nullptr));
    EXPECT_LE(std::llabs(std::stoll(first[3].second) - now), 60);
    EXPECT_EQ(first[4], (std::pair<std::string, std::string>{"exeCurrVersion", "1.0.0.1"}));
    EXPECT_EQ(first[5].second, "0f1e2d3c-aaaa-bbbb-cccc-0123456789ab");
    const auto second = Fields(records[1]);
    EXPECT_EQ(second.size(), 5u);
    EXPECT_EQ(second[1], (std::pair<std::string, std::string>{"event_name", "main_wnd_btn_close"}));
}

TEST_F(Services, FailedSendsAreConsumedWithoutGrowingTheQueue) {
    Control(L"GET", L"/_control/track?status=500");
    CEventTracker tracker;
    tracker.Start(TestLogService(), L"m", L"v");
    for (int i = 0; i < 5; ++i) tracker.Report(7);
    ASSERT_TRUE(WaitFor([] { return Records().size() >= 5; }));
    tracker.Stop();
    EXPECT_EQ(Records().size(), 5u);  // one failed request each, nothing retried
}

TEST(Endpoints, TheLogServiceOverrideTakesPlainHttpOnlyToThisMachine) {
    wchar_t earlier[256] = {0};
    const bool set = GetEnvironmentVariableW(L"SCREENSHOT_LOG_ENDPOINT", earlier, 256) > 0;
    SetEnvironmentVariableW(L"SCREENSHOT_LOG_ENDPOINT", nullptr);
    const Endpoints defaults = ReadEndpoints();
    const auto logServiceFor = [](const wchar_t* text) {
        SetEnvironmentVariableW(L"SCREENSHOT_LOG_ENDPOINT", text);
        return ReadEndpoints().logService;
    };
    EXPECT_EQ(logServiceFor(L"http://example.com:8081").host, defaults.logService.host);
    EXPECT_TRUE(logServiceFor(L"http://example.com:8081").secure);
    EXPECT_EQ(logServiceFor(L"http://127.0.0.1:8081").host, L"127.0.0.1");
    EXPECT_EQ(logServiceFor(L"https://example.com").host, L"example.com");
    SetEnvironmentVariableW(L"SCREENSHOT_LOG_ENDPOINT", set ? earlier : nullptr);
}

TEST(Endpoints, OnlyAnUpdateAddressFromTheEnvironmentAllowsPlainHttpToThisMachine) {
    wchar_t earlier[256] = {0};
    const bool set = GetEnvironmentVariableW(L"SCREENSHOT_UPDATE_URL", earlier, 256) > 0;
    SetEnvironmentVariableW(L"SCREENSHOT_UPDATE_URL", nullptr);
    EXPECT_EQ(ReadEndpoints().updatePlainHttp, PlainHttp::kRefused);
    SetEnvironmentVariableW(L"SCREENSHOT_UPDATE_URL", L"http://127.0.0.1:8082/update/update.json");
    const Endpoints test = ReadEndpoints();
    EXPECT_EQ(test.updateManifestUrl, L"http://127.0.0.1:8082/update/update.json");
    EXPECT_EQ(test.updatePlainHttp, PlainHttp::kLoopbackForTests);
    SetEnvironmentVariableW(L"SCREENSHOT_UPDATE_URL", set ? earlier : nullptr);
}

TEST(MachineCode, KeptInAHiddenFileAndReplacedWhenEmpty) {
    TestFolder folder;
    const std::wstring sub = folder.File(L"screenshot") + L"\\";
    const std::wstring code = MachineCodeIn(sub);
    ASSERT_EQ(code.size(), 36u);
    for (size_t i = 0; i < code.size(); ++i) {
        const wchar_t c = code[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            EXPECT_EQ(c, L'-');
        } else {
            EXPECT_TRUE((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f')) << i;
        }
    }
    const std::wstring file = sub + L"app.id";
    EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FileBytes(file), WideToUtf8(code));  // no line end
    EXPECT_EQ(MachineCodeIn(sub), code);  // the next run reads the same code

    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(file, "");
    const std::wstring replaced = MachineCodeIn(sub);
    EXPECT_EQ(replaced.size(), 36u);
    EXPECT_NE(replaced, code);
    EXPECT_EQ(FileBytes(file), WideToUtf8(replaced));

    // A code followed by more than 4 KiB of anything is still read, and the file kept.
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string large = WideToUtf8(replaced) + "\r\n" + std::string(10000, 'x');
    WriteBytes(file, large);
    EXPECT_EQ(MachineCodeIn(sub), replaced);
    EXPECT_EQ(FileBytes(file), large);

    WriteBytes(folder.File(L"not_a_folder"), "x");
    EXPECT_EQ(MachineCodeIn(folder.File(L"not_a_folder") + L"\\"), L"");
}

TEST_F(Services, DownloadOf404GivesItsCodeAndNoFile) {
    TestFolder folder;
    const std::wstring target = folder.File(L"x.json");
    EXPECT_EQ(DownloadFile(ServerUrl(L"/missing.json"), target), kDownloadHttpError);
    EXPECT_FALSE(FileExists(target));
    EXPECT_NE(DownloadFile(L"http://127.0.0.1:1/refused.json", target), 0u);
    EXPECT_FALSE(FileExists(target));
}

TEST_F(Services, NewerManifestDownloadsRunsAndRemovesTheUpdater) {
    TestFolder base;
    // A folder with a space: the updater must still be the program started.
    const std::wstring spaced = base.File(L"Program Files");
    ASSERT_TRUE(CreateDirectoryW(spaced.c_str(), nullptr));
    UpdateCheckSettings settings = CheckIn(base);
    settings.folder = spaced;
    ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
    ServeUpdater(false);
    RunCheck(settings);
    const std::wstring marker = spaced + L"\\updater_ran.txt";
    ASSERT_TRUE(FileExists(marker));
    EXPECT_NE(FileBytes(marker).find('"'), std::string::npos) << "the command line is quoted";
    // With the program's proof: a token naming a mutex this process holds.
    const std::string ran = FileBytes(marker);
    const std::wstring commandLine(reinterpret_cast<const wchar_t*>(ran.data()), ran.size() / sizeof(wchar_t));
    const size_t proof = commandLine.find(L" /PROOF=");
    ASSERT_NE(proof, std::wstring::npos);
    const std::wstring token = commandLine.substr(proof + 8);
    EXPECT_EQ(token.size(), 32u);
    UniqueHandle held(OpenMutexW(SYNCHRONIZE, FALSE, (kUpdaterProofPrefix + token).c_str()));
    EXPECT_TRUE(held.Valid());
    EXPECT_FALSE(FileExists(spaced + L"\\update.exe"));
    EXPECT_FALSE(FileExists(spaced + L"\\update.json"));
    EXPECT_EQ(CountRequests("/updater.exe"), 1u);
}

TEST_F(Services, OnlyTheSignedVersionAddressAndBytesAreFetchedAndStarted) {
    const std::string updater = FakeUpdater();
    const std::string url = WideToUtf8(ServerUrl(L"/updater.exe"));
    const std::string hash = Sha256Hex(updater);
    const std::string expires = ExpiryFromNow();
    const std::string good = StatementSignature("1.0.0.2", url, hash, expires);
    const std::string expired = ExpiryFromNow(true);
    const std::string statementWithoutExpiry = "screenshot-update-1\n1.0.0.2\n" + url + "\n" + hash + "\n";
    struct Case {
        const char* what;
        std::string hash;
        std::string expires;
        std::string signature;
        bool fetched;
    };
    const Case cases[] = {
        {"good", hash, expires, good, true},
        {"no signature", hash, expires, "", false},
        {"signed for another version", hash, expires, StatementSignature("1.0.0.9", url, hash, expires), false},
        {"signed for another address", hash, expires, StatementSignature("1.0.0.2", url + "?v=1", hash, expires), false},
        {"signed for other bytes", hash, expires, StatementSignature("1.0.0.2", url, Sha256Hex("other"), expires), false},
        {"signed with another expiry", hash, expires, StatementSignature("1.0.0.2", url, hash, ExpiryFromNow(true)),
         false},
        {"signed, but expired", hash, expired, StatementSignature("1.0.0.2", url, hash, expired), false},
        {"the first form, signed without an expiry", hash, "", SignatureOf(statementWithoutExpiry), false},
        {"the first form beside an expiry", hash, expires, SignatureOf(statementWithoutExpiry), false},
        {"the oldest form: the updater's bytes signed", hash, expires, SignatureOf(updater), false},
        {"the oldest form, without a sha256", "", "", SignatureOf(updater), false},
        {"truncated", hash, expires, good.substr(0, good.size() - 8), false},
        {"not base64", hash, expires, "not a signature", false},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        Control(L"GET", L"/_control/reset");
        ServeManifestWith("1.0.0.2", url, c.hash, c.expires, c.signature);
        ServeUpdater(false);
        RunCheck(CheckIn(folder));
        // Nothing unsigned is even downloaded.
        EXPECT_EQ(CountRequests("/updater.exe"), c.fetched ? 1u : 0u) << c.what;
        EXPECT_EQ(FileExists(folder.File(L"updater_ran.txt")), c.fetched) << c.what;
        // Started or refused, nothing of the check stays behind.
        EXPECT_FALSE(FileExists(folder.File(L"update.exe"))) << c.what;
        EXPECT_FALSE(FileExists(folder.File(L"update.json"))) << c.what;
    }
    // A good statement checked against another real key, and a build without a key.
    for (const bool keyless : {false, true}) {
        TestFolder folder;
        Control(L"GET", L"/_control/reset");
        ServeManifest("1.0.0.2", url);
        ServeUpdater(false);
        UpdateCheckSettings settings = CheckIn(folder);
        settings.publicKey =
            keyless ? std::string()
                    : ParsePublicKeyHex(Control(L"GET", L"/_control/public_key?which=other")).value_or(std::string());
        ASSERT_EQ(settings.publicKey.size(), keyless ? 0u : 64u);
        RunCheck(settings);
        EXPECT_EQ(CountRequests("/updater.exe"), 0u) << keyless;
        EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt"))) << keyless;
    }
}

TEST_F(Services, AnUpdaterWhoseBytesDifferFromTheSignedHashIsNeverStarted) {
    // Larger than the pieces the hash reads (1 MiB), and differing only after the first: data
    // after a program's image is ignored by the loader, so both would run.
    const std::string signedBytes = FakeUpdater() + std::string(2u << 20, 'a');
    std::string served = signedBytes;
    served[served.size() - 1000] = 'b';
    for (const bool same : {true, false}) {
        TestFolder folder;
        Control(L"GET", L"/_control/reset");
        ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")), signedBytes);
        Control(L"POST", L"/_control/file?path=/updater.exe", same ? signedBytes : served);
        RunCheck(CheckIn(folder));
        EXPECT_EQ(CountRequests("/updater.exe"), 1u);
        EXPECT_EQ(FileExists(folder.File(L"updater_ran.txt")), same);
        EXPECT_FALSE(FileExists(folder.File(L"update.exe")));
    }
}

TEST_F(Services, AnUpdaterSwappedAfterItsCheckIsNeverTheOneStarted) {
    // Another program of the user's waits until the downloaded update.exe is complete and held
    // by its check, then rewrites it with its own the moment it can.
    const std::string genuineBytes = FakeUpdater();
    const std::string other = FileBytes(ExeFolder() + L"\\other_updater.exe");
    ASSERT_GT(other.size(), 1000u);
    int genuine = 0, swapped = 0, heldRounds = 0;
    for (int round = 0; round < 6; ++round) {
        TestFolder folder;
        Control(L"GET", L"/_control/reset");
        ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
        ServeUpdater(false);
        std::atomic<bool> done{false};
        std::atomic<int> swaps{0};
        bool armed = false;
        // Set when a write was refused while the check held the file: the download holds it
        // without letting anyone read, the check lets others read but not delete. (Wine's loader
        // holds a started program the same way, so there the write may also have come just
        // after the start; it came after the download either way.)
        std::atomic<bool> refusedDuringCheck{false};
        const std::wstring target = folder.File(L"update.exe");
        std::thread swapper([&] {
            while (!done && swaps == 0) {
                UniqueHandle file(CreateFileW(target.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
                if (!file) {
                    WIN32_FILE_ATTRIBUTE_DATA data{};
                    const bool refusedWhole = GetLastError() == ERROR_SHARING_VIOLATION &&
                                              GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data) &&
                                              data.nFileSizeLow == genuineBytes.size();
                    armed = armed || refusedWhole;
                    const auto opens = [&target](DWORD access) {
                        return UniqueHandle(CreateFileW(target.c_str(), access,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
                            .Valid();
                    };
                    if (refusedWhole && opens(GENERIC_READ) && !opens(DELETE)) refusedDuringCheck = true;
                    continue;
                }
                DWORD written = 0;
                if (armed && WriteFile(file.Get(), other.data(), static_cast<DWORD>(other.size()), &written, nullptr) &&
                    SetEndOfFile(file.Get())) {
                    ++swaps;
                }
            }
        });
        RunCheck(CheckIn(folder));
        done = true;
        swapper.join();
        heldRounds += refusedDuringCheck;
        const bool swappedRan = FileExists(folder.File(L"other_ran.txt"));
        EXPECT_FALSE(swappedRan) << "round " << round << ", swaps " << swaps;
        genuine += FileExists(folder.File(L"updater_ran.txt"));
        swapped += swappedRan;
    }
    // Rounds where the swap came before the check start nothing at all.
    std::printf("of 6 rounds, a swap was refused during the check in %d, the genuine updater ran in %d, the swapped one in %d\n",
                heldRounds, genuine, swapped);
    // In some round the swapper tried while the check held the file: a check that let it write
    // would never refuse it, and the rounds would prove nothing.
    EXPECT_GT(heldRounds, 0);
}

TEST_F(Services, AnUpdaterWhoseDownloadEndsAsTheProgramExitsIsNotStarted) {
    // The whole updater arrives, the server holds the connection a while before it ends the
    // body, and the program exits (its session cancelled) in between: the download then ends
    // without an error, and nothing may be started by a program that is going away.
    TestFolder folder;
    const std::string updater = FakeUpdater();
    ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
    Control(L"POST", L"/_control/file?path=/updater.exe&linger=3", updater);
    HttpSession session(UpdateSessionOptions());
    std::atomic<bool> checked{false}, cancelledWhole{false};
    std::thread exiting([&] {
        const std::wstring target = folder.File(L"update.exe");
        while (!checked) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            if (GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow == updater.size()) {
                session.Cancel();
                cancelledWhole = true;
                return;
            }
            Sleep(5);
        }
    });
    RunUpdateCheck(CheckIn(folder), session);
    checked = true;
    exiting.join();
    ASSERT_TRUE(cancelledWhole) << "the session was cancelled only once the whole updater had arrived";
    EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt")));
    EXPECT_FALSE(FileExists(folder.File(L"update.exe")));
}

TEST_F(Services, RedirectsAreFollowedOnlyToAddressesADownloadMayUse) {
    TestFolder folder;
    const std::wstring target = folder.File(L"got.bin");
    Control(L"POST", L"/_control/file?path=/moved/got.bin", "the body");
    // On this machine, by path or by whole address, each kind of redirect is followed.
    for (const int status : {301, 302, 303, 307, 308}) {
        DeleteFileW(target.c_str());
        const std::wstring code = std::to_wstring(status);
        Control(L"POST", L"/_control/file?path=/a" + code + L"&status=" + code + L"&location=/moved/got.bin");
        EXPECT_EQ(DownloadFile(ServerUrl(L"/a" + code), target), 0u) << status;
        EXPECT_EQ(FileBytes(target), "the body") << status;
    }
    Control(L"POST", (L"/_control/file?path=/b&status=307&location=" + ServerUrl(L"/moved/got.bin")).c_str());
    EXPECT_EQ(DownloadFile(ServerUrl(L"/b"), target), 0u);
    // A loop ends after a few hops.
    DeleteFileW(target.c_str());
    Control(L"POST", L"/_control/file?path=/loop&status=301&location=/loop");
    EXPECT_EQ(DownloadFile(ServerUrl(L"/loop"), target), DWORD{ERROR_WINHTTP_REDIRECT_FAILED});
    EXPECT_LE(CountRequests("/loop"), 6u);
    EXPECT_FALSE(FileExists(target));

    // To plain http on another host: never requested, for the manifest and for the updater. All
    // requests go to the test server as their proxy, so one to evil.example would be recorded.
    const std::string url = WideToUtf8(ServerUrl(L"/updater.exe"));
    for (const bool manifest : {true, false}) {
        Control(L"GET", L"/_control/reset");
        ServeManifest("1.0.0.2", url);
        const std::wstring moved = manifest ? L"/update/update.json" : L"/updater.exe";
        Control(L"POST", L"/_control/file?path=" + moved + L"&status=302&location=http://evil.example/x");
        HttpSession session = ProxiedUpdateSession();
        RunUpdateCheck(CheckIn(folder), session);
        for (const std::string& record : Records()) EXPECT_EQ(record.find("evil"), std::string::npos) << record;
        EXPECT_EQ(Records().size(), manifest ? 1u : 2u);
        EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt")));
        EXPECT_FALSE(FileExists(folder.File(L"update.exe")));
    }
}

TEST_F(Services, OlderOrEqualVersionDownloadsNothing) {
    TestFolder folder;
    ServeManifest("1.0.0.1", WideToUtf8(ServerUrl(L"/updater.exe")));
    ServeUpdater(false);
    RunCheck(CheckIn(folder, "1.0.0.1"));
    RunCheck(CheckIn(folder, "2.0.0.0"));
    EXPECT_EQ(CountRequests("/updater.exe"), 0u);
    EXPECT_EQ(CountRequests("/update/update.json"), 2u);
    EXPECT_TRUE(FileExists(folder.File(L"update.json")));  // the check stopped before clean-up
    EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt")));
}

TEST_F(Services, AManifestOver64KiBIsNotParsed) {
    // The same signed manifest, padded with spaces (still valid JSON) to 64 KiB and one byte more.
    for (const size_t size : {size_t{65536}, size_t{65537}}) {
        TestFolder folder;
        Control(L"GET", L"/_control/reset");
        ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")), FakeUpdater(), size);
        ServeUpdater(false);
        RunCheck(CheckIn(folder));
        const bool taken = size == 65536;
        EXPECT_EQ(CountRequests("/updater.exe"), taken ? 1u : 0u) << size;
        EXPECT_EQ(FileExists(folder.File(L"updater_ran.txt")), taken) << size;
        // The download itself stops at the limit: nothing over it is left on disk.
        EXPECT_FALSE(FileExists(folder.File(L"update.json"))) << size;
    }
}

TEST_F(Services, PlainHttpToThisMachineIsRequestedOnlyForATestsAddress) {
    // The program's own addresses: plain http is refused before any request, even to loopback.
    TestFolder folder;
    ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
    ServeUpdater(false);
    HttpSession session(UpdateSessionOptions());
    EXPECT_EQ(session.Download(ServerUrl(L"/updater.exe"), folder.File(L"got.exe"), kMaxUpdaterBytes,
                               PlainHttp::kRefused),
              DWORD{ERROR_ACCESS_DENIED});
    UpdateCheckSettings settings = CheckIn(folder);
    settings.plainHttp = PlainHttp::kRefused;
    RunUpdateCheck(settings, session);
    EXPECT_TRUE(Records().empty()) << testing::PrintToString(Records());
    EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt")));
}

TEST_F(Services, TruncatedUpdaterIsDeletedAndNeverStarted) {
    TestFolder folder;
    ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
    ServeUpdater(true);
    RunCheck(CheckIn(folder));
    EXPECT_EQ(CountRequests("/updater.exe"), 1u);
    EXPECT_FALSE(FileExists(folder.File(L"update.exe")));
    EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt")));
    EXPECT_TRUE(FileExists(folder.File(L"update.json")));
}

TEST_F(Services, UpdaterFromAPlainHttpHostIsRefused) {
    TestFolder folder;
    ServeManifest("1.0.0.2", "http://updates.example.com/updater.exe");
    RunCheck(CheckIn(folder));
    EXPECT_FALSE(FileExists(folder.File(L"update.exe")));
    EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt")));
    // Members of the wrong kind end the check just as quietly.
    Control(L"POST", L"/_control/file?path=/update/update.json", "{\"update_info\": {\"version\": 3}}");
    RunCheck(CheckIn(folder));
    EXPECT_FALSE(FileExists(folder.File(L"update.exe")));
}

TEST(Version, TextComesFromTheVersionResource) {
    std::wstring version;
    ASSERT_TRUE(GetExeVersionText(version));
    EXPECT_EQ(version, L"1.0.0.1");
}

TEST_F(Services, StartupReportsTheStartEventAndChecksForUpdates) {
    SetEnvironmentVariableW(L"SCREENSHOT_LOG_ENDPOINT", ServerUrl(L"").c_str());
    SetEnvironmentVariableW(L"SCREENSHOT_UPDATE_URL", ServerUrl(L"/update/update.json").c_str());
    AppServices services;
    services.Start(L"Screenshot.exe firstrun_after_update firstrun_after_setup");
    services.JoinUpdateCheck();
    ASSERT_TRUE(WaitFor([] {
        for (const std::string& r : Records()) {
            if (r.rfind("/logstores/", 0) == 0) return true;
        }
        return false;
    }));
    std::string track;
    for (const std::string& r : Records()) {
        if (r.rfind("/logstores/", 0) == 0) track = r;
    }
    const auto fields = Fields(track);
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[1].second, "first_run_after_setup");
    EXPECT_EQ(fields[3].second, "1.0.0.1");
    EXPECT_EQ(fields[4].second.size(), 36u);  // the machine code of this (test) user
    EXPECT_EQ(CountRequests("/update/update.json"), 1u);  // 404: nothing written beside the program
    EXPECT_FALSE(FileExists(ExeFolder() + L"\\update.json"));
    CEventTracker::Instance().Stop();
}

TEST_F(Services, UpdaterAddressWithAUserNamePartIsNeverRequestedNorStarted) {
    const std::string updater = FileBytes(ExeFolder() + L"\\fake_updater.exe");
    Control(L"POST", L"/_control/file?path=/update.exe", updater);
    for (const char* hostile : {"http://127.0.0.1:80@evil.example/update.exe",
                                "http://localhost:x@evil.example/update.exe",
                                "http://127.0.0.1#@evil.example/update.exe",
                                "http://127.0.0.1?@evil.example/update.exe"}) {
        Control(L"GET", L"/_control/reset");
        Control(L"POST", L"/_control/file?path=/update.exe", updater);
        TestFolder folder;
        const std::wstring target = folder.File(L"update.exe");
        HttpSession session = ProxiedUpdateSession();
        EXPECT_EQ(session.Download(Utf8ToWide(hostile), target, kMaxUpdaterBytes, PlainHttp::kLoopbackForTests),
                  DWORD{ERROR_ACCESS_DENIED})
            << hostile;
        EXPECT_FALSE(FileExists(target)) << hostile;
        EXPECT_TRUE(Records().empty()) << hostile << ": " << testing::PrintToString(Records());

        // The whole check: the manifest is fetched, the updater neither fetched nor started.
        ServeManifest("1.0.0.2", hostile);
        RunUpdateCheck(CheckIn(folder), session);
        EXPECT_EQ(Records().size(), 1u) << hostile << ": " << testing::PrintToString(Records());
        EXPECT_FALSE(FileExists(target)) << hostile;
        EXPECT_FALSE(FileExists(folder.File(L"updater_ran.txt"))) << hostile;
    }
}

TEST_F(Services, DownloadsStopAtTheirCapAndLeaveNoFile) {
    TestFolder folder;
    const std::wstring target = folder.File(L"big.bin");
    Control(L"POST", L"/_control/file?path=/endless.bin&endless=1");
    EXPECT_EQ(DownloadFile(ServerUrl(L"/endless.bin"), target, 1 << 20), DWORD{ERROR_FILE_TOO_LARGE});
    EXPECT_FALSE(FileExists(target));

    // An announced length over the cap is refused; one at the cap is fetched whole.
    Control(L"POST", L"/_control/file?path=/sized.bin&pad=2000", "x");
    EXPECT_EQ(DownloadFile(ServerUrl(L"/sized.bin"), target, 1999), DWORD{ERROR_FILE_TOO_LARGE});
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(DownloadFile(ServerUrl(L"/sized.bin"), target, 2000), 0u);
    EXPECT_EQ(FileBytes(target).size(), 2000u);

    // An endless manifest: the check ends without filling the disk.
    Control(L"POST", L"/_control/file?path=/update/update.json&endless=1");
    RunCheck(CheckIn(folder));
    EXPECT_FALSE(FileExists(folder.File(L"update.json")));
}

TEST_F(Services, CheckWithoutAProgramFolderRequestsAndWritesNothing) {
    ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
    ServeUpdater(false);
    UpdateCheckSettings settings;
    settings.manifestUrl = ServerUrl(L"/update/update.json");
    settings.versionKnown = true;
    settings.version = "1.0.0.1";
    RunCheck(settings);  // no folder
    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(FileExists(L"\\update.json"));
    EXPECT_FALSE(FileExists(L"\\update.exe"));
}

namespace {

// Runs stop, prints how long it took (for the record) and fails when it took 5 s or more: the
// bound catches a hang, not a slow run.
void ExpectPromptStop(const char* what, const wchar_t* part, const std::function<void()>& stop) {
    const DWORD start = GetTickCount();
    stop();
    const DWORD took = GetTickCount() - start;
    std::printf("%s with a server trickling its %ls: %lu ms\n", what, part, static_cast<unsigned long>(took));
    EXPECT_LT(took, 5000u) << what << " " << WideToUtf8(part);
}

}  // namespace

TEST_F(Services, StopReturnsPromptlyWhileTheServerTrickles) {
    SetEnvironmentVariableW(L"SCREENSHOT_LOG_ENDPOINT", ServerUrl(L"").c_str());
    SetEnvironmentVariableW(L"SCREENSHOT_UPDATE_URL", ServerUrl(L"/update/update.json").c_str());
    for (const wchar_t* part : {L"headers", L"body"}) {
        Control(L"GET", L"/_control/reset");
        ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
        Control(L"GET", std::wstring(L"/_control/trickle?part=") + part);
        const auto bothAsked = [] {
            bool track = false;
            bool manifest = false;
            for (const std::string& r : Records()) {
                track = track || r.rfind("/logstores/", 0) == 0;
                manifest = manifest || r == "/update/update.json";
            }
            return track && manifest;
        };
        {
            AppServices services;
            services.Start(L"Screenshot.exe");
            ASSERT_TRUE(WaitFor(bothAsked));
            Sleep(300);  // both are now waiting on the server
            ExpectPromptStop("AppServices::Stop", part, [&] { services.Stop(); });
        }
        // A manifest cut off by the exit is not left beside the program.
        EXPECT_TRUE(WaitFor([] { return !FileExists(ExeFolder() + L"\\update.json"); }, 5000));
        // The tracker alone, as a local object that ends while its sender may still be busy.
        Control(L"GET", L"/_control/reset");
        Control(L"GET", std::wstring(L"/_control/trickle?part=") + part);
        {
            CEventTracker tracker;
            tracker.Start(TestLogService(), L"m", L"v");
            tracker.Report(7);
            ASSERT_TRUE(WaitFor([] { return !Records().empty(); }));
            ExpectPromptStop("CEventTracker::Stop", part, [&] { tracker.Stop(); });
        }
    }
}

TEST_F(Services, CancelledSessionMakesNoMoreRequests) {
    TestFolder folder;
    ServeManifest("1.0.0.2", WideToUtf8(ServerUrl(L"/updater.exe")));
    HttpSession session(UpdateSessionOptions());
    session.Cancel();
    EXPECT_EQ(session.Download(ServerUrl(L"/update/update.json"), folder.File(L"update.json"), kMaxManifestBytes,
                               PlainHttp::kLoopbackForTests),
              DWORD{ERROR_WINHTTP_OPERATION_CANCELLED});
    HttpUrl track;
    track.secure = false;
    track.host = L"127.0.0.1";
    track.port = Port();
    track.object = L"/logstores/x/track";
    EXPECT_EQ(session.Get(track).error, DWORD{ERROR_WINHTTP_OPERATION_CANCELLED});
    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(FileExists(folder.File(L"update.json")));
}

TEST_F(Services, AnUpdaterThatTakesItsTimeIsNeverEnded) {
    const std::string slow = FileBytes(ExeFolder() + L"\\slow_updater.exe");
    ASSERT_GT(slow.size(), 1000u);
    const std::string url = WideToUtf8(ServerUrl(L"/updater.exe"));
    // Within the check's wait: the check waits for it to end, then cleans up.
    {
        TestFolder folder;
        ServeManifest("1.0.0.2", url, slow);
        Control(L"POST", L"/_control/file?path=/updater.exe", slow);
        RunCheck(CheckIn(folder));
        EXPECT_TRUE(FileExists(folder.File(L"slow_ran.txt")));
        EXPECT_FALSE(FileExists(folder.File(L"update.exe")));
    }
    // Beyond it: left running with its file, which a check meanwhile neither deletes nor
    // replaces, and which the first check after its end deletes.
    TestFolder folder;
    UpdateCheckSettings settings = CheckIn(folder);
    settings.updaterWaitMs = 500;
    RunCheck(settings);
    const std::wstring updater = folder.File(L"update.exe");
    EXPECT_FALSE(FileExists(folder.File(L"slow_ran.txt")));
    EXPECT_EQ(FileBytes(updater), slow);
    RunCheck(settings);
    EXPECT_EQ(FileBytes(updater), slow);
    EXPECT_EQ(CountRequests("/updater.exe"), 2u);  // the first case's download and the second's
    ASSERT_TRUE(WaitFor([&] { return FileExists(folder.File(L"slow_ran.txt")); }, 15000)) << "it was ended";
    // It has ended once its marker is closed; the system may take a moment to let go of its file.
    ASSERT_TRUE(WaitFor([&] {
        RunCheck(CheckIn(folder, "2.0.0.0"));
        return !FileExists(updater);
    }));
}

namespace {

// Counts the checks an UpdateScheduler runs, and the most that ever ran at once.
struct CheckCounter {
    std::atomic<int> started{0};
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    UpdateScheduler::Check Check(DWORD takesMs) {
        return [this, takesMs](const std::shared_ptr<HttpSession>& session) {
            ++started;
            most = std::max(most.load(), ++running);
            // A real request on the session the scheduler gives; the stop may cancel the last one.
            HttpUrl manifest{false, L"127.0.0.1", Port(), L"/update/update.json"};
            const HttpResponse response = session->Get(manifest);
            if (!session->Cancelled()) {
                EXPECT_EQ(response.status, 404u);
            }
            Sleep(takesMs);
            --running;
        };
    }
};

}  // namespace

TEST_F(Services, TheSchedulerChecksAtStartAfterAWakeAndOnItsInterval) {
    using std::chrono::milliseconds;
    {
        // The hour between checks holds back a wake right after the check at start.
        CheckCounter counter;
        UpdateScheduler scheduler;
        scheduler.Start(counter.Check(0));
        ASSERT_TRUE(scheduler.WaitIdle(milliseconds(10000)));
        scheduler.OnResume();
        EXPECT_TRUE(scheduler.WaitIdle(milliseconds(10000)));
        EXPECT_EQ(counter.started, 1);
    }
    {
        CheckCounter counter;
        UpdateScheduler scheduler;
        scheduler.Start(counter.Check(0), CheckSchedule(std::chrono::hours(24), milliseconds(0)));
        ASSERT_TRUE(scheduler.WaitIdle(milliseconds(10000)));
        scheduler.OnResume();
        ASSERT_TRUE(scheduler.WaitIdle(milliseconds(10000)));
        EXPECT_EQ(counter.started, 2);
        EXPECT_EQ(CountRequests("/update/update.json"), 3u);
    }
    // Short intervals and wakes during slow checks: they come again, one at a time.
    CheckCounter counter;
    UpdateScheduler scheduler;
    scheduler.Start(counter.Check(150), CheckSchedule(milliseconds(50), milliseconds(0)));
    ASSERT_TRUE(WaitFor([&] {
        scheduler.OnResume();
        return counter.started >= 5;
    }));
    scheduler.Stop(milliseconds(5000));
    EXPECT_EQ(counter.most, 1);
    EXPECT_EQ(counter.running, 0);
}

TEST_F(Services, WithoutTheSystemsAutomaticProxyTheUsersSettingsStillReachThisMachine) {
    // As before Windows 8.1: the proxy comes from the user's settings. Wine's say "automatically
    // detect", which finds no script here, so each request asks for its proxy and goes direct.
    TestFolder folder;
    Control(L"POST", L"/_control/file?path=/got.bin", "the body");
    HttpSessionOptions options = UpdateSessionOptions();
    options.withoutAutomaticProxy = true;
    HttpSession session(options);
    EXPECT_EQ(session.Download(ServerUrl(L"/got.bin"), folder.File(L"got.bin"), 100, PlainHttp::kLoopbackForTests), 0u);
    EXPECT_EQ(FileBytes(folder.File(L"got.bin")), "the body");
    HttpSessionOptions logOptions = LogSessionOptions();
    logOptions.withoutAutomaticProxy = true;
    HttpSession logSession(logOptions);
    EXPECT_TRUE(SendUsageRecord(logSession, TestLogService(), BuildUsageRecord(2, L"", 1, L"v", L"m")));
    EXPECT_EQ(Records().size(), 2u);
}
