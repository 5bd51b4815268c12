// GDI+ start-up and shut-down.
#include "platform/GdiplusSession.h"

#include "platform/Win32.h"

namespace vellicot {

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok)
        token_ = token;
}

GdiplusSession::~GdiplusSession() {
    if (token_ != 0)
        Gdiplus::GdiplusShutdown(token_);
}

}  // namespace vellicot
