// The program's resources as the program loads them: French strings in code page 1252, menus,
// the keyboard table, tool bars, icons, cursors, bitmaps, the open dialog's template and the title
// picture; and the texts the picture code loads by id, against its built-in copies.
#include "resources/resource.h"
#include "tests/app/CommandIds.h"

#include "core/BmpFile.h"
#include "core/ColorBrush.h"
#include "core/FileTypes.h"
#include "core/FileUtil.h"
#include "core/PackedDib.h"
#include "core/Progress.h"
#include "core/ReaderSettings.h"
#include "core/TextFormat.h"
#include "formats/FormatJpeg.h"
#include "formats/FormatPng.h"
#include "shell/FileCause.h"
#include "framework/Dc.h"
#include "framework/String.h"
#include "framework/TestSeams.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

std::string LoadText(UINT id)
{
    char buffer[1024] = {};
    int length = LoadStringA(Module(), id, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? length : 0);
}

std::wstring LoadWide(UINT id)
{
    wchar_t buffer[1024] = {};
    int length = LoadStringW(Module(), id, buffer, 1024);
    return std::wstring(buffer, length > 0 ? length : 0);
}

std::string MenuText(HMENU menu, int position)
{
    char buffer[256] = {};
    GetMenuStringA(menu, position, buffer, sizeof(buffer), MF_BYPOSITION);
    return buffer;
}

// The command ids of a pop-up, separators as 0 (sub-menus are skipped).
std::vector<UINT> MenuIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetSubMenu(menu, i))
            continue;
        UINT id = GetMenuItemID(menu, i);
        ids.push_back(id == static_cast<UINT>(-1) ? 0 : id);
    }
    return ids;
}

HMENU FindPopup(HMENU bar, const char* text)
{
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        if (MenuText(bar, i) == text)
            return GetSubMenu(bar, i);
    }
    return nullptr;
}

// The size of a bitmap resource as loaded, and its bit depth.
struct BitmapInfo {
    int width = 0;
    int height = 0;
    int bits = 0;
};

BitmapInfo LoadBitmapInfo(UINT id)
{
    BitmapInfo info;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        return info;
    DIBSECTION section = {};
    if (GetObjectA(bitmap, sizeof(section), &section) == sizeof(section)) {
        info.width = section.dsBmih.biWidth;
        info.height = section.dsBmih.biHeight;
        info.bits = section.dsBmih.biBitCount;
    }
    DeleteObject(bitmap);
    return info;
}

// The 32-bit pixels of a bitmap resource, top row first.
std::vector<COLORREF> BitmapPixels(UINT id, int* width, int* height)
{
    std::vector<COLORREF> pixels;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        return pixels;
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof(bm), &bm);
    *width = bm.bmWidth;
    *height = bm.bmHeight;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, bm.bmHeight, raw.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bitmap);
    for (DWORD bgr : raw)
        pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return pixels;
}

// Distinct colours inside one cell of a strip.
size_t CellColours(const std::vector<COLORREF>& pixels, int stripWidth, int x0, int w, int h, COLORREF ignore)
{
    std::set<COLORREF> colours;
    for (int y = 0; y < h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            COLORREF c = pixels[static_cast<size_t>(y) * stripWidth + x];
            if (c != ignore)
                colours.insert(c);
        }
    }
    return colours.size();
}

// The words of a tool-bar resource.
std::vector<WORD> ToolBarWords(UINT id)
{
    std::vector<WORD> words;
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(RT_TOOLBAR_TYPE));
    if (!found)
        return words;
    const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(Module(), found)));
    DWORD size = SizeofResource(Module(), found);
    words.assign(data, data + size / sizeof(WORD));
    return words;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

const UINT kDocumentMenus[] = {IDR_MAINFRAME, IDR_EXPLORERTYPE, IDR_DIBTYPE,
                               IDR_GIFTYPE,   IDR_PRINTLIBTYPE, IDR_SEARCHTYPE};

TEST(Resources, StringsKeepTheirAccentsInCodePage1252)
{
    EXPECT_EQ(LoadText(IDS_FOLDER_PROTECTED), "Images Prot\xE9g\xE9\x65s");
    EXPECT_EQ(LoadText(IDS_FOLDER_TRASH), "El\xE9ments Supprim\xE9s");
    EXPECT_EQ(LoadText(IDS_LIBRARY_BAR), "Biblioth\xE8que d'images");
    EXPECT_EQ(LoadText(IDS_ANIM_TITLE), " - Anim\xE9 %dx%d - [%s]");
    EXPECT_EQ(LoadText(IDS_DOCUMENT_MISSING), "Le document \"%s\" n'existe pas ou n'est pas accessible.");
    EXPECT_EQ(LoadText(IDS_PROFILE_NAME), "Tessarine 3.0");
    EXPECT_EQ(LoadText(IDS_PLEASE_WAIT), "Patientez ...");
    EXPECT_EQ(LoadText(IDS_FAVORITE_EXISTS),
              "Une entr\xE9\x65 vers le fichier '%1' existe d\xE9j\xE0 dans la liste 'Favoris'.\n"
              "Modifier l'entr\xE9\x65 existante ?");
    EXPECT_EQ(LoadText(IDS_TYPE_UNKNOWN), "(ind\xE9\x66ini)");
    // The same texts in Unicode: the compiler read the scripts as Windows-1252, not as UTF-8.
    EXPECT_EQ(LoadWide(IDS_FOLDER_PROTECTED), L"Images Prot\u00E9g\u00E9\u0065s");
    EXPECT_EQ(LoadWide(IDS_OPEN_TITLE), L"Ouvrir un ou plusieurs fichiers images");
    EXPECT_EQ(LoadWide(ID_VIEW_LIBRARY_BAR),
              L"Affiche ou masque la biblioth\u00E8que d'images.\nBiblioth\u00E8que d'images (F9)");
}

