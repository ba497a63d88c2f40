#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <set>
#include <stdexcept>
#include <vector>

#include "telemetry/event_queue.h"
#include "telemetry/log_request.h"
#include "http/endpoint.h"
#include "telemetry/usage_events.h"

TEST(UsageEvents, TableHasThirtySixNamedEvents) {
    std::set<std::string> names;
    for (int event = 0; event < 36; ++event) {
        ASSERT_NE(UsageEventName(event), nullptr) << event;
        names.insert(UsageEventName(event));
    }
    EXPECT_EQ(names.size(), 36u);
    EXPECT_STREQ(UsageEventName(2), "launch");
    EXPECT_STREQ(UsageEventName(5), "feedback_msg");
    EXPECT_STREQ(UsageEventName(23), "float_wnd_db_click_rectangular");
    EXPECT_STREQ(UsageEventName(35), "toolbar_btn_showpictop");
    EXPECT_EQ(UsageEventName(36), nullptr);
    EXPECT_EQ(UsageEventName(-1), nullptr);
}

TEST(UsageEvents, OnlyFiveEventsCarryData) {
    std::vector<int> carrying;
    for (int event = 0; event < 36; ++event) {
        if (UsageEventCarriesData(event)) carrying.push_back(event);
    }
    EXPECT_EQ(carrying, (std::vector<int>{5, 30, 32, 34, 35}));
    const UsageRecord withData = BuildUsageRecord(5, L"x", 1, L"v", L"m");
    const UsageRecord withoutData = BuildUsageRecord(6, L"x", 1, L"v", L"m");
    EXPECT_EQ(withData.at(L"data"), L"x");
    EXPECT_EQ(withoutData.count(L"data"), 0u);
}

TEST(UsageEvents, StartEventFromTheCommandLine) {
    EXPECT_EQ(StartEventFor(L"\"C:\\app\\Screenshot.exe\""), 2);
    EXPECT_EQ(StartEventFor(L"Screenshot.exe firstrun_after_update"), 1);
    EXPECT_EQ(StartEventFor(L"Screenshot.exe firstrun_after_setup"), 0);
    EXPECT_EQ(StartEventFor(L"x firstrun_after_update firstrun_after_setup"), 0);
    EXPECT_EQ(StartEventFor(L"x --firstrun_after_setupX"), 0);  // found anywhere
}

TEST(LogRequest, PathCarriesTheFieldsInNameOrder) {
    const UsageRecord record = BuildUsageRecord(2, L"ignored", 1700000000, L"1.0.0.1", L"");
    EXPECT_EQ(BuildTrackPath(L"logstore-0627", record),
              L"/logstores/logstore-0627/track?APIVersion=0.6.0&event_name=launch&event_time=1700000000"
              L"&exeCurrVersion=1.0.0.1&machine_code=");
    const UsageRecord feedback = BuildUsageRecord(5, L"ok", -5, L"1.0.0.1", L"ab-cd");
    EXPECT_EQ(BuildTrackPath(L"logstore-0627", feedback),
              L"/logstores/logstore-0627/track?APIVersion=0.6.0&data=ok&event_name=feedback_msg"
              L"&event_time=-5&exeCurrVersion=1.0.0.1&machine_code=ab-cd");
}

