// Size, date and colour-depth texts in French.
#include <gtest/gtest.h>

#include <string>

#include "core/TextFormat.h"
#include "tests/support/TestPaths.h"

namespace {

std::string S(const CString& s) { return s.Str(); }

// A file whose last write is the given local time. The conversion uses the zone's present offset,
// as the system's own conversions do, so the round trip holds in summer and in winter.
void WriteFileAt(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                 WORD second)
{
    ASSERT_TRUE(testpaths::WriteBytes(path, std::string(2500, 'x')));
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    FILETIME local, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &local));
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &utc));
    CloseHandle(h);
}

// Minutes east of UTC right now.
int ZoneOffsetNow()
{
    TIME_ZONE_INFORMATION tz;
    const DWORD id = GetTimeZoneInformation(&tz);
    return -(int(tz.Bias) + (id == TIME_ZONE_ID_DAYLIGHT ? int(tz.DaylightBias) : int(tz.StandardBias)));
}

} // namespace

TEST(FormatFileSize, BytesKilobytesAndMegabytes)
{
    EXPECT_EQ(S(FormatFileSize(0)), "0 octets (0 octets)");
    EXPECT_EQ(S(FormatFileSize(1023)), "1023 octets (1 023 octets)");
    EXPECT_EQ(S(FormatFileSize(1024)), "1 Ko (1 024 octets)");
    EXPECT_EQ(S(FormatFileSize(1536)), "1,51 Ko (1 536 octets)");
    EXPECT_EQ(S(FormatFileSize(1524)), "1,5 Ko (1 524 octets)");
    EXPECT_EQ(S(FormatFileSize(1124)), "1,1 Ko (1 124 octets)");
    EXPECT_EQ(S(FormatFileSize(1074)), "1,05 Ko (1 074 octets)");
    EXPECT_EQ(S(FormatFileSize(2047)), "1,99 Ko (2 047 octets)");
    EXPECT_EQ(S(FormatFileSize(10240)), "10 Ko (10 240 octets)");
    EXPECT_EQ(S(FormatFileSize(1048575)), "1023,99 Ko (1 048 575 octets)");
    EXPECT_EQ(S(FormatFileSize(1048576)), "1 Mo (1 048 576 octets)");
    EXPECT_EQ(S(FormatFileSize(5767168)), "5,51 Mo (5 767 168 octets)");
    EXPECT_EQ(S(FormatFileSize(123)), "123 octets (123 octets)");
    EXPECT_EQ(S(FormatFileSize(0xFFFFFFFFu)), "4095,99 Mo (4 294 967 295 octets)");
}

TEST(FormatFileSize, ShortFormHasNoExactCount)
{
    EXPECT_EQ(S(FormatFileSizeShort(0)), "0 octets");
    EXPECT_EQ(S(FormatFileSizeShort(1023)), "1023 octets");
    EXPECT_EQ(S(FormatFileSizeShort(1524)), "1,5 Ko");
    EXPECT_EQ(S(FormatFileSizeShort(1048576)), "1 Mo");
    EXPECT_EQ(S(FormatFileSizeShort(5767168)), "5,51 Mo");
}

TEST(FormatImageMemorySize, BitsTimesPixelsOverEight)
{
    EXPECT_EQ(S(FormatImageMemorySize(100, 100, 24)), "29,3 Ko (30 000 octets)");
    EXPECT_EQ(S(FormatImageMemorySize(3, 1, 1)), "0 octets (0 octets)");
    // 70000 x 70000 x 4 bytes wraps to its low 32 bits instead of failing.
    EXPECT_EQ(S(FormatImageMemorySize(70000, 70000, 32)), S(FormatFileSize(2420130816u)));
    EXPECT_EQ(S(FormatImageMemorySize(-5, 10, 24)), "0 octets (0 octets)");
}

