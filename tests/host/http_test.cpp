#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>

#include "http/http_url.h"
#include "http/user_proxy.h"
#include "http/worker_thread.h"
#include "telemetry/event_queue.h"

using namespace std::chrono_literals;

TEST(HttpUrl, SplitsSchemeHostPortAndObject) {
    auto local = ParseHttpUrl(L"http://127.0.0.1:8082/updater.exe?sig=a%2Fb&x=1");
    ASSERT_TRUE(local);
    EXPECT_FALSE(local->secure);
    EXPECT_EQ(local->host, L"127.0.0.1");
    EXPECT_EQ(local->port, 8082u);
    EXPECT_EQ(local->object, L"/updater.exe?sig=a%2Fb&x=1");
    auto bare = ParseHttpUrl(L"https://updates.example.com");
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->secure);
    EXPECT_EQ(bare->port, 443u);
    EXPECT_EQ(bare->object, L"/");
    auto query = ParseHttpUrl(L"https://h.example?x=1");
    ASSERT_TRUE(query);
    EXPECT_EQ(query->host, L"h.example");
    EXPECT_EQ(query->object, L"/?x=1");
}

TEST(HttpUrl, RefusesWhatAnotherReaderCouldSplitDifferently) {
    for (const wchar_t* bad : {L"http://127.0.0.1:80@evil.example/update.exe",
                               L"http://localhost:x@evil.example/update.exe",
                               L"http://127.0.0.1#@evil.example/update.exe",
                               L"http://127.0.0.1?@evil.example/update.exe", L"https://user@h.example/u.exe",
                               L"http://127.0.0.1\\@evil.example/u.exe", L"http://127.0.0.1 /u.exe",
                               L"http://127.0.0.1/u.exe#part", L"http://127.0.0.1\t/u.exe",
                               L"http://127.0.0.1:/u.exe", L"http://127.0.0.1:99999/u.exe",
                               L"HTTP://127.0.0.1/u.exe", L"ftp://h/u.exe", L"http://", L"//h/u.exe",
                               L"http://h\x00e9.example/u.exe", L""}) {
        EXPECT_FALSE(ParseHttpUrl(bad)) << testing::PrintToString(std::wstring(bad));
    }
}

TEST(HttpUrl, DownloadsTrustHttpsOrThisMachineForTestsOnlyAndNeverCredentials) {
    HttpUrl url;
    url.secure = true;
    url.host = L"updates.example.com";
    EXPECT_TRUE(IsTrustedDownloadTarget(url, PlainHttp::kRefused));
    url.hasCredentials = true;
    EXPECT_FALSE(IsTrustedDownloadTarget(url, PlainHttp::kLoopbackForTests));
    url.hasCredentials = false;
    url.secure = false;
    EXPECT_FALSE(IsTrustedDownloadTarget(url, PlainHttp::kLoopbackForTests));
    url.host = L"127.0.0.1";
    EXPECT_TRUE(IsTrustedDownloadTarget(url, PlainHttp::kLoopbackForTests));
    // The program's own addresses never allow plain http, not even to this machine.
    EXPECT_FALSE(IsTrustedDownloadTarget(url, PlainHttp::kRefused));
    url.hasCredentials = true;
    EXPECT_FALSE(IsTrustedDownloadTarget(url, PlainHttp::kLoopbackForTests));

    HttpUrl other = url;
    EXPECT_TRUE(SameTarget(url, other));
    other.host = L"evil.example";
    EXPECT_FALSE(SameTarget(url, other));
    other = url;
    other.port = 80;
    url.port = 8080;
    EXPECT_FALSE(SameTarget(url, other));
}

TEST(HttpUrl, RedirectsLeadToAbsoluteAddressesOrPathsOnTheSameOrigin) {
    const HttpUrl local = *ParseHttpUrl(L"http://127.0.0.1:8082/update/update.json");
    EXPECT_EQ(RedirectTarget(local, L"/files/u.exe?x=1"), std::optional<std::wstring>(L"http://127.0.0.1:8082/files/u.exe?x=1"));
    EXPECT_EQ(RedirectTarget(local, L"http://evil.example/u.exe"),
              std::optional<std::wstring>(L"http://evil.example/u.exe"));  // checked by the caller like any address
    const HttpUrl secure = *ParseHttpUrl(L"https://updates.example.com/u");
    EXPECT_EQ(RedirectTarget(secure, L"/v2/u.exe"), std::optional<std::wstring>(L"https://updates.example.com/v2/u.exe"));
    const HttpUrl odd = *ParseHttpUrl(L"https://h.example:8443/u");
    EXPECT_EQ(RedirectTarget(odd, L"/a"), std::optional<std::wstring>(L"https://h.example:8443/a"));
    for (const wchar_t* unclear : {L"", L"u.exe", L"../u.exe", L"//evil.example/u.exe", L"ftp://h/u.exe"}) {
        EXPECT_FALSE(RedirectTarget(local, unclear)) << testing::PrintToString(std::wstring(unclear));
    }
}

