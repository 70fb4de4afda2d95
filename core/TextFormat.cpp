// Size, date and colour-depth texts.
#include "core/TextFormat.h"

#include "core/FolderListing.h"
#include "core/StringUtil.h"

namespace {

// String-table ids of the size and date texts.
enum : UINT {
    IDS_SIZE_BYTES = 244,
    IDS_SIZE_KB = 245,
    IDS_SIZE_MB = 246,
    IDS_DOS_DATE_TIME = 247,
    IDS_SIZE_BYTES_SHORT = 249,
    IDS_SIZE_KB_SHORT = 250,
    IDS_SIZE_MB_SHORT = 251,
};

// The texts, loaded once per process.
struct SizeTexts {
    CString bytes, kb, mb, date, bytesShort, kbShort, mbShort;
    SizeTexts()
        : bytes(LoadStringOr(IDS_SIZE_BYTES, "%s octets (%s octets)")),
          kb(LoadStringOr(IDS_SIZE_KB, "%s Ko (%s octets)")),
          mb(LoadStringOr(IDS_SIZE_MB, "%s Mo (%s octets)")),
          date(LoadStringOr(IDS_DOS_DATE_TIME, "le %02d/%02d/%04d \xE0 %02d:%02d:%02d")),
          bytesShort(LoadStringOr(IDS_SIZE_BYTES_SHORT, "%s octets")),
          kbShort(LoadStringOr(IDS_SIZE_KB_SHORT, "%s Ko")), mbShort(LoadStringOr(IDS_SIZE_MB_SHORT, "%s Mo"))
    {}
};

const SizeTexts& Texts()
{
    static const SizeTexts texts;
    return texts;
}

enum class SizeUnit { Bytes, Kilo, Mega };

// The short value of a byte count, and the unit it is counted in.
CString ShortValue(DWORD bytes, SizeUnit* unit)
{
    CString text;
    if (bytes < 1024) {
        *unit = SizeUnit::Bytes;
        text.Format("%d", static_cast<int>(bytes));
        return text;
    }
    DWORD whole, fraction;
    if (bytes < 1048576) {
        *unit = SizeUnit::Kilo;
        whole = bytes >> 10;
        fraction = (bytes & 1023) / 10;
    } else {
        *unit = SizeUnit::Mega;
        whole = bytes >> 20;
        fraction = (bytes & 1048575) / 10240;
    }
    if (fraction > 99)
        fraction = 99;
    if (fraction == 0) {
        text.Format("%d", static_cast<int>(whole));
        return text;
    }
    text.Format("%d,%02d", static_cast<int>(whole), static_cast<int>(fraction));
    if (text.Right(1) == "0")
        text = text.Left(text.GetLength() - 1);
    return text;
}

// The count with a blank between groups of three digits from the right.
CString GroupedCount(DWORD bytes)
{
    CString digits;
    digits.Format("%u", static_cast<unsigned>(bytes));
    CString grouped;
    const int length = digits.GetLength();
    for (int i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            grouped += ' ';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace

CString FormatFileSize(DWORD bytes)
{
    SizeUnit unit;
    const CString value = ShortValue(bytes, &unit);
    const SizeTexts& t = Texts();
    const CString& format = unit == SizeUnit::Bytes ? t.bytes : unit == SizeUnit::Kilo ? t.kb : t.mb;
    CString text;
    text.Format(static_cast<LPCSTR>(format), value, GroupedCount(bytes));
    return text;
}

CString FormatFileSizeShort(DWORD bytes)
{
    SizeUnit unit;
    const CString value = ShortValue(bytes, &unit);
    const SizeTexts& t = Texts();
    const CString& format = unit == SizeUnit::Bytes  ? t.bytesShort
                            : unit == SizeUnit::Kilo ? t.kbShort
                                                     : t.mbShort;
    CString text;
    text.Format(static_cast<LPCSTR>(format), value);
    return text;
}

CString FormatDosDateTime(WORD date, WORD time)
{
    CString text;
    text.Format(static_cast<LPCSTR>(Texts().date), date & 0x1F, (date >> 5) & 0x0F, (date >> 9) + 1980,
                time >> 11, (time >> 5) & 0x3F, (time & 0x1F) * 2);
    return text;
}

void GetFileSizeAndDateText(const CString& path, CString* sizeText, CString* dateText)
{
    WIN32_FIND_DATAA found;
    if (!FindFolderEntry(path, found))
        return;
    if (sizeText != nullptr)
        *sizeText = FormatFileSize(found.nFileSizeLow);
    if (dateText != nullptr) {
        FILETIME local;
        WORD date = 0, time = 0;
        FileTimeToLocalFileTime(&found.ftLastWriteTime, &local);
        FileTimeToDosDateTime(&local, &date, &time);
        *dateText = FormatDosDateTime(date, time);
    }
}

CString FormatImageMemorySize(int width, int height, int bitsPerPixel)
{
    const ULONGLONG w = width > 0 ? static_cast<ULONGLONG>(width) : 0;
    const ULONGLONG h = height > 0 ? static_cast<ULONGLONG>(height) : 0;
    const ULONGLONG bits = bitsPerPixel > 0 ? static_cast<ULONGLONG>(bitsPerPixel) : 0;
    return FormatFileSize(static_cast<DWORD>(bits * (w * h) / 8));
}

LPCSTR FormatCurrentDateTime()
{
    static const char* const kDays[7] = {"Dimanche", "Lundi",    "Mardi", "Mercredi",
                                         "Jeudi",    "Vendredi", "Samedi"};
    static char buffer[64];
    SYSTEMTIME now;
    GetLocalTime(&now);
    wsprintfA(buffer, "%s %02d/%02d/%04d - %02d:%02d:%02d", kDays[now.wDayOfWeek % 7], now.wDay, now.wMonth,
              now.wYear, now.wHour, now.wMinute, now.wSecond);
    return buffer;
}

LPCSTR GetColorDepthName(int bits)
{
    struct DepthName {
        int bits;
        UINT id;
        LPCSTR builtIn;
    };
    static const DepthName kNames[7] = {
        {1, 55098, "Mono"},
        {4, 55099, "16 couleurs"},
        {8, 55100, "256 couleurs"},
        {15, 55144, "32768 colors"},
        {16, 55101, "65536 couleurs"},
        {24, 55102, "16,8M couleurs"},
        {32, 55145, "16,8M colors (24 bits)"},
    };
    // Seven 30-byte buffers, filled once (thread-safe) on first use.
    struct Buffers {
        char text[7][30];
        Buffers()
        {
            for (int i = 0; i < 7; ++i)
                CopyTextBounded(text[i], sizeof(text[i]), LoadStringOr(kNames[i].id, kNames[i].builtIn));
        }
    };
    static const Buffers buffers;
    for (int i = 0; i < 7; ++i) {
        if (kNames[i].bits == bits)
            return buffers.text[i];
    }
    return "?";
}

int ColorCountToBitCount(int colors)
{
    switch (colors) {
    case 0:
        return 24;
    case 2:
        return 1;
    case 16:
        return 4;
    case 256:
        return 8;
    default:
        return 4;
    }
}