TEST(LogRequest, ValuesArePercentEncodedUtf8) {
    const UsageRecord record = BuildUsageRecord(5, L"a&b=c #1 \x4F60\x597D", 0, L"", L"");
    const std::wstring path = BuildTrackPath(L"logstore-0627", record);
    EXPECT_NE(path.find(L"&data=a%26b%3Dc%20%231%20%E4%BD%A0%E5%A5%BD&"), std::wstring::npos) << path.size();
    EXPECT_EQ(PercentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(PercentEncode("/?+%\n"), "%2F%3F%2B%25%0A");
    EXPECT_EQ(PercentEncode("\xF0\x9F\x98\x80"), "%F0%9F%98%80");
}

TEST(LogRequest, EndpointsAndLoopback) {
    auto local = ParseEndpoint(L"http://127.0.0.1:8081");
    ASSERT_TRUE(local);
    EXPECT_FALSE(local->secure);
    EXPECT_EQ(local->host, L"127.0.0.1");
    EXPECT_EQ(local->port, 8081u);
    auto secure = ParseEndpoint(L"https://log.example.com/");
    ASSERT_TRUE(secure);
    EXPECT_TRUE(secure->secure);
    EXPECT_EQ(secure->port, 443u);
    for (const wchar_t* bad : {L"ftp://x", L"http://", L"http://h:0", L"http://h:99999", L"http://h:12a",
                               L"http://h/path", L"127.0.0.1:80", L""}) {
        EXPECT_FALSE(ParseEndpoint(bad)) << testing::PrintToString(std::wstring(bad));
    }
    EXPECT_TRUE(IsLoopbackHost(L"127.0.0.1"));
    EXPECT_TRUE(IsLoopbackHost(L"127.255.0.9"));
    EXPECT_TRUE(IsLoopbackHost(L"localhost"));
    for (const wchar_t* remote : {L"127.0.0.1.evil.com", L"127.0.0", L"10.0.0.1", L"127.0.0.256",
                                  L"localhost.com", L"128.0.0.1", L""}) {
        EXPECT_FALSE(IsLoopbackHost(remote)) << testing::PrintToString(std::wstring(remote));
    }
}

namespace {

// Collects what the sender thread was given.
struct Collected {
    std::mutex mutex;
    std::vector<QueuedEvent> events;
    std::promise<void> enough;
    size_t want = 0;

    void Add(const QueuedEvent& e) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(e);
        if (events.size() == want) enough.set_value();
    }
};

}  // namespace

TEST(EventQueue, SendsEventsInOrderAndDropsNonEvents) {
    Collected got;
    got.want = 3;
    EventQueue queue;
    queue.Start([&](const QueuedEvent& e) { got.Add(e); });
    queue.Push(7, L"");
    queue.Push(36, L"not an event");
    queue.Push(5, L"text");
    queue.Push(-1, L"");
    queue.Push(20, L"");
    ASSERT_EQ(got.enough.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    queue.Stop();
    ASSERT_EQ(got.events.size(), 3u);
    EXPECT_EQ(got.events[0].event, 7);
    EXPECT_EQ(got.events[1].event, 5);
    EXPECT_EQ(got.events[1].data, L"text");
    EXPECT_EQ(got.events[2].event, 20);
}

TEST(EventQueue, SurvivesASenderThatThrows) {
    Collected got;
    got.want = 2;
    EventQueue queue;
    queue.Start([&](const QueuedEvent& e) {
        if (e.event == 2) throw std::runtime_error("Failed to initialize WinHTTP session");
        got.Add(e);
    });
    queue.Push(6, L"");
    queue.Push(2, L"");
    queue.Push(8, L"");
    ASSERT_EQ(got.enough.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(got.events[1].event, 8);
}

TEST(EventQueue, StopReturnsPromptlyAndDropsTheQueue) {
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> sent{0};
    EventQueue queue;
    queue.Start([&](const QueuedEvent&) {
        if (sent++ == 0) {
            entered.set_value();
            released.wait();  // the first event is "on the network"
        }
    });
    queue.Push(6, L"");
    ASSERT_EQ(entered.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    for (int i = 0; i < 50; ++i) queue.Push(7, L"");
    EXPECT_EQ(queue.Pending(), 50u);
    auto stopping = std::async(std::launch::async, [&] { queue.Stop(); });
    // Stop waits for the event being sent, and only for it.
    EXPECT_EQ(stopping.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    release.set_value();
    EXPECT_EQ(stopping.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(sent.load(), 1);
    EXPECT_EQ(queue.Pending(), 0u);
}

TEST(EventQueue, RestartKeepsTheQueuedEvents) {
    Collected got;
    got.want = 2;
    EventQueue queue;
    std::promise<void> first;
    queue.Start([&](const QueuedEvent&) { first.set_value(); });
    queue.Push(6, L"");
    first.get_future().wait();
    queue.Start([&](const QueuedEvent& e) { got.Add(e); });
    queue.Push(9, L"");
    queue.Push(10, L"");
    ASSERT_EQ(got.enough.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(got.events[0].event, 9);
}
