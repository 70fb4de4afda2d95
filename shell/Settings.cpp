// Loading and saving the settings: one table drives both, in the order the sections are listed.
#include "shell/Settings.h"

#include "framework/WinApp.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

// Each variable starts from its default in the settings table below, where alone it is written.
int g_NewPicColors;
int g_NewPicHeight;
int g_NewPicWidth;
int g_NewPicSquare;
int g_AssocDetail;
int g_AssocDib;
int g_LibrarianSeparatorH;
int g_LibrarianSeparatorV;
int g_TailleVignette;
int g_TailleVignetteLibBar;
int g_DefaultSortByLibBar;
int g_DefaultSortOrderLibBar;
int g_LibBarTypeCompression;
int g_LibBarApercuAuto;
int g_ApercuAuto;
int g_DiapoLoop;
int g_DiapoPause;
int g_DiapoAuto;
int g_PleinEcranAutoLibBar;
int g_DefaultRepetition;
int g_DefaultSeparatorPos;
int g_DefaultSortBy;
int g_DefaultSortOrder;
int g_IndexOfTheTip;
int g_DefaultImageSize;
int g_bAutoReorganize;
int g_DefaultZoomAuto;
int g_PleinEcranAuto;
int g_TypeAffichageAnim;
int g_VitesseAnimation;
int g_VitesseVideo;
int g_TailleImageDiapo;
int g_LibBarSizeV;
int g_LibBarSizeH;
int g_LibBarFloatSizeV;
int g_LibBarFloatSizeH;
int g_ReorganizeType;
int g_TypesCorrectionAuto;
int g_AskToCreateDoc;
int g_ListPrintSelected;
int g_ListPrintSize;
CString g_MusicFileDiapo;

CString g_ProtectedPics;

CString g_ActualDir;
CString g_LibrarianLastPath;
CString g_LibrarianLocation;
CString g_CurrentOpenDirectory;
CString g_CurrentSaveDirectory;
CString g_CurrentImportDirectory;
CString g_CurrentExportDirectory;

int g_ShowWarnAssoc;
int g_ShowWarnColor16;
int g_ShowWarnColor;
int g_ShowWarnComponents;
int g_ShowWelcome;
int g_MaximiseOnOpen;
int g_ShowInfoSuppress;
int g_ShowExplorerToolBar;
int g_ShowDibToolBar;
int g_ShowApercu;
int g_ExplorerAuto;
CString g_DefaultEditorPathName;
COLORREF g_CouleurView;
COLORREF g_CouleurPleinEcran;
int g_UseCoolBar;
int g_CoolBarBitmap;
int g_CoolBarText;
int g_CoolBarAnimation;
int g_ShowRecents;
int g_CoolBarRawCount;
int g_CoolBarBandCX;

COLORREF g_CustColors[16];

int g_nPrefsStartPage = 0;
CStringArray g_SelectFilterList;
CStringArray g_UnselectFilterList;
CStringArray g_RecentList;
CStringArray g_FavoriteList;

CString g_strLibraryRoot;
char g_szModuleDir[MAX_PATH];

