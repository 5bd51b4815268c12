// GDI+ started once for the process and shut down when the session object ends.
#pragma once

#include <cstdint>

namespace vellicot {

class GdiplusSession {
public:
    GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession();

private:
    std::uintptr_t token_ = 0;
};

}  // namespace vellicot