TEST(Resources, OpenDialogFiltersArePairsOfNameAndPatterns)
{
    const UINT filters[] = {IDS_FILTER_ALL_PICTURES, IDS_FILTER_BMP,  IDS_FILTER_JPEG,    IDS_FILTER_GIF,
                            IDS_FILTER_PNG,          IDS_FILTER_TIFF, IDS_FILTER_PHOTOCD, IDS_FILTER_PICT,
                            IDS_FILTER_TARGA,        IDS_FILTER_WMF,  IDS_FILTER_IFF,     IDS_FILTER_PCX,
                            IDS_FILTER_ALL_FILES};
    for (UINT id : filters) {
        std::string text = LoadText(id);
        ASSERT_FALSE(text.empty()) << id;
        std::vector<std::string> parts;
        size_t start = 0;
        for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
            parts.push_back(text.substr(start, bar - start));
            start = bar + 1;
        }
        EXPECT_EQ(start, text.size()) << "filter " << id << " must end with a bar";
        ASSERT_EQ(parts.size(), 2u) << id;
        EXPECT_FALSE(parts[0].empty()) << id;
        size_t patternStart = 0;
        while (patternStart < parts[1].size()) {
            size_t end = parts[1].find(';', patternStart);
            std::string pattern =
                parts[1].substr(patternStart, end == std::string::npos ? end : end - patternStart);
            EXPECT_EQ(pattern.compare(0, 2, "*."), 0) << id << ": " << pattern;
            patternStart = end == std::string::npos ? parts[1].size() : end + 1;
        }
    }
}

TEST(Resources, EveryMenuCommandOfTheProgramHasAPromptAndATip)
{
    std::set<UINT> commands;
    for (UINT id : kDocumentMenus) {
        HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(id));
        ASSERT_NE(menu, nullptr) << id;
        AddMenuCommands(menu, &commands);
        DestroyMenu(menu);
    }
    HMENU context = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_CONTEXTMENUS));
    ASSERT_NE(context, nullptr);
    AddMenuCommands(context, &commands);
    DestroyMenu(context);
    EXPECT_GT(commands.size(), 100u);
    for (UINT id : commands) {
        if (id == ID_FILE_MRU_FILE1) // the recent-file placeholder, replaced by the framework
            continue;
        std::string prompt = LoadText(id);
        size_t newline = prompt.find('\n');
        EXPECT_NE(newline, std::string::npos) << "command " << id << ": \"" << prompt << "\"";
        if (newline != std::string::npos) {
            EXPECT_GT(newline, 0u) << id;
            EXPECT_LT(newline + 1, prompt.size()) << id;
        }
    }
}

TEST(Resources, EveryMenuBarHasTheSharedPopupsWithTheWindowMenuNextToLast)
{
    for (UINT id : kDocumentMenus) {
        HMENU bar = LoadMenuA(Module(), MAKEINTRESOURCEA(id));
        ASSERT_NE(bar, nullptr) << id;
        int count = GetMenuItemCount(bar);
        EXPECT_EQ(MenuText(bar, 0), "&Fichier") << id;
        EXPECT_EQ(MenuText(bar, count - 1), "&?") << id;
        EXPECT_EQ(MenuText(bar, count - 2), "Fe&n\xEAtre") << id;
        EXPECT_EQ(MenuIds(GetSubMenu(bar, count - 2)),
                  (std::vector<UINT>{ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, 0,
                                     ID_WINDOW_REORGANIZE, ID_WINDOW_AUTO_REORGANIZE, 0, ID_WINDOW_FULL,
                                     ID_WINDOW_MOSAIC}))
            << id;
        HMENU favorites = FindPopup(bar, "Fa&voris");
        ASSERT_NE(favorites, nullptr) << id;
        if (id == IDR_PRINTLIBTYPE)
            EXPECT_EQ(MenuIds(favorites), (std::vector<UINT>{ID_FAVORITES_EDIT}));
        else
            EXPECT_EQ(MenuIds(favorites), (std::vector<UINT>{ID_FAVORITES_ADD, ID_FAVORITES_EDIT}));
        HMENU options = FindPopup(bar, "&Options");
        ASSERT_NE(options, nullptr) << id;
        EXPECT_EQ(MenuText(options, 0), "&Pr\xE9\x66\xE9rences...        \t     F2");
        DestroyMenu(bar);
    }
}