namespace {

bool s_loaded = false;

// What happens to a value read outside [lo, hi]: by default it takes the setting's default;
// a few settings are instead pulled to the nearest bound on one side.
enum Clamp : unsigned { kNoClamp = 0, kClampLow = 1, kClampHigh = 2 };

enum class Kind { Int, Text, Number };

struct Setting {
    const char* section;
    const char* key;
    Kind kind;
    void* value; // int*, CString* or COLORREF* by kind
    long def;
    long lo;
    long hi;
    unsigned clamp;
};

const long kAny = LONG_MIN; // as lo: no lower bound
const long kAnyHi = LONG_MAX;
const long kPixels = 32767; // largest sensible window coordinate or size
const long kColor = 0xFFFFFF;

#define INT_SETTING(section, key, var, def, lo, hi)                                                          \
    {                                                                                                        \
        section, key, Kind::Int, &var, def, lo, hi, kNoClamp                                                 \
    }
#define BOOL_SETTING(section, key, var, def)                                                                 \
    {                                                                                                        \
        section, key, Kind::Int, &var, def, 0, 1, kNoClamp                                                   \
    }
#define KEPT_SETTING(section, key, var, def)                                                                 \
    {                                                                                                        \
        section, key, Kind::Int, &var, def, kAny, kAnyHi, kNoClamp                                           \
    }
// A path longer than a path buffer is out of range: it takes the default, empty.
#define PATH_SETTING(section, key, var)                                                                      \
    {                                                                                                        \
        section, key, Kind::Text, &var, 0, 0, MAX_PATH - 1, kNoClamp                                         \
    }
#define TEXT_SETTING(section, key, var)                                                                      \
    {                                                                                                        \
        section, key, Kind::Text, &var, 0, 0, kAnyHi, kNoClamp                                               \
    }

// The order is the order of the sections as the program has always read and written them.
const Setting kSettings[] = {
    KEPT_SETTING("specs", "NewPicColors", g_NewPicColors, 3),
    KEPT_SETTING("specs", "NewPicHeight", g_NewPicHeight, 512),
    KEPT_SETTING("specs", "NewPicWidth", g_NewPicWidth, 512),
    KEPT_SETTING("specs", "NewPicSquare", g_NewPicSquare, 0),
    KEPT_SETTING("specs", "AssocDetail", g_AssocDetail, -1),
    BOOL_SETTING("specs", "AssocDib", g_AssocDib, 1),
    {"specs", "LibrarianSeparatorH", Kind::Int, &g_LibrarianSeparatorH, 200, 50, kPixels, kClampLow},
    {"specs", "LibrarianSeparatorV", Kind::Int, &g_LibrarianSeparatorV, 200, 50, kPixels, kClampLow},
    INT_SETTING("specs", "TailleVignette", g_TailleVignette, 0, 0, 3),
    INT_SETTING("specs", "TailleVignetteLibBar", g_TailleVignetteLibBar, 1, 0, 3),
    INT_SETTING("specs", "DefaultSortByLibBar", g_DefaultSortByLibBar, 0, 0, 3),
    BOOL_SETTING("specs", "DefaultSortOrderLibBar", g_DefaultSortOrderLibBar, 0),
    INT_SETTING("specs", "LibBarTypeCompression", g_LibBarTypeCompression, 1, 0, 2),
    KEPT_SETTING("specs", "LibBarApercuAuto", g_LibBarApercuAuto, 1),
    BOOL_SETTING("specs", "ApercuAuto", g_ApercuAuto, 1),
    BOOL_SETTING("specs", "DiapoLoop", g_DiapoLoop, 1),
    INT_SETTING("specs", "DiapoPause", g_DiapoPause, 10, 1, 500),
    BOOL_SETTING("specs", "DiapoAuto", g_DiapoAuto, 0),
    BOOL_SETTING("specs", "PleinEcranAutoLibBar", g_PleinEcranAutoLibBar, 0),
    BOOL_SETTING("specs", "DefaultRepetition", g_DefaultRepetition, 1),
    INT_SETTING("specs", "DefaultSeparatorPos", g_DefaultSeparatorPos, 200, 0, kPixels),
    INT_SETTING("specs", "DefaultSortBy", g_DefaultSortBy, 0, 0, 3),
    BOOL_SETTING("specs", "DefaultSortOrder", g_DefaultSortOrder, 0),
    INT_SETTING("specs", "IndexOfTheTip", g_IndexOfTheTip, 0, 0, 24),
    INT_SETTING("specs", "DefaultImageSize", g_DefaultImageSize, 0, 0, 2),
    BOOL_SETTING("specs", "AutoReorganize", g_bAutoReorganize, 1),
    KEPT_SETTING("specs", "DefaultZoomAuto", g_DefaultZoomAuto, 1),
    BOOL_SETTING("specs", "PleinEcranAuto", g_PleinEcranAuto, 0),
    BOOL_SETTING("specs", "TypeAffichageAnim", g_TypeAffichageAnim, 0),
    {"specs", "VitesseAnimation", Kind::Int, &g_VitesseAnimation, 6, 0, 12, kClampHigh},
    {"specs", "VitesseVideo", Kind::Int, &g_VitesseVideo, 9, 0, 12, kClampHigh},
    INT_SETTING("specs", "TailleImageDiapo", g_TailleImageDiapo, 1, 0, 2),
    INT_SETTING("specs", "LibBarSizeV", g_LibBarSizeV, 230, 10, kPixels),
    INT_SETTING("specs", "LibBarSizeH", g_LibBarSizeH, 256, 10, kPixels),
    INT_SETTING("specs", "LibBarFloatSizeV", g_LibBarFloatSizeV, 250, 10, kPixels),
    INT_SETTING("specs", "LibBarFloatSizeH", g_LibBarFloatSizeH, 550, 10, kPixels),
    BOOL_SETTING("specs", "ReorganizeType", g_ReorganizeType, 1),
    BOOL_SETTING("specs", "TypesCorrectionAuto", g_TypesCorrectionAuto, 0),
    KEPT_SETTING("specs", "AskToCreateDoc", g_AskToCreateDoc, 1),
    BOOL_SETTING("specs", "ListPrintSelected", g_ListPrintSelected, 1),
    INT_SETTING("specs", "ListPrintSize", g_ListPrintSize, 1, 0, 3),
    PATH_SETTING("specs", "MusicFileDiapo", g_MusicFileDiapo),
    TEXT_SETTING("pass", "ProtectedPics", g_ProtectedPics),
    PATH_SETTING("folders", "ActualDir", g_ActualDir),
    PATH_SETTING("folders", "LibrarianLastPath", g_LibrarianLastPath),
    PATH_SETTING("folders", "LibrarianLocation", g_LibrarianLocation),
    PATH_SETTING("folders", "CurrentOpenDirectory", g_CurrentOpenDirectory),
    PATH_SETTING("folders", "CurrentSaveDirectory", g_CurrentSaveDirectory),
    PATH_SETTING("folders", "CurrentImportDirectory", g_CurrentImportDirectory),
    PATH_SETTING("folders", "CurrentExportDirectory", g_CurrentExportDirectory),
    BOOL_SETTING("prefs", "ShowWarnAssoc", g_ShowWarnAssoc, 1),
    BOOL_SETTING("prefs", "ShowWarnColor16", g_ShowWarnColor16, 1),
    BOOL_SETTING("prefs", "ShowWarnColor", g_ShowWarnColor, 1),
    BOOL_SETTING("prefs", "ShowWarnComponents", g_ShowWarnComponents, 1),
    BOOL_SETTING("prefs", "ShowWelcome", g_ShowWelcome, 1),
    BOOL_SETTING("prefs", "MaximiseOnOpen", g_MaximiseOnOpen, 0),
    BOOL_SETTING("prefs", "ShowInfoSuppress", g_ShowInfoSuppress, 1),
    BOOL_SETTING("prefs", "ShowExplorerToolBar", g_ShowExplorerToolBar, 1),
    BOOL_SETTING("prefs", "ShowDibToolBar", g_ShowDibToolBar, 1),
    INT_SETTING("prefs", "DefaultWmfCX", g_DefaultWmfCX, kDefaultWmfCX, 10, 5000),
    INT_SETTING("prefs", "DefaultWmfCY", g_DefaultWmfCY, kDefaultWmfCY, 10, 5000),
    INT_SETTING("prefs", "PhotoCDSize", g_PhotoCDSize, kDefaultPhotoCDSize, 0, 3),
    INT_SETTING("prefs", "CouleursJPEG", g_CouleursJPEG, kDefaultCouleursJPEG, 0, 2),
    INT_SETTING("prefs", "TauxJPEG", g_TauxJPEG, kDefaultTauxJPEG, 1, 99),
    BOOL_SETTING("prefs", "ShowApercu", g_ShowApercu, 1),
    BOOL_SETTING("prefs", "ExplorerAuto", g_ExplorerAuto, 1),
    PATH_SETTING("prefs", "DefaultEditorPathName", g_DefaultEditorPathName),
    {"prefs", "CouleurView", Kind::Number, &g_CouleurView, 0x404040, 0, kColor, kNoClamp},
    {"prefs", "CouleurPleinEcran", Kind::Number, &g_CouleurPleinEcran, 0, 0, kColor, kNoClamp},
};

// Read after the colours and the lists, as they always were.
const Setting kCoolBarSettings[] = {
    BOOL_SETTING("prefs", "UseCoolBar", g_UseCoolBar, 1),
    BOOL_SETTING("prefs", "CoolBarBitmap", g_CoolBarBitmap, 1),
    BOOL_SETTING("prefs", "CoolBarText", g_CoolBarText, 1),
    BOOL_SETTING("prefs", "CoolBarAnimation", g_CoolBarAnimation, 1),
    BOOL_SETTING("prefs", "ShowRecents", g_ShowRecents, 1),
    INT_SETTING("prefs", "CoolBarRawCount", g_CoolBarRawCount, 2, 1, 3),
    INT_SETTING("prefs", "CoolBarBandCX", g_CoolBarBandCX, 300, 0, kPixels),
};

#undef INT_SETTING
#undef BOOL_SETTING
#undef KEPT_SETTING
#undef PATH_SETTING
#undef TEXT_SETTING

struct NumberedList {
    const char* section;
    CStringArray* list;
    bool patterns; // "*.*" heads the list in memory and is skipped when read back
};

const NumberedList kLists[] = {
    {"SelectFilterList", &g_SelectFilterList, true},
    {"UnselectFilterList", &g_UnselectFilterList, true},
    {"CoolBarList", &g_RecentList, false},
    {"FavoriteList", &g_FavoriteList, false},
};

const char kAllFiles[] = "*.*";

long InRange(const Setting& s, long value)
{
    if (value < s.lo)
        return (s.clamp & kClampLow) ? s.lo : s.def;
    if (value > s.hi)
        return (s.clamp & kClampHigh) ? s.hi : s.def;
    return value;
}

void SetDefault(const Setting& s)
{
    switch (s.kind) {
    case Kind::Int:
        *static_cast<int*>(s.value) = static_cast<int>(s.def);
        break;
    case Kind::Text:
        static_cast<CString*>(s.value)->Empty();
        break;
    case Kind::Number:
        *static_cast<COLORREF*>(s.value) = static_cast<COLORREF>(s.def);
        break;
    }
}

void ApplyDefaults()
{
    for (const Setting& s : kSettings)
        SetDefault(s);
    for (const Setting& s : kCoolBarSettings)
        SetDefault(s);
}

// The variables take their defaults before main starts; the tables above are constants, and the
// text variables are constructed before this object in this file.
struct StartFromDefaults {
    StartFromDefaults() { ApplyDefaults(); }
} s_startFromDefaults;

void Load(CWinApp& app, const Setting& s)
{
    switch (s.kind) {
    case Kind::Int: {
        int value = static_cast<int>(app.GetProfileInt(s.section, s.key, static_cast<int>(s.def)));
        *static_cast<int*>(s.value) = static_cast<int>(InRange(s, value));
        break;
    }
    case Kind::Text: {
        CString text = app.GetProfileString(s.section, s.key, "");
        if (text.GetLength() > s.hi)
            text.Empty();
        *static_cast<CString*>(s.value) = text;
        break;
    }
    case Kind::Number: {
        CString text = app.GetProfileString(s.section, s.key, "");
        long value = text.IsEmpty() ? s.def : atol(text);
        *static_cast<COLORREF*>(s.value) = static_cast<COLORREF>(InRange(s, value));
        break;
    }
    }
}

CString NumberText(long value)
{
    char text[16];
    snprintf(text, sizeof(text), "%ld", value);
    return text;
}

void Save(CWinApp& app, const Setting& s)
{
    switch (s.kind) {
    case Kind::Int:
        app.WriteProfileInt(s.section, s.key, *static_cast<int*>(s.value));
        break;
    case Kind::Text:
        app.WriteProfileString(s.section, s.key, *static_cast<CString*>(s.value));
        break;
    case Kind::Number:
        app.WriteProfileString(s.section, s.key,
                               NumberText(static_cast<long>(*static_cast<COLORREF*>(s.value))));
        break;
    }
}

CString NumberKey(const char* format, int number)
{
    char key[16];
    snprintf(key, sizeof(key), format, number);
    return key;
}

void LoadCustColors(CWinApp& app)
{
    for (int i = 0; i < 16; ++i) {
        long value = atol(app.GetProfileString("colors", NumberKey("CustColor%02d", i + 1), "0"));
        g_CustColors[i] = (value < 0 || value > kColor) ? 0 : static_cast<COLORREF>(value);
    }
}

void SaveCustColors(CWinApp& app)
{
    for (int i = 0; i < 16; ++i)
        app.WriteProfileString("colors", NumberKey("CustColor%02d", i + 1),
                               NumberText(static_cast<long>(g_CustColors[i])));
}

void LoadList(CWinApp& app, const NumberedList& l)
{
    l.list->RemoveAll();
    if (l.patterns)
        l.list->Add(kAllFiles);
    // No upper bound: the list ends at its first empty or missing key.
    for (int n = 1; n < INT_MAX; ++n) {
        CString value = app.GetProfileString(l.section, NumberKey("%d", n), "");
        if (value.IsEmpty())
            break;
        if (l.patterns && value == kAllFiles)
            continue;
        l.list->Add(value);
    }
}

void SaveList(CWinApp& app, const NumberedList& l)
{
    for (int n = 1; n <= kSavedListEntries; ++n) {
        INT_PTR index = n - 1;
        app.WriteProfileString(l.section, NumberKey("%d", n),
                               index < l.list->GetSize() ? (*l.list)[index] : "");
    }
}

} // namespace

