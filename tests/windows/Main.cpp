// The Windows tests' entry point: GDI+ runs for the whole test program, as it does for Vellicot.
#include <gtest/gtest.h>

#include "platform/GdiplusSession.h"

int wmain(int argc, wchar_t** argv) {
    vellicot::GdiplusSession gdiplus;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
