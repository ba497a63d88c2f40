// The services the program starts with and stops at exit: the event tracker's sender with the
// start event, and the update check on its own thread (at start, daily, and after a wake).
#pragma once

#include <string>

#include "update/update_scheduler.h"

class AppServices {
public:
    AppServices() = default;
    ~AppServices() { Stop(); }
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    // Configures the event tracker and starts its sender, reports the start event for the
    // command line, and starts the update checks on their own thread. Endpoints come from the
    // build and the environment (read here, once).
    void Start(const std::wstring& commandLine);
    // The computer woke from sleep: an update check is wanted. Called on the UI thread; never
    // waits.
    void OnResume();
    // Waits until no update check runs or is due (each of its network calls has a time limit).
    void JoinUpdateCheck();
    // Ends both services (as at exit): their requests are cancelled and each is waited for only
    // briefly, so a slow server cannot hold up the exit; a thread still busy then is let go.
    void Stop();

private:
    UpdateScheduler updates_;
};