CString ModuleDirFromPath(const CString& path)
{
    for (int i = path.GetLength(); i > 1; --i) {
        if (path[i - 1] == '\\')
            return path.Left(i);
    }
    return path;
}

void InitModuleDir()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        path[0] = 0;
    lstrcpynA(g_szModuleDir, ModuleDirFromPath(path), MAX_PATH);
}

CString DeriveLibraryRoot(CString& location, const CString& moduleDir)
{
    CString root = location;
    if (!root.IsEmpty() && root[root.GetLength() - 1] != '\\')
        root += '\\';
    // A drive path ("D:...") or a network path ("\\server..."), judged on the text as stored so
    // that a one-letter relative name does not pass for a path once its backslash is added; the
    // root must also fit a path buffer.
    bool absolute = location.GetLength() >= 2 && (location[1] == ':' || location[1] == '\\');
    if (absolute && root.GetLength() < MAX_PATH)
        return root;
    location = moduleDir;
    return moduleDir;
}

CString GetDefaultEditorPath()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE,
                      &key)
        != ERROR_SUCCESS)
        return CString();
    char folder[MAX_PATH] = {};
    DWORD size = sizeof(folder);
    DWORD type = 0;
    LONG result =
        RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return CString();
    folder[size < sizeof(folder) ? size : sizeof(folder) - 1] = 0;
    CString path = CString(folder) + "\\Paint Shop Pro\\Psp.exe";
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CString();
    return path;
}

