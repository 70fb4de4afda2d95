// The test runs' Windows environment is the one the program's texts and dates are written for.
#include <gtest/gtest.h>
#include <windows.h>

TEST(Environment, AnsiCodePageIsWesternEuropean) { EXPECT_EQ(GetACP(), 1252u); }

TEST(Environment, TimeZoneIsCentralEuropean)
{
    TIME_ZONE_INFORMATION tz;
    GetTimeZoneInformation(&tz);
    EXPECT_EQ(tz.Bias, -60); // UTC+1 in winter
}

TEST(Environment, DesktopHasADisplay)
{
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_GE(GetDeviceCaps(screen, BITSPIXEL), 16);
    ReleaseDC(nullptr, screen);
}
