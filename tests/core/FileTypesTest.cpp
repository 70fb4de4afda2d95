// Classification of files by extension: every extension, code, category and description.
#include <gtest/gtest.h>

#include "core/FileTypes.h"
#include "framework/String.h"

#include <string>

namespace {

struct Row {
    const char* extension;
    int code;
    int category;
    UINT id;
    const char* text;
};

// Every entry of the classification, in the order the extensions are tested.
const Row kTable[] = {
    {"DEL", 100, -1, 55014,
     "(ind\xE9"
     "fini)"},
    {"ZSV", 30, 1, 55540, nullptr},
    {"BMP", 5, 2, 361, "Image Windows BMP"},
    {"ICO", 10, 9, 55517, "Fichier Ic\xF4ne Windows"},
    {"CUR", 6, 10, 55510, "Fichier Curseur Fixe Windows"},
    {"ANI", 2, 10, 55504, "Fichier Curseur Anim\xE9 Windows"},
    {"DIB", 5, 2, 361, "Image Windows BMP"},
    {"RLE", 5, 2, 361, "Image Windows BMP"},
    {"HTM", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"HTML", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"HTX", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"ASP", 49, 13, 55506, "Fichier Web Internet ASP"},
    {"ALX", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"STM", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"SHTML", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"SHTM", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"DHTML", 48, 13, 55515, "Fichier Web Internet HTML"},
    {"GIF", 9, 2, 369, "Image CompuServe GIF"},
    {"JPG", 12, 2, 362, "Image JPEG"},
    {"JPE", 12, 2, 362, "Image JPEG"},
    {"JPEG", 12, 2, 362, "Image JPEG"},
    {"PICT", 21, 2, 365, "Image Apple PICT"},
    {"FPX", 37, 2, 55513, "Fichier Image Kodak FlashPix"},
    {"FPIX", 37, 2, 55513, "Fichier Image Kodak FlashPix"},
    {"PIC", 21, 2, 365, "Image Apple PICT"},
    {"QTI", 38, 2, 55531, "Fichier Image Apple QuickTime "},
    {"QTIF", 38, 2, 55531, "Fichier Image Apple QuickTime "},
    {"PSD", 36, 2, 55530, "Fichier Image Adobe Photoshop"},
    {"PCT", 21, 2, 365, "Image Apple PICT"},
    {"ZCB", 40, 12, 55502, "Fichier Biblioth\xE8que de Curseurs Orvanel"},
    {"ZIB", 39, 11, 55516, "Fichier Biblioth\xE8que d'ic\xF4nes Orvanel"},
    {"PCD", 19, 2, 363, "Image Kodak PhotoCD"},
    {"WMF", 33, 2, 370, "Image Windows WMF"},
    {"PNG", 22, 2, 366, "Image PNG"},
    {"PCX", 20, 2, 364, "Image ZSoft PaintBrush PCX"},
    {"TGA", 31, 2, 367, "Image Targa TGA"},
    {"TIF", 32, 2, 368, "Image TIFF"},
    {"TIFF", 32, 2, 368, "Image TIFF"},
    {"LBM", 13, 2, 55520, "Image Amiga ILBM"},
    {"IFF", 11, 2, 371, "Image Amiga IFF/ILBM"},
    {"AVI", 4, 4, 55508, "Video Clip Microsoft AVI"},
    {"ASF", 3, 4, 55505, "Clip Vid\xE9o ASF Microsoft"},
    {"ASX", 3, 4, 55505, "Clip Vid\xE9o ASF Microsoft"},
    {"MOV", 16, 7, 55523, "Video Clip Apple QuickTime"},
    {"QT", 23, 7, 55523, "Video Clip Apple QuickTime"},
    {"MPG", 18, 4, 55525, "Video Clip MPEG"},
    {"MP3", 17, 5, 55524, "Chanson MPEG (Layer 3)"},
    {"MP2", 17, 5, 55524, "Chanson MPEG (Layer 3)"},
    {"MPEG", 18, 4, 55525, "Video Clip MPEG"},
    {"FLI", 8, 3, 55512,
     "Sequence Anim\xE9"
     "e Autodesk Animator"},
    {"FLC", 7, 3, 55511,
     "Sequence Anim\xE9"
     "e Autodesk Animator"},
    {"WAV", 34, 5, 55544, "Son Windows Wave"},
    {"MID", 14, 5, 55521, "S\xE9quence Musicale MIDI"},
    {"MIDI", 14, 5, 55521, "S\xE9quence Musicale MIDI"},
    {"MOD", 15, 5, 55522, "Module Musical MOD"},
    {"S3M", 28, 5, 55537, "Module Musical S3M"},
    {"XM", 35, 5, 55549, "Module Musical XM"},
    {"RM", 26, 8, 55534, "Fichier Real Video"},
    {"RA", 24, 8, 55532, "Fichier Real Audio"},
    {"RT", 27, 8, 55536, "Fichier Real Text"},
    {"RAM", 25, 8, 55533, "Fichier Real Audio Video"},
    {"SMI", 29, 8, 55538, "Fichier Real Media Script"},
    {"SND", 41, 5, 55539, "Fichier Son SND"},
    {"AU", 42, 5, 55507, "Fichier Son Unix AU"},
    {"AIF", 43, 5, 55503, "Fichier Son Apple AIF"},
    {"AIFC", 43, 5, 55503, "Fichier Son Apple AIF"},
    {"AIFF", 43, 5, 55503, "Fichier Son Apple AIF"},
    {"WM", 44, 5, 55547, "Fichier Windows Media"},
    {"WMA", 45, 5, 55545, "Fichier Windows Media Audio"},
    {"WMV", 46, 4, 55548, "Fichier Windows Media Video"},
    {"RMI", 47, 5, 55535, "S\xE9quence Musicale MIDI"},
    {"SWF", 50, 14, 55541, "Ficher Shockwave Flash"},
};

std::string Lower(const char* s)
{
    std::string out(s);
    for (char& c : out)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

} // namespace

TEST(FileTypes, EveryExtensionGivesItsCodeCategoryAndText)
{
    EXPECT_EQ(sizeof(kTable) / sizeof(kTable[0]), 72u) << "72 distinct extensions (RLE is listed twice)";
    for (const Row& row : kTable) {
        std::string path = std::string("C:\\Photos\\picture.") + row.extension;
        EXPECT_EQ(GetFileTypeFromExt(path.c_str()), row.code) << row.extension;
        EXPECT_EQ(GetFileTypeFromExt(Lower(row.extension).c_str()), row.code)
            << "bare, lower case " << row.extension;
        int code = -5;
        EXPECT_EQ(GetFileCategory(path.c_str(), &code), row.category) << row.extension;
        EXPECT_EQ(code, row.code);
        EXPECT_EQ(GetFileTypeDescriptionId(row.code), row.id) << row.extension;
        if (row.text) {
            EXPECT_STREQ(GetFileTypeDescriptionText(row.code), row.text) << row.extension;
        }
        CString text;
        EXPECT_TRUE(GetFileTypeDescription(text, path.c_str()));
        EXPECT_STREQ(text, GetFileTypeDescriptionText(row.code));
    }
    EXPECT_STRNE(GetFileTypeDescriptionText(30), "");
}

TEST(FileTypes, ExamplesOfTheClassification)
{
    EXPECT_EQ(GetFileTypeFromExt("C:\\Images\\Photo.JpEg"), 12);
    EXPECT_EQ(GetFileCategory("C:\\Images\\Photo.JpEg", nullptr), 2);
    CString text;
    GetFileTypeDescription(text, "C:\\Images\\Photo.JpEg");
    EXPECT_STREQ(text, "Image JPEG");

    EXPECT_EQ(GetFileTypeFromExt("archive.del"), 100);
    EXPECT_EQ(GetFileCategory("archive.del", nullptr), -1);
    GetFileTypeDescription(text, "archive.del");
    EXPECT_STREQ(text, "(ind\xE9"
                       "fini)");

    EXPECT_EQ(GetFileTypeFromExt("song.au"), 42);
    EXPECT_EQ(GetFileTypeFromExt("song.sau"), 0);
    EXPECT_EQ(GetFileTypeFromExt(".png"), 22);
    EXPECT_EQ(GetFileTypeFromExt("png"), 22);
    EXPECT_EQ(GetFileTypeFromExt("JPEG"), 12);
    EXPECT_EQ(GetFileTypeFromExt(""), 0);
    EXPECT_EQ(GetFileTypeFromExt(nullptr), 0);
    EXPECT_EQ(GetFileTypeFromExt("readme"), 0);
    EXPECT_EQ(GetFileTypeFromExt("clip.wmv"), 46);
    EXPECT_EQ(GetFileCategory("clip.wmv", nullptr), 4);
    EXPECT_EQ(GetFileTypeFromExt("a.wmf"), 33);
    EXPECT_EQ(GetFileTypeFromExt("movie.qt"), 23);
    EXPECT_EQ(GetFileTypeFromExt("movie.qtx"), 0);
    EXPECT_EQ(GetFileTypeFromExt("x.JP"), 0) << "only whole extensions match";
    EXPECT_EQ(GetFileTypeFromExt("x.JPEGX"), 0);
    EXPECT_EQ(GetFileTypeFromExt("C:\\my.pictures\\readme"), 0) << "a dot in a folder name";
    EXPECT_EQ(GetFileTypeFromExt("picture."), 0);
    EXPECT_EQ(GetFileTypeFromExt("x.gif\xE9"), 0);
}

TEST(FileTypes, LongPathsAreClassified)
{
    std::string path(2000, 'a');
    path += ".tiff";
    EXPECT_EQ(GetFileTypeFromExt(path.c_str()), 32);
}

TEST(FileTypes, NullPathGivesZeroAndStoresNothing)
{
    int code = 77;
    EXPECT_EQ(GetFileCategory(nullptr, &code), 0);
    EXPECT_EQ(code, 77);
    EXPECT_EQ(GetFileCategory("unknown.xyz", &code), -1);
    EXPECT_EQ(code, 0);
    CString text;
    GetFileTypeDescription(text, "unknown.xyz");
    EXPECT_STREQ(text, "(ind\xE9"
                       "fini)");
    EXPECT_EQ(GetFileCategoryOfCode(1), -1) << "there is no code 1";
    EXPECT_EQ(GetFileCategoryOfCode(51), -1);
}