TEST(Resources, ContextMenusStandAtTheirPositions)
{
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_CONTEXTMENUS));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 15);
    EXPECT_EQ(MenuIds(GetSubMenu(menu, CONTEXT_LOCAL_TOOLBAR)), std::vector<UINT>{ID_HIDE_LOCAL_TOOLBAR});
    EXPECT_EQ(MenuText(GetSubMenu(menu, CONTEXT_LOCAL_TOOLBAR), 0), "&Masquer");
    EXPECT_EQ(MenuIds(GetSubMenu(menu, CONTEXT_STANDARD_TOOLBAR)),
              std::vector<UINT>{ID_HIDE_STANDARD_TOOLBAR});
    EXPECT_EQ(MenuIds(GetSubMenu(menu, CONTEXT_FAVORITES)),
              (std::vector<UINT>{ID_FAVORITES_ADD, ID_FAVORITES_EDIT}));
    EXPECT_EQ(
        MenuIds(GetSubMenu(menu, CONTEXT_ARRANGEMENT)),
        (std::vector<UINT>{ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, 0, ID_WINDOW_REORGANIZE,
                           ID_WINDOW_AUTO_REORGANIZE, 0, ID_WINDOW_FULL, ID_WINDOW_MOSAIC}));
    EXPECT_EQ(MenuText(GetSubMenu(menu, CONTEXT_ARRANGEMENT), 1), "Mosa\xEFque");
    EXPECT_EQ(MenuIds(GetSubMenu(menu, CONTEXT_WEB)),
              (std::vector<UINT>{ID_WEB_HOME, ID_WEB_SUPPORT, ID_WEB_PRODUCT, ID_WEB_PRODUCTS}));
    EXPECT_EQ(MenuIds(GetSubMenu(menu, CONTEXT_LIBRARY_SELECTION)),
              (std::vector<UINT>{ID_LIB_SELECT_PATTERN, ID_LIB_DESELECT_PATTERN, 0, ID_LIB_SELECT_ALL,
                                 ID_LIB_DESELECT_ALL, ID_LIB_INVERT_SELECTION}));
    EXPECT_EQ(MenuIds(GetSubMenu(menu, CONTEXT_LIBRARY_TREE)),
              (std::vector<UINT>{ID_LIB_NEW_FOLDER, 0, ID_LIB_IMPORT, ID_LIB_RENAME, ID_LIB_PRINT,
                                 ID_LIB_SEARCH, 0, ID_LIB_DELETE, 0, ID_LIB_ADD_UNCOMPRESSED, ID_LIB_ADD_JPEG,
                                 ID_LIB_ADD_PNG, 0, ID_LIB_REFRESH}));
    EXPECT_EQ(
        MenuIds(GetSubMenu(menu, CONTEXT_EXPLORER_SELECTION)),
        (std::vector<UINT>{ID_EXPLORER_SELECT_PATTERN, ID_EXPLORER_DESELECT_PATTERN, 0,
                           ID_EXPLORER_SELECT_ALL, ID_EXPLORER_DESELECT_ALL, ID_EXPLORER_INVERT_SELECTION}));
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        EXPECT_GT(GetMenuItemCount(GetSubMenu(menu, i)), 0) << i;
    DestroyMenu(menu);
}

TEST(Resources, KeyboardTableHoldsItsKeysInOrder)
{
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[64] = {};
    int count = CopyAcceleratorTableA(table, entries, 64);
    const BYTE v = FVIRTKEY | FNOINVERT;
    const ACCEL expected[] = {
        {v | FCONTROL, 'E', ID_NEW_EXPLORER},
        {v | FCONTROL, 'O', ID_FILE_OPEN},
        {v | FCONTROL, 'P', ID_FILE_PRINT},
        {v | FCONTROL, 'S', ID_TWAIN_ACQUIRE},
        {v | FCONTROL, 'V', ID_EDIT_PASTE_NEW},
        {v, VK_F1, ID_HELP},
        {v | FALT, VK_F1, ID_HELP_WELCOME},
        {v | FSHIFT, VK_F1, ID_CONTEXT_HELP},
        {v, VK_F11, ID_WINDOW_AUTO_REORGANIZE},
        {v, VK_F12, ID_WINDOW_REORGANIZE},
        {v | FALT, VK_F12, ID_VIEW_LIBRARY_BAR},
        {v, VK_F2, ID_PREFERENCES},
        {v | FCONTROL, VK_F2, ID_VIEW_LOCAL_TOOLBAR},
        {v, VK_F3, ID_EXPLORER_ADD_TO_LIBRARY},
        {v | FCONTROL, VK_F3, ID_VIEW_STATUS_BAR},
        {v | FALT, VK_F5, ID_VIEW_ACTUAL_SIZE},
        {v, VK_F6, ID_LIB_ADD_UNCOMPRESSED},
        {v | FALT, VK_F6, ID_VIEW_PROPORTIONAL},
        {v, VK_F7, ID_LIB_ADD_JPEG},
        {v | FALT, VK_F7, ID_VIEW_FIT_WINDOW},
        {v, VK_F8, ID_LIB_ADD_PNG},
        {v, VK_F9, ID_VIEW_LIBRARY_BAR},
        {v | FCONTROL, VK_F9, ID_VIEW_TOOLBAR},
        {v | FSHIFT, VK_INSERT, ID_EDIT_PASTE_NEW},
    };
    ASSERT_EQ(count, 24);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].fVirt & ~0x80, expected[i].fVirt) << i;
        EXPECT_EQ(entries[i].key, expected[i].key) << i;
        EXPECT_EQ(entries[i].cmd, expected[i].cmd) << i;
    }
    EXPECT_EQ(ID_NEW_EXPLORER, 32971);
    EXPECT_EQ(ID_PREFERENCES, 32795);
    EXPECT_EQ(ID_VIEW_TOOLBAR, 59392);
    DestroyAcceleratorTable(table);
}

