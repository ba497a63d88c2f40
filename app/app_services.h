// The services the program starts with and stops at exit: the event tracker's sender with the
// start event, and the update check on its own thread.
#pragma once

#include <memory>
#include <string>

#include "http/worker_thread.h"

class HttpSession;

class AppServices {
public:
    AppServices() = default;
    ~AppServices() { Stop(); }
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    // Configures the event tracker and starts its sender, reports the start event for the
    // command line, and starts the update check on its own thread. Endpoints come from the
    // build and the environment (read here, once).
    void Start(const std::wstring& commandLine);
    // Waits for the update check to end (each of its network calls has a time limit).
    void JoinUpdateCheck();
    // Ends both services (as at exit): their requests are cancelled and each is waited for only
    // briefly, so a slow server cannot hold up the exit; a thread still busy then is let go.
    void Stop();

private:
    std::shared_ptr<HttpSession> updateSession_;
    WorkerThread updateCheck_;
};