TEST(HttpUrl, RedirectsNeverLeaveHttpsForPlainHttp) {
    const HttpUrl secure = *ParseHttpUrl(L"https://updates.example.com/u.exe");
    const HttpUrl local = *ParseHttpUrl(L"http://127.0.0.1:8082/update/update.json");
    for (const PlainHttp plain : {PlainHttp::kRefused, PlainHttp::kLoopbackForTests}) {
        EXPECT_TRUE(MayFollowRedirect(secure, *ParseHttpUrl(L"https://cdn.example.net/u.exe"), plain));
        // Services on this machine's ports, reached through a redirect from https.
        for (const wchar_t* plainTo : {L"http://127.0.0.1:631/admin", L"http://localhost:5985/wsman",
                                       L"http://127.0.0.1:8082/updater.exe", L"http://updates.example.com/u.exe"}) {
            EXPECT_FALSE(MayFollowRedirect(secure, *ParseHttpUrl(plainTo), plain)) << testing::PrintToString(plainTo);
        }
        EXPECT_FALSE(MayFollowRedirect(local, *ParseHttpUrl(L"http://evil.example/u.exe"), plain));
    }
    // A test's server on this machine may move a file within this machine, or to https.
    EXPECT_TRUE(MayFollowRedirect(local, *ParseHttpUrl(L"http://127.0.0.1:8082/moved"), PlainHttp::kLoopbackForTests));
    EXPECT_TRUE(MayFollowRedirect(local, secure, PlainHttp::kLoopbackForTests));
    EXPECT_FALSE(MayFollowRedirect(local, *ParseHttpUrl(L"http://127.0.0.1:8082/moved"), PlainHttp::kRefused));
}

TEST(WorkerThread, JoinsABodyThatEndsAndSwallowsWhatItThrows) {
    WorkerThread worker;
    EXPECT_TRUE(worker.Join(10ms));  // nothing started
    std::atomic<bool> ran{false};
    worker.Start([&] { ran = true; });
    EXPECT_TRUE(worker.Join(5s));
    EXPECT_TRUE(ran.load());
    EXPECT_FALSE(worker.Running());
    worker.Start([] { throw std::runtime_error("no network"); });
    EXPECT_TRUE(worker.Join(5s));
}

TEST(WorkerThread, LetsAStuckBodyGoWithoutWaitingForIt) {
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> ended = finished->get_future();
    {
        WorkerThread worker;
        worker.Start([released, finished] {
            released.wait();
            finished->set_value();
        });
        EXPECT_TRUE(worker.Running());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(worker.Join(100ms));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);  // not the body's own time
        EXPECT_FALSE(worker.Running());
    }
    // The owner is gone; the body still ends normally (the sanitizers catch a touch of freed state).
    release->set_value();
    EXPECT_EQ(ended.wait_for(5s), std::future_status::ready);
}

TEST(EventQueue, StopLetsAStuckSenderGoAndItSendsNothingMore) {
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    auto entered = std::make_shared<std::promise<void>>();
    auto sent = std::make_shared<std::atomic<int>>(0);
    {
        EventQueue queue;
        queue.Start([released, entered, sent](const QueuedEvent&) {
            if ((*sent)++ == 0) {
                entered->set_value();
                released.wait();  // a request the server never finishes
            }
        });
        queue.Push(6, L"");
        ASSERT_EQ(entered->get_future().wait_for(5s), std::future_status::ready);
        queue.Push(7, L"");
        queue.Push(8, L"");
        auto stopping = std::async(std::launch::async, [&] { return queue.Stop(200ms); });
        ASSERT_EQ(stopping.wait_for(5s), std::future_status::ready);
        EXPECT_FALSE(stopping.get());
        EXPECT_EQ(queue.Pending(), 0u);
    }
    release->set_value();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(sent->load(), 1);
}

TEST(UserProxy, DetectionOrAScriptAsksPerAddressOverTheFixedProxyOrDirect) {
    UserProxySettings both;
    both.autoDetect = true;
    both.autoConfigUrl = L"http://wpad.corp/proxy.pac";
    both.proxy = L"proxy.corp:8080";
    both.bypass = L"<local>";
    const UserProxyPlan plan = PlanUserProxy(both);
    EXPECT_TRUE(plan.askPerAddress);
    EXPECT_TRUE(plan.autoDetect);
    EXPECT_EQ(plan.autoConfigUrl, L"http://wpad.corp/proxy.pac");
    EXPECT_TRUE(plan.named);  // where the script gives no answer
    EXPECT_EQ(plan.proxy, L"proxy.corp:8080");
    EXPECT_EQ(plan.bypass, L"<local>");

    UserProxySettings script;
    script.autoConfigUrl = L"http://wpad.corp/proxy.pac";
    EXPECT_TRUE(PlanUserProxy(script).askPerAddress);
    EXPECT_FALSE(PlanUserProxy(script).named);  // direct where the script gives no answer
}

TEST(UserProxy, AFixedProxyAloneOrNothingNeedsNoQuestion) {
    UserProxySettings fixed;
    fixed.proxy = L"http=a:80;https=b:443";
    EXPECT_FALSE(PlanUserProxy(fixed).askPerAddress);
    EXPECT_TRUE(PlanUserProxy(fixed).named);
    UserProxySettings bypassOnly;
    bypassOnly.bypass = L"<local>";
    const UserProxyPlan direct = PlanUserProxy(bypassOnly);
    EXPECT_FALSE(direct.askPerAddress);
    EXPECT_FALSE(direct.named);
    EXPECT_TRUE(direct.bypass.empty());
}
