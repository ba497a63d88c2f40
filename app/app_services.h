// The services the program starts with and stops at exit: the event tracker's sender with the
// start event, and the update check on its own thread.
#pragma once

#include <string>
#include <thread>

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
    // Waits for the update check to end.
    void JoinUpdateCheck();
    // Ends both services (as at exit).
    void Stop();

private:
    std::thread updateCheck_;
};
