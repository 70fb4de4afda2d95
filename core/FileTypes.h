// File-type classification by extension: the type code, its category and its description text.
#pragma once
#include <windows.h>

class CString;

// File-type codes: 0 unknown, 2..50 the known extensions, 100 the library's trash records (DEL).
enum FileTypeCode {
    kFileTypeUnknown = 0,
    kFileTypeANI = 2,
    kFileTypeASF = 3,
    kFileTypeAVI = 4,
    kFileTypeBMP = 5,
    kFileTypeCUR = 6,
    kFileTypeFLC = 7,
    kFileTypeFLI = 8,
    kFileTypeGIF = 9,
    kFileTypeICO = 10,
    kFileTypeIFF = 11,
    kFileTypeJPEG = 12,
    kFileTypeLBM = 13,
    kFileTypeMIDI = 14,
    kFileTypeMOD = 15,
    kFileTypeMOV = 16,
    kFileTypeMP3 = 17,
    kFileTypeMPEG = 18,
    kFileTypePCD = 19,
    kFileTypePCX = 20,
    kFileTypePICT = 21,
    kFileTypePNG = 22,
    kFileTypeQT = 23,
    kFileTypeRA = 24,
    kFileTypeRAM = 25,
    kFileTypeRM = 26,
    kFileTypeRT = 27,
    kFileTypeS3M = 28,
    kFileTypeSMI = 29,
    kFileTypeZSV = 30,
    kFileTypeTGA = 31,
    kFileTypeTIFF = 32,
    kFileTypeWMF = 33,
    kFileTypeWAV = 34,
    kFileTypeXM = 35,
    kFileTypePSD = 36,
    kFileTypeFPX = 37,
    kFileTypeQTI = 38,
    kFileTypeZIB = 39,
    kFileTypeZCB = 40,
    kFileTypeSND = 41,
    kFileTypeAU = 42,
    kFileTypeAIF = 43,
    kFileTypeWM = 44,
    kFileTypeWMA = 45,
    kFileTypeWMV = 46,
    kFileTypeRMI = 47,
    kFileTypeHTML = 48,
    kFileTypeASP = 49,
    kFileTypeSWF = 50,
    kFileTypeDEL = 100,
};

// File categories: -1 anything else (codes 0 and 100); there is no category 6.
enum FileCategory {
    kCategoryNone = -1,
    kCategoryProject = 1,
    kCategoryImage = 2,
    kCategoryAnimation = 3,
    kCategoryVideo = 4,
    kCategorySound = 5,
    kCategoryQuickTime = 7,
    kCategoryRealMedia = 8,
    kCategoryIcon = 9,
    kCategoryCursor = 10,
    kCategoryIconLibrary = 11,
    kCategoryCursorLibrary = 12,
    kCategoryWebPage = 13,
    kCategoryFlash = 14,
};

// Type code of a path, a file name or a bare extension ("JPEG", ".png"): the text after the last
// '.', or the whole text when it has none, compared case-insensitively with the whole extension.
// 0 for null, empty or unknown text.
int GetFileTypeFromExt(LPCSTR text);

// Category of the path's type; stores the code through typeCode when it is not null. A null path
// gives 0 (not a category) and stores nothing.
int GetFileCategory(LPCSTR path, int* typeCode);

// Category and string-table id of the description for a type code (-1 and the "(indéfini)" id for
// codes outside the table).
int GetFileCategoryOfCode(int code);
UINT GetFileTypeDescriptionId(int code);
// The description text of a code in Windows-1252, as the program's string table holds it.
LPCSTR GetFileTypeDescriptionText(int code);

// Loads the description of the path's type into out: from the program's string table, or the
// built-in text when the running module has no string table entry. Returns TRUE.
BOOL GetFileTypeDescription(CString& out, LPCSTR path);