TEST(FormatDosDateTime, DayMonthYearAndTwoSecondSteps)
{
    EXPECT_EQ(S(FormatDosDateTime(0x2B21, 0x6000)), "le 01/09/2001 \xE0 12:00:00");
    // 31/12/2107 23:59:58, the last DOS moment.
    const WORD date = WORD((127 << 9) | (12 << 5) | 31);
    const WORD time = WORD((23 << 11) | (59 << 5) | 29);
    EXPECT_EQ(S(FormatDosDateTime(date, time)), "le 31/12/2107 \xE0 23:59:58");
}

TEST(GetFileSizeAndDateText, SizeAndLocalTimeOfTheLastWrite)
{
    testpaths::TempDir dir;
    const std::string path = dir.File("photo.jpg");
    // The test runs in Paris time: one or two hours east of UTC.
    EXPECT_TRUE(ZoneOffsetNow() == 60 || ZoneOffsetNow() == 120) << ZoneOffsetNow();
    WriteFileAt(path, 2001, 9, 1, 12, 0, 0);
    CString size = "avant", date = "avant";
    GetFileSizeAndDateText(path.c_str(), &size, &date);
    EXPECT_EQ(S(size), "2,45 Ko (2 500 octets)");
    EXPECT_EQ(S(date), "le 01/09/2001 \xE0 12:00:00");
    WriteFileAt(path, 2002, 1, 15, 23, 30, 4);
    GetFileSizeAndDateText(path.c_str(), &size, &date);
    EXPECT_EQ(S(date), "le 15/01/2002 \xE0 23:30:04");
}

TEST(GetFileSizeAndDateText, MissingFileLeavesBothTexts)
{
    testpaths::TempDir dir;
    CString size = "taille", date = "date";
    GetFileSizeAndDateText(dir.File("absent.bmp").c_str(), &size, &date);
    EXPECT_EQ(S(size), "taille");
    EXPECT_EQ(S(date), "date");
}

TEST(FormatCurrentDateTime, FrenchWeekdayAndLocalDate)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    const std::string text = FormatCurrentDateTime();
    static const char* const days[7] = {"Dimanche", "Lundi",    "Mardi", "Mercredi",
                                        "Jeudi",    "Vendredi", "Samedi"};
    char date[32];
    wsprintfA(date, " %02d/%02d/%04d - ", before.wDay, before.wMonth, before.wYear);
    EXPECT_EQ(text.rfind(days[before.wDayOfWeek], 0), 0u) << text;
    EXPECT_NE(text.find(date), std::string::npos) << text;
    EXPECT_EQ(text.size(), strlen(days[before.wDayOfWeek]) + 22) << text;
}

TEST(ColorDepthText, NamesOfTheKnownDepths)
{
    EXPECT_STREQ(GetColorDepthName(1), "Mono");
    EXPECT_STREQ(GetColorDepthName(4), "16 couleurs");
    EXPECT_STREQ(GetColorDepthName(8), "256 couleurs");
    EXPECT_STREQ(GetColorDepthName(15), "32768 colors");
    EXPECT_STREQ(GetColorDepthName(16), "65536 couleurs");
    EXPECT_STREQ(GetColorDepthName(24), "16,8M couleurs");
    EXPECT_STREQ(GetColorDepthName(32), "16,8M colors (24 bits)");
    EXPECT_STREQ(GetColorDepthName(2), "?");
    EXPECT_STREQ(GetColorDepthName(0), "?");
    // The same buffer every time.
    EXPECT_EQ(GetColorDepthName(8), GetColorDepthName(8));
}

TEST(ColorDepthText, ColourCountToBitCount)
{
    EXPECT_EQ(ColorCountToBitCount(0), 24);
    EXPECT_EQ(ColorCountToBitCount(2), 1);
    EXPECT_EQ(ColorCountToBitCount(16), 4);
    EXPECT_EQ(ColorCountToBitCount(256), 8);
    EXPECT_EQ(ColorCountToBitCount(65536), 4);
}