TEST(Resources, ToolBarsMatchTheirBitmaps)
{
    struct Bar {
        UINT id;
        WORD width;
        WORD height;
        int extraImages;
    } bars[] = {{IDR_MAINFRAME, 19, 17, 0},
                {IDR_EXPLORERTYPE, 17, 16, 0},
                {IDR_SEARCHTYPE, 17, 16, 0},
                {IDR_DIBTYPE, 17, 16, 0},
                {IDR_GIFTYPE, 16, 16, 1}};
    for (const Bar& bar : bars) {
        std::vector<WORD> words = ToolBarWords(bar.id);
        ASSERT_GE(words.size(), 4u) << bar.id;
        EXPECT_EQ(words[0], 1) << bar.id;
        EXPECT_EQ(words[1], bar.width) << bar.id;
        EXPECT_EQ(words[2], bar.height) << bar.id;
        ASSERT_EQ(words.size(), 4u + words[3]) << bar.id;
        int buttons = 0;
        for (size_t i = 4; i < words.size(); ++i)
            buttons += words[i] != 0;
        BitmapInfo image = LoadBitmapInfo(bar.id);
        EXPECT_EQ(image.width, bar.width * (buttons + bar.extraImages)) << bar.id;
        EXPECT_EQ(image.height, bar.height) << bar.id;
    }
    std::vector<WORD> main = ToolBarWords(IDR_MAINFRAME);
    EXPECT_EQ(std::vector<WORD>(main.begin() + 4, main.end()),
              (std::vector<WORD>{32971, 57601, 0, 33037, 33040, 0, 33030, 57607, 0, 32911, 32975, 32850, 0,
                                 32861, 57666, 32914}));
    std::vector<WORD> animation = ToolBarWords(IDR_GIFTYPE);
    EXPECT_EQ(std::vector<WORD>(animation.begin() + 4, animation.end()),
              (std::vector<WORD>{33024, 57604, 0, 57634, 0, 32789, 32792, 32791, 0, 32810, 32812, 32814, 0,
                                 32773, 32806, 0, 32905, 32818}));
}

