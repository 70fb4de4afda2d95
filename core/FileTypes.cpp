// File-type classification by extension.
#include "core/FileTypes.h"

#include "framework/String.h"

#include <cstring>

namespace {

struct ExtensionEntry {
    const char* extension;
    int code;
};

// Tested in this order; RLE stands twice, both give BMP.
const ExtensionEntry kExtensions[] = {
    {"DEL", 100},  {"ZSV", 30},  {"BMP", 5},    {"ICO", 10},  {"CUR", 6},   {"ANI", 2},   {"DIB", 5},
    {"RLE", 5},    {"HTM", 48},  {"HTML", 48},  {"HTX", 48},  {"ASP", 49},  {"ALX", 48},  {"STM", 48},
    {"SHTML", 48}, {"SHTM", 48}, {"DHTML", 48}, {"GIF", 9},   {"JPG", 12},  {"JPE", 12},  {"JPEG", 12},
    {"PICT", 21},  {"FPX", 37},  {"FPIX", 37},  {"PIC", 21},  {"QTI", 38},  {"QTIF", 38}, {"PSD", 36},
    {"PCT", 21},   {"ZCB", 40},  {"ZIB", 39},   {"PCD", 19},  {"WMF", 33},  {"PNG", 22},  {"PCX", 20},
    {"RLE", 5},    {"TGA", 31},  {"TIF", 32},   {"TIFF", 32}, {"LBM", 13},  {"IFF", 11},  {"AVI", 4},
    {"ASF", 3},    {"ASX", 3},   {"MOV", 16},   {"QT", 23},   {"MPG", 18},  {"MP3", 17},  {"MP2", 17},
    {"MPEG", 18},  {"FLI", 8},   {"FLC", 7},    {"WAV", 34},  {"MID", 14},  {"MIDI", 14}, {"MOD", 15},
    {"S3M", 28},   {"XM", 35},   {"RM", 26},    {"RA", 24},   {"RT", 27},   {"RAM", 25},  {"SMI", 29},
    {"SND", 41},   {"AU", 42},   {"AIF", 43},   {"AIFC", 43}, {"AIFF", 43}, {"WM", 44},   {"WMA", 45},
    {"WMV", 46},   {"RMI", 47},  {"SWF", 50},
};

struct TypeEntry {
    int category;
    UINT stringId;
    const char* text; // Windows-1252
};

const UINT kUndefinedId = 55014;
const char kUndefinedText[] = "(ind\xE9"
                              "fini)";

// Indexed by code 0..50; code 1 is unused and reads as unknown.
const TypeEntry kTypes[51] = {
    {-1, kUndefinedId, kUndefinedText},
    {-1, kUndefinedId, kUndefinedText},
    {10, 55504, "Fichier Curseur Anim\xE9 Windows"},
    {4, 55505, "Clip Vid\xE9o ASF Microsoft"},
    {4, 55508, "Video Clip Microsoft AVI"},
    {2, 361, "Image Windows BMP"},
    {10, 55510, "Fichier Curseur Fixe Windows"},
    {3, 55511,
     "Sequence Anim\xE9"
     "e Autodesk Animator"},
    {3, 55512,
     "Sequence Anim\xE9"
     "e Autodesk Animator"},
    {2, 369, "Image CompuServe GIF"},
    {9, 55517, "Fichier Ic\xF4ne Windows"},
    {2, 371, "Image Amiga IFF/ILBM"},
    {2, 362, "Image JPEG"},
    {2, 55520, "Image Amiga ILBM"},
    {5, 55521, "S\xE9quence Musicale MIDI"},
    {5, 55522, "Module Musical MOD"},
    {7, 55523, "Video Clip Apple QuickTime"},
    {5, 55524, "Chanson MPEG (Layer 3)"},
    {4, 55525, "Video Clip MPEG"},
    {2, 363, "Image Kodak PhotoCD"},
    {2, 364, "Image ZSoft PaintBrush PCX"},
    {2, 365, "Image Apple PICT"},
    {2, 366, "Image PNG"},
    {7, 55523, "Video Clip Apple QuickTime"},
    {8, 55532, "Fichier Real Audio"},
    {8, 55533, "Fichier Real Audio Video"},
    {8, 55534, "Fichier Real Video"},
    {8, 55536, "Fichier Real Text"},
    {5, 55537, "Module Musical S3M"},
    {8, 55538, "Fichier Real Media Script"},
    {1, 55540,
     "Projet d'\xE9"
     "conomiseur d'\xE9"
     "cran Orvanel"},
    {2, 367, "Image Targa TGA"},
    {2, 368, "Image TIFF"},
    {2, 370, "Image Windows WMF"},
    {5, 55544, "Son Windows Wave"},
    {5, 55549, "Module Musical XM"},
    {2, 55530, "Fichier Image Adobe Photoshop"},
    {2, 55513, "Fichier Image Kodak FlashPix"},
    {2, 55531, "Fichier Image Apple QuickTime "},
    {11, 55516, "Fichier Biblioth\xE8que d'ic\xF4nes Orvanel"},
    {12, 55502, "Fichier Biblioth\xE8que de Curseurs Orvanel"},
    {5, 55539, "Fichier Son SND"},
    {5, 55507, "Fichier Son Unix AU"},
    {5, 55503, "Fichier Son Apple AIF"},
    {5, 55547, "Fichier Windows Media"},
    {5, 55545, "Fichier Windows Media Audio"},
    {4, 55548, "Fichier Windows Media Video"},
    {5, 55535, "S\xE9quence Musicale MIDI"},
    {13, 55515, "Fichier Web Internet HTML"},
    {13, 55506, "Fichier Web Internet ASP"},
    {14, 55541, "Ficher Shockwave Flash"},
};

const TypeEntry& TypeOf(int code)
{
    if (code >= 0 && code < int(sizeof(kTypes) / sizeof(kTypes[0])))
        return kTypes[code];
    return kTypes[0]; // 100 (DEL) and anything else: undefined
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// Whole-text comparison without case; the table holds ASCII upper case only.
bool SameExtension(const char* text, const char* entry)
{
    for (; *entry; ++text, ++entry) {
        if (AsciiUpper(*text) != *entry)
            return false;
    }
    return *text == 0;
}

} // namespace

int GetFileTypeFromExt(LPCSTR text)
{
    if (text == nullptr || *text == 0)
        return 0;
    const char* dot = strrchr(text, '.');
    const char* extension = dot ? dot + 1 : text;
    for (const ExtensionEntry& entry : kExtensions) {
        if (SameExtension(extension, entry.extension))
            return entry.code;
    }
    return 0;
}

int GetFileCategoryOfCode(int code) { return TypeOf(code).category; }

UINT GetFileTypeDescriptionId(int code) { return TypeOf(code).stringId; }

LPCSTR GetFileTypeDescriptionText(int code) { return TypeOf(code).text; }

int GetFileCategory(LPCSTR path, int* typeCode)
{
    if (path == nullptr)
        return 0;
    int code = GetFileTypeFromExt(path);
    if (typeCode)
        *typeCode = code;
    return GetFileCategoryOfCode(code);
}

BOOL GetFileTypeDescription(CString& out, LPCSTR path)
{
    int code = GetFileTypeFromExt(path);
    if (!out.LoadString(GetFileTypeDescriptionId(code)))
        out = GetFileTypeDescriptionText(code);
    return TRUE;
}
