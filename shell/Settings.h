// Every user setting as a process-wide variable named after its registry key, loaded once at
// start-up and saved once at exit under HKEY_CURRENT_USER\Software\Orvanel\Tessarine 3.0.
#pragma once
#include "framework/Collections.h"
#include "framework/String.h"

#include <windows.h>

// "PhotoCDSize", "CouleursJPEG", "TauxJPEG", "DefaultWmfCX" and "DefaultWmfCY" live beside the
// readers that use them; they are loaded and saved here with the rest of section "prefs".
#include "core/ReaderSettings.h"

// Section "specs".
extern int g_NewPicColors;
extern int g_NewPicHeight;
extern int g_NewPicWidth;
extern int g_NewPicSquare;
extern int g_AssocDetail;          // bit set of the picture types to associate
extern int g_AssocDib;             // file associations wanted at all
extern int g_LibrarianSeparatorH;  // library bar splitter, horizontal layout; at least 50
extern int g_LibrarianSeparatorV;  // library bar splitter, vertical layout; at least 50
extern int g_TailleVignette;       // thumbnail view of explorer and search windows, 0..3
extern int g_TailleVignetteLibBar; // thumbnail view of the library bar, 0..3
extern int g_DefaultSortByLibBar;  // 0 name, 1 type, 2 date, 3 size
extern int g_DefaultSortOrderLibBar;
extern int g_LibBarTypeCompression; // adding to the library: 0 unchanged, 1 JPEG, 2 PNG
extern int g_LibBarApercuAuto;
extern int g_ApercuAuto;
extern int g_DiapoLoop;
extern int g_DiapoPause; // seconds per picture of an automatic slide show
extern int g_DiapoAuto;
extern int g_PleinEcranAutoLibBar;
extern int g_DefaultRepetition;
extern int g_DefaultSeparatorPos;
extern int g_DefaultSortBy;
extern int g_DefaultSortOrder;
extern int g_IndexOfTheTip;    // next tip of the welcome dialog, 0..24
extern int g_DefaultImageSize; // display mode of picture views, 0..2
extern int g_bAutoReorganize;  // key "AutoReorganize"
extern int g_DefaultZoomAuto;
extern int g_PleinEcranAuto;
extern int g_TypeAffichageAnim;
extern int g_VitesseAnimation; // index into the animation speed table, 0..12
extern int g_VitesseVideo;     // 0..12
extern int g_TailleImageDiapo; // 0 actual size, 1 proportional, 2 fitted
extern int g_LibBarSizeV;
extern int g_LibBarSizeH;
extern int g_LibBarFloatSizeV;
extern int g_LibBarFloatSizeH;
extern int g_ReorganizeType; // 1 mosaic, 0 whole window
extern int g_TypesCorrectionAuto;
extern int g_AskToCreateDoc;
extern int g_ListPrintSelected;
extern int g_ListPrintSize; // 0..3
extern CString g_MusicFileDiapo;

// Section "pass": the protected-pictures password as the user typed it.
extern CString g_ProtectedPics;

// Section "folders".
extern CString g_ActualDir;
extern CString g_LibrarianLastPath;
extern CString g_LibrarianLocation;
extern CString g_CurrentOpenDirectory;
extern CString g_CurrentSaveDirectory;
extern CString g_CurrentImportDirectory;
extern CString g_CurrentExportDirectory;

// Section "prefs".
extern int g_ShowWarnAssoc;
extern int g_ShowWarnColor16;
extern int g_ShowWarnColor;
extern int g_ShowWarnComponents;
extern int g_ShowWelcome;
extern int g_MaximiseOnOpen;
extern int g_ShowInfoSuppress;
extern int g_ShowExplorerToolBar;
extern int g_ShowDibToolBar;
extern int g_ShowApercu;
extern int g_ExplorerAuto;
extern CString g_DefaultEditorPathName;
extern COLORREF g_CouleurView;       // stored as decimal text; 0x404040 when empty
extern COLORREF g_CouleurPleinEcran; // stored as decimal text; 0 when empty
extern int g_UseCoolBar;
extern int g_CoolBarBitmap;
extern int g_CoolBarText;
extern int g_CoolBarAnimation;
extern int g_ShowRecents;
extern int g_CoolBarRawCount;
extern int g_CoolBarBandCX;

// Section "colors": the colour chooser's 16 custom colours, keys "CustColor01".."CustColor16".
extern COLORREF g_CustColors[16];

// The page the preferences sheet opens on (3: the external editor); the sheet stores the page it
// closed on with OK. Not saved.
extern int g_nPrefsStartPage;
const int kPrefsPageEditor = 3;

// The numbered lists: sections whose keys are "1", "2", ...
extern CStringArray g_SelectFilterList;   // "*.*" always first
extern CStringArray g_UnselectFilterList; // "*.*" always first
extern CStringArray g_RecentList;         // section "CoolBarList", newest first
extern CStringArray g_FavoriteList;       // "name|path" entries

// Derived at load, never stored: the library root folder with a trailing backslash.
extern CString g_strLibraryRoot;

// The folder of the program file, with its trailing backslash.
extern char g_szModuleDir[MAX_PATH];

// How many keys a numbered list keeps in the registry.
const int kSavedListEntries = 50;

// Sets g_szModuleDir from the running program's path.
void InitModuleDir();
// The folder part of a program path: cut just after its last backslash (scanning back to the
// second character); a path without one comes back whole.
CString ModuleDirFromPath(const CString& path);

// Reads every setting through the application object's profile functions (its registry key),
// applies the clamps and range checks and derives the library root and the editor path.
// coolBarSupported false (the common controls could not be initialised) turns "UseCoolBar" off.
// False, with nothing read, when there is no application object.
bool LoadSettings(bool coolBarSupported = true);
// Writes every setting back. Does nothing and returns false unless LoadSettings ran in this
// process, so that a second instance or a failed start never overwrites the user's settings.
bool SaveSettings();
bool SettingsLoaded();
// Every variable back to its default, the lists empty and the loaded flag cleared.
void ResetSettings();

// The library root derived from a stored "LibrarianLocation": an absolute folder (drive or
// network path) with a trailing backslash; for an empty, relative or over-long location the
// program's folder, which then also replaces the stored location.
CString DeriveLibraryRoot(CString& location, const CString& moduleDir);

// The default external editor: <ProgramFilesDir>\Paint Shop Pro\Psp.exe when that file exists,
// else empty.
CString GetDefaultEditorPath();