bool LoadSettings(bool coolBarSupported)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return false;
    if (g_szModuleDir[0] == 0)
        InitModuleDir();
    for (const Setting& s : kSettings)
        Load(*app, s);
    LoadCustColors(*app);
    for (const NumberedList& l : kLists)
        LoadList(*app, l);
    for (const Setting& s : kCoolBarSettings)
        Load(*app, s);
    if (!coolBarSupported)
        g_UseCoolBar = 0;

    g_strLibraryRoot = DeriveLibraryRoot(g_LibrarianLocation, g_szModuleDir);
    g_DefaultEditorPathName.TrimLeft();
    g_DefaultEditorPathName.TrimRight();
    if (g_DefaultEditorPathName.IsEmpty())
        g_DefaultEditorPathName = GetDefaultEditorPath();
    s_loaded = true;
    return true;
}

bool SaveSettings()
{
    CWinApp* app = AfxGetApp();
    if (!s_loaded || !app)
        return false;
    for (const Setting& s : kSettings)
        Save(*app, s);
    SaveCustColors(*app);
    for (const NumberedList& l : kLists)
        SaveList(*app, l);
    for (const Setting& s : kCoolBarSettings)
        Save(*app, s);
    return true;
}

bool SettingsLoaded() { return s_loaded; }

void ResetSettings()
{
    ApplyDefaults();
    for (COLORREF& color : g_CustColors)
        color = 0;
    for (const NumberedList& l : kLists)
        l.list->RemoveAll();
    g_strLibraryRoot.Empty();
    s_loaded = false;
}
