// GDI+ for the lifetime of an object: started by the constructor, shut down by the destructor.
// A program keeps one alive around everything that draws with GDI+ or encodes pictures.
#pragma once

#include <cstdint>

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    // False when GDI+ could not be started (nothing drawn with it will appear).
    bool Started() const { return token_ != 0; }

private:
    uintptr_t token_ = 0;
};