TEST(Resources, IconsLoadAtBothSizesAndAreDrawn)
{
    const UINT icons[] = {
        IDR_MAINFRAME,  IDR_EXPLORERTYPE,       IDR_DIBTYPE,          IDR_GIFTYPE,       IDR_PRINTLIBTYPE,
        IDR_SEARCHTYPE, IDI_PICTURE_UNREADABLE, IDI_RESIZE_LEFTRIGHT, IDI_RESIZE_UPDOWN, IDI_GENERIC_FILE};
    for (UINT id : icons) {
        for (int size : {32, 16}) {
            HICON icon =
                static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << id << " at " << size;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm = {};
            GetObjectA(info.hbmColor, sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, size) << id;
            EXPECT_EQ(bm.bmHeight, size) << id;
            // Drawn onto magenta, the icon covers a good part of its square with several colours.
            HDC screen = GetDC(nullptr);
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP canvas = CreateCompatibleBitmap(screen, size, size);
            HGDIOBJ old = SelectObject(dc, canvas);
            RECT all = {0, 0, size, size};
            HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
            FillRect(dc, &all, magenta);
            DeleteObject(magenta);
            DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            std::set<COLORREF> colours;
            int covered = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    COLORREF c = GetPixel(dc, x, y);
                    colours.insert(c);
                    covered += c != RGB(255, 0, 255);
                }
            }
            EXPECT_GT(covered, size * size / 4) << id << " at " << size;
            EXPECT_GT(colours.size(), 4u) << id << " at " << size;
            SelectObject(dc, old);
            DeleteObject(canvas);
            DeleteDC(dc);
            ReleaseDC(nullptr, screen);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(Resources, CursorsLoadWithTheirHotSpots)
{
    struct Cursor {
        UINT id;
        DWORD x;
        DWORD y;
    } cursors[] = {{IDCUR_APP_ARROW, 1, 1},       {IDCUR_DRAG_MOVE_ONE, 1, 1},  {IDCUR_DRAG_MOVE_MANY, 1, 1},
                   {IDCUR_DRAG_COPY_ONE, 1, 1},   {IDCUR_DRAG_COPY_MANY, 1, 1}, {IDCUR_DRAG_NO_DROP, 16, 16},
                   {IDCUR_PICTURE_POINT, 16, 16}, {IDCUR_ZOOM, 13, 13},         {IDCUR_HAND, 11, 3},
                   {IDCUR_BUSY, 16, 16},          {IDCUR_BUSY_ARROW, 1, 1}};
    for (const Cursor& c : cursors) {
        HCURSOR cursor = LoadCursorA(Module(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(cursor, nullptr) << c.id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info)) << c.id;
        EXPECT_FALSE(info.fIcon) << c.id;
        EXPECT_EQ(info.xHotspot, c.x) << c.id;
        EXPECT_EQ(info.yHotspot, c.y) << c.id;
        BITMAP bm = {};
        GetObjectA(info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, 32) << c.id;
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST(Resources, BitmapsHaveTheSizesTheirUsersCut)
{
    struct Expected {
        UINT id;
        int width;
        int height;
    } bitmaps[] = {{IDB_FILETYPES, 16 * FILETYPE_IMAGE_COUNT, 16},
                   {IDB_GAUGE, 11, 14},
                   {IDB_STATUS_ICONS, 130, 12},
                   {IDB_COOLBAR_NORMAL, 28 * 11, 20},
                   {IDB_COOLBAR_HOT, 28 * 11, 20},
                   {IDB_COOLBAR_DISABLED, 28 * 11, 20},
                   {IDB_LOGO_ANIMATION, 30 * 40, 40},
                   {IDB_LOGO_ANIMATION16, 30 * 40, 40},
                   {IDB_CHECKERBOARD, 8, 8},
                   {IDB_DIGITS, 144, 15},
                   {IDB_COLOR_ARROW, 46, 14}};
    for (const Expected& e : bitmaps) {
        BitmapInfo info = LoadBitmapInfo(e.id);
        EXPECT_EQ(info.width, e.width) << e.id;
        EXPECT_EQ(info.height, e.height) << e.id;
    }
    EXPECT_EQ(LoadBitmapInfo(IDB_LOGO_ANIMATION16).bits, 4);
    EXPECT_EQ(LoadBitmapInfo(IDB_CHECKERBOARD).bits, 4);
    EXPECT_GT(LoadBitmapInfo(IDB_COOLBAR_BACKGROUND).width, 0);
}

TEST(Resources, FileTypeImagesAreDrawnExceptTheUnusedThird)
{
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels = BitmapPixels(IDB_FILETYPES, &width, &height);
    ASSERT_EQ(width, 16 * FILETYPE_IMAGE_COUNT);
    const COLORREF magenta = RGB(255, 0, 255);
    for (int image = 0; image < FILETYPE_IMAGE_COUNT; ++image) {
        size_t colours = CellColours(pixels, width, image * 16, 16, height, magenta);
        if (image == 2)
            EXPECT_EQ(colours, 0u);
        else
            EXPECT_GT(colours, 3u) << "image " << image;
    }
}

TEST(Resources, LogoFramesAllDifferAndTheCheckerboardAlternates)
{
    int width = 0;
    int height = 0;
    std::vector<COLORREF> strip = BitmapPixels(IDB_LOGO_ANIMATION, &width, &height);
    ASSERT_EQ(width, 1200);
    std::set<std::vector<COLORREF>> frames;
    for (int f = 0; f < 30; ++f) {
        std::vector<COLORREF> frame;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                frame.push_back(strip[static_cast<size_t>(y) * width + f * 40 + x]);
        frames.insert(frame);
    }
    EXPECT_GE(frames.size(), 28u); // two pairs of edge-on frames may coincide

    std::vector<COLORREF> board = BitmapPixels(IDB_CHECKERBOARD, &width, &height);
    ASSERT_EQ(board.size(), 64u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(board[y * 8 + x], (x + y) % 2 ? RGB(192, 192, 192) : RGB(255, 255, 255));
}

TEST(Resources, OpenPreviewTemplateHoldsItsThreeControls)
{
    HWND owner =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, Module(), nullptr);
    ASSERT_NE(owner, nullptr);
    HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_OPEN_PREVIEW), owner, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD);
    EXPECT_NE(GetDlgItem(dialog, IDC_OPEN_STANDARD_AREA), nullptr);
    HWND box = GetDlgItem(dialog, IDC_OPEN_PREVIEW_BOX);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    char text[64] = {};
    GetDlgItemTextA(dialog, IDC_OPEN_SHOW_PREVIEW, text, sizeof(text));
    EXPECT_STREQ(text, "&Afficher l'aper\xE7u");
    DestroyWindow(dialog);
    DestroyWindow(owner);
}

// ---- Texts that core and formats load by id, and the title picture ----

// The texts the picture code loads by id, as the program's own wording in Windows-1252. Where
// the code carries a built-in copy, the tests below also compare the two directly.
const struct {
    UINT id;
    const char* text;
} kCodeTexts[] = {
    {IDS_PROGRESS_JPEG_READ, "Lecture JPEG..."},
    {IDS_PROGRESS_JPEG_WRITE, "Ecriture JPEG..."},
    {IDS_PROGRESS_COPY, "Copie en cours..."},
    {IDS_PROGRESS_PNG_WRITE, "Ecriture PNG..."},
    {IDS_PROGRESS_BMP_WRITE, "Ecriture BMP..."},
    {IDS_PROGRESS_BMP_READ, "Lecture BMP..."},
    {IDS_PROGRESS_PASTE, "Collage..."},
    {IDS_FILESIZE_BYTES, "%s octets (%s octets)"},
    {IDS_FILESIZE_KB, "%s Ko (%s octets)"},
    {IDS_FILESIZE_MB, "%s Mo (%s octets)"},
    {IDS_FILE_DATE, "le %02d/%02d/%04d \xE0 %02d:%02d:%02d"},
    {IDS_FILESIZE_BYTES_SHORT, "%s octets"},
    {IDS_FILESIZE_KB_SHORT, "%s Ko"},
    {IDS_FILESIZE_MB_SHORT, "%s Mo"},
    {IDS_DEPTH_MONO, "Mono"},
    {IDS_DEPTH_16, "16 couleurs"},
    {IDS_DEPTH_256, "256 couleurs"},
    {IDS_DEPTH_32768, "32768 colors"},
    {IDS_DEPTH_65536, "65536 couleurs"},
    {IDS_DEPTH_16M, "16,8M couleurs"},
    {IDS_DEPTH_32, "16,8M colors (24 bits)"},
    {IDS_TYPE_UNKNOWN, "(ind\xE9\x66ini)"},
    {IDS_TYPE_ZSV, "Projet d'\xE9\x63onomiseur d'\xE9\x63ran Orvanel"},
    {IDS_TYPE_QTIF, "Fichier Image Apple QuickTime "},
    {IDS_COPY_CANNOT_OPEN_SOURCE, "Impossible d'ouvrir le fichier source."},
    {IDS_COPY_CANNOT_CREATE_TARGET,
     "Impossible de cr\xE9\x65r le fichier destination. V\xE9rifiez que l'unit\xE9 cible soit valide et non "
     "prot\xE9g\xE9\x65 en \xE9\x63riture."},
    {IDS_COPY_READ_ERROR, "Erreur lors de la lecture du fichier source."},
    {IDS_COPY_WRITE_ERROR,
     "Erreur lors de l'\xE9\x63riture du fichier. Verifiez que l'unit\xE9 de destination contienne "
     "sufisamment d'espace libre pour accueillir le rassemblement."},
};

// Gauge captions as the picture code reports them.
class GaugeTexts : public IProgressSink {
public:
    GaugeTexts() : m_report(g_bReportProgress)
    {
        g_bReportProgress = TRUE;
        SetProgressSink(this);
    }
    ~GaugeTexts() override
    {
        SetProgressSink(nullptr);
        g_bReportProgress = m_report;
    }
    void BeginProgress(LPCSTR text) override { begun.push_back(text != nullptr ? text : "<null>"); }
    void SetProgress(DWORD, DWORD) override {}
    void EndProgress() override { ++ended; }
    // The captions begun since the last call.
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(begun);
        return taken;
    }

    std::vector<std::string> begun;
    int ended = 0;

private:
    BOOL m_report;
};

