// One running copy of the program: the first start holds a named mutex; a later start brings the
// first one's main window to the front and ends.
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

class SingleInstance {
public:
    // Creates (and owns) the program's mutex.
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when the mutex could not be made at all.
    bool Valid() const { return mutex_.Valid(); }
    // True when another instance already held the mutex.
    bool AnotherRuns() const { return another_; }
    // Asks the main window titled title, if one is found, to show itself in front. Never waits
    // for it: the first copy may be busy with a capture, and shows itself once it is done.
    static void ActivateExisting(const wchar_t* title);

private:
    UniqueHandle mutex_;
    bool another_ = false;
};