// A copy of this test program with all its resources taken out, made the resource module while
// it lives: the code then finds no string table and falls back on its built-in texts.
class ModuleWithoutResources {
public:
    explicit ModuleWithoutResources(const testpaths::TempDir& dir)
    {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        const std::string copy = dir.File("bare.exe");
        if (!CopyFileA(self, copy.c_str(), FALSE))
            return;
        HANDLE update = BeginUpdateResourceA(copy.c_str(), TRUE);
        if (update == nullptr || !EndUpdateResourceA(update, FALSE))
            return;
        m_module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (m_module != nullptr) {
            m_previous = AfxGetResourceHandle();
            AfxSetResourceHandle(m_module);
        }
    }
    ~ModuleWithoutResources()
    {
        if (m_module != nullptr) {
            AfxSetResourceHandle(m_previous);
            FreeLibrary(m_module);
        }
    }
    bool Ok() const { return m_module != nullptr; }

private:
    HMODULE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

// The text of the copy's Abort/Retry/Ignore box for that message id (Abort is pressed).
std::string FileErrorText(UINT id, LPCSTR path)
{
    AfxTestArm();
    AfxScriptMessageBox(IDABORT);
    const int answer = AskFileErrorRetry(id, path, ERROR_SUCCESS);
    const auto& boxes = AfxTestRecords().messageBoxes;
    std::string text = boxes.empty() ? "<no box>" : boxes.back().text;
    AfxTestReset();
    EXPECT_EQ(answer, IDABORT) << id;
    return text;
}

// The caption of the dithered copy's gauge.
std::string DitheredCopyCaption()
{
    GaugeTexts gauge;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, canvas);
    {
        CDC dc;
        dc.Attach(memory);
        DrawDitheredCopy(&dc, 0, 0, 1, 1, &dc, 0, 0, 1, 1, 24);
        SelectObject(dc.Detach(), old);
    }
    DeleteDC(memory);
    DeleteObject(canvas);
    std::vector<std::string> captions = gauge.Take();
    return captions.size() == 1 ? captions[0] : "<" + std::to_string(captions.size()) + " captions>";
}

// A small 24-bit picture: a colour ramp.
PackedDIB RampPicture(int width, int height)
{
    PackedDIB dib = CreateDIB(width, height, 24);
    if (dib == nullptr)
        return nullptr;
    void* header = GlobalLock(dib);
    BYTE* bits = FindDIBBits(header);
    const DWORD stride = DIBRowBytes(width, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE* p = bits + y * stride + x * 3;
            p[0] = BYTE(x * 255 / width);
            p[1] = BYTE(y * 255 / height);
            p[2] = 128;
        }
    }
    GlobalUnlock(dib);
    return dib;
}

struct PictureSize {
    int width = 0;
    int height = 0;
    int bits = 0;
};

PictureSize SizeOf(PackedDIB dib)
{
    PictureSize size;
    if (const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib))) {
        size.width = header->biWidth;
        size.height = header->biHeight;
        size.bits = header->biBitCount;
        GlobalUnlock(dib);
    }
    return size;
}

TEST(Resources, TextsLoadedByThePictureCodeAreInTheStringTable)
{
    for (const auto& entry : kCodeTexts)
        EXPECT_EQ(LoadText(entry.id), entry.text) << entry.id;
    // The JPEG writer's message has no text of its own: the box shows the path under a blank line.
    EXPECT_EQ(LoadText(IDS_SAVE_JPEG_CANNOT_CREATE), "");
    static_assert(IDS_SAVE_JPEG_CANNOT_CREATE == IDS_JPEG_CANNOT_CREATE, "the writer's message id");
    static_assert(IDS_PROGRESS_JPEG_READ == IDS_JPEG_READING && IDS_PROGRESS_JPEG_WRITE == IDS_JPEG_WRITING
                      && IDS_PROGRESS_PNG_WRITE == IDS_PNG_WRITING,
                  "the readers' and writers' gauge ids");
}

TEST(Resources, FileTypeDescriptionsEqualTheBuiltInTexts)
{
    std::vector<int> codes = {kFileTypeDEL};
    for (int code = 0; code <= kFileTypeSWF; ++code)
        codes.push_back(code);
    for (int code : codes) {
        const std::string builtIn = GetFileTypeDescriptionText(code);
        ASSERT_FALSE(builtIn.empty()) << code;
        EXPECT_EQ(LoadText(GetFileTypeDescriptionId(code)), builtIn) << "type " << code;
    }
    CString text;
    GetFileTypeDescription(text, "C:\\Images\\Photo.JpEg");
    EXPECT_STREQ(text, "Image JPEG");
    GetFileTypeDescription(text, "archive.del");
    EXPECT_STREQ(text, "(ind\xE9\x66ini)");
    GetFileTypeDescription(text, "clip.wmv");
    EXPECT_STREQ(text, "Fichier Windows Media Video");
}

TEST(Resources, CopyMessagesAndPasteGaugeEqualTheBuiltInTexts)
{
    const UINT messages[] = {IDS_COPY_CANNOT_OPEN_SOURCE, IDS_COPY_CANNOT_CREATE_TARGET, IDS_COPY_READ_ERROR,
                             IDS_COPY_WRITE_ERROR};
    const char path[] = "C:\\Images\\chat.bmp";
    std::vector<std::string> fromTable;
    for (UINT id : messages) {
        fromTable.push_back(FileErrorText(id, path));
        EXPECT_EQ(fromTable.back(), LoadText(id) + "\n" + path);
    }
    const std::string pasteFromTable = DitheredCopyCaption();
    EXPECT_EQ(pasteFromTable, "Collage...");

    testpaths::TempDir dir;
    ModuleWithoutResources bare(dir);
    ASSERT_TRUE(bare.Ok());
    CString probe;
    ASSERT_FALSE(probe.LoadString(IDS_COPY_READ_ERROR)); // the built-in texts are now in use
    for (size_t i = 0; i < fromTable.size(); ++i)
        EXPECT_EQ(FileErrorText(messages[i], path), fromTable[i]) << messages[i];
    EXPECT_EQ(DitheredCopyCaption(), pasteFromTable);
}

TEST(Resources, SizeDateAndDepthTextsFromTheTableGiveTheProgramsWording)
{
    EXPECT_STREQ(FormatFileSize(0), "0 octets (0 octets)");
    EXPECT_STREQ(FormatFileSize(1536), "1,51 Ko (1 536 octets)");
    EXPECT_STREQ(FormatFileSize(5767168), "5,51 Mo (5 767 168 octets)");
    EXPECT_STREQ(FormatFileSizeShort(1023), "1023 octets");
    EXPECT_STREQ(FormatFileSizeShort(1524), "1,5 Ko");
    EXPECT_STREQ(FormatFileSizeShort(1048576), "1 Mo");
    EXPECT_STREQ(FormatDosDateTime(0x2B21, 0x6000), "le 01/09/2001 \xE0 12:00:00");
    EXPECT_STREQ(GetColorDepthName(1), "Mono");
    EXPECT_STREQ(GetColorDepthName(15), "32768 colors");
    EXPECT_STREQ(GetColorDepthName(24), "16,8M couleurs");
    EXPECT_STREQ(GetColorDepthName(32), "16,8M colors (24 bits)");
    EXPECT_STREQ(GetColorDepthName(2), "?");
}

TEST(Resources, ReadersWritersAndCopyCaptionTheirGauges)
{
    testpaths::TempDir dir;
    PackedDIB picture = RampPicture(40, 30);
    ASSERT_NE(picture, nullptr);
    GaugeTexts gauge;
    const std::string bmp = dir.File("ramp.bmp");
    const std::string jpeg = dir.File("ramp.jpg");
    const std::string png = dir.File("ramp.png");

    EXPECT_EQ(SaveDIBFile(picture, bmp.c_str()), kSaveDIBOk);
    EXPECT_EQ(gauge.Take(), std::vector<std::string>{"Ecriture BMP..."});
    PackedDIB loaded = LoadBMPFile(bmp.c_str());
    EXPECT_NE(loaded, nullptr);
    GlobalFreeHandle(loaded);
    EXPECT_EQ(gauge.Take(), std::vector<std::string>{"Lecture BMP..."});

    EXPECT_EQ(SaveJPEG(picture, jpeg.c_str(), 75), kSaveJPEGDone);
    EXPECT_EQ(gauge.Take(), std::vector<std::string>{"Ecriture JPEG..."});
    loaded = LoadJPEG(jpeg.c_str());
    EXPECT_NE(loaded, nullptr);
    GlobalFreeHandle(loaded);
    EXPECT_EQ(gauge.Take(), std::vector<std::string>{"Lecture JPEG..."});

    EXPECT_EQ(SavePNG(picture, png.c_str()), kSavePNGDone);
    EXPECT_EQ(gauge.Take(), std::vector<std::string>{"Ecriture PNG..."});

    EXPECT_EQ(CopyFileWithProgress(bmp.c_str(), dir.File("copy.bmp").c_str()), 0);
    EXPECT_EQ(gauge.Take(), std::vector<std::string>{"Copie en cours..."});
    EXPECT_EQ(gauge.ended, 6);

    // A JPEG that cannot be created: the box names the picture as the user knows it (not a temporary
    // file written for it, nor in capitals) under an empty line, then says why in the program's words.
    SetFileCauseWords(FileCauseText);
    const std::string missing = dir.File("absent\\photo.jpg");
    const std::string temp = dir.File("absent\\~TSR73F1.TMP");
    AfxTestArm();
    AfxScriptMessageBox(IDABORT);
    AfxScriptMessageBox(IDABORT);
    EXPECT_EQ(SaveJPEG(picture, missing.c_str(), 75), kSaveJPEGAborted);
    EXPECT_EQ(SaveJPEG(picture, temp.c_str(), 75, missing.c_str()), kSaveJPEGAborted);
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 2u);
    for (const auto& box : AfxTestRecords().messageBoxes)
        EXPECT_EQ(box.text, "\n" + missing + "\nLe chemin d'acc\xE8s est introuvable.");
    SetFileCauseWords(nullptr);
    AfxTestReset();
    GlobalFreeHandle(picture);
}

TEST(Resources, TitlePictureIsAJfifFileOfTheSplashSize)
{
    static_assert(RT_JPEG_TYPE == JPEG_RESOURCE_TYPE, "the loaders' resource type");
    HRSRC found =
        FindResourceA(Module(), MAKEINTRESOURCEA(IDJ_TITLE_PICTURE), MAKEINTRESOURCEA(RT_JPEG_TYPE));
    ASSERT_NE(found, nullptr);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(Module(), found)));
    const DWORD size = SizeofResource(Module(), found);
    ASSERT_GT(size, 4000u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), 4), "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data) + 6, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(data[size - 2], 0xFF);
    EXPECT_EQ(data[size - 1], 0xD9);

    // As the splash window and the About box load it: 529 x 169, full colour on a true-colour screen.
    const int savedColours = g_CouleursJPEG;
    g_CouleursJPEG = 2;
    SetScreenBitsPerPixelForTest(32);
    PackedDIB picture = LoadJPEGResourceById(nullptr, IDJ_TITLE_PICTURE);
    ASSERT_NE(picture, nullptr);
    const PictureSize loaded = SizeOf(picture);
    EXPECT_EQ(loaded.width, 529);
    EXPECT_EQ(loaded.height, 169);
    EXPECT_EQ(loaded.bits, 24);

    // A gradient from dark on the left to light on the right, with the light letters of the name
    // across the middle.
    const BYTE* header = static_cast<const BYTE*>(GlobalLock(picture));
    const BYTE* bits = FindDIBBits(header);
    const DWORD stride = DIBRowBytes(529, 24);
    auto brightness = [&](int x, int yFromTop) {
        const BYTE* p = bits + (168 - yFromTop) * stride + x * 3;
        return p[0] + p[1] + p[2];
    };
    EXPECT_LT(brightness(2, 10) + 120, brightness(526, 10));
    int light = 0;
    for (int y = 40; y < 110; ++y)
        for (int x = 60; x < 470; ++x)
            light += brightness(x, y) > 3 * 225;
    EXPECT_GT(light, 2000);
    GlobalUnlock(picture);
    GlobalFreeHandle(picture);

    // On a 16-colour screen the loader reduces it to the eight-colour ramp.
    SetScreenBitsPerPixelForTest(4);
    picture = LoadJPEGResourceById(nullptr, IDJ_TITLE_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(SizeOf(picture).bits, 8);
    EXPECT_EQ(SizeOf(picture).width, 529);
    GlobalFreeHandle(picture);
    SetScreenBitsPerPixelForTest(0);
    g_CouleursJPEG = savedColours;
}

} // namespace
