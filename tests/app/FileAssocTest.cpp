// File associations in the throwaway prefix's registry: a row found again after it is written and
// broken by any change of its three compared values, the masks of the check and the registration, the
// icon each kind names in the program file, the types dialog's mask, and the small icon of any file.
#include "tests/app/AppFixture.h"

#include "app/FileAssoc.h"
#include "core/FileTypes.h"
#include "framework/TestSeams.h"
#include "resources/resource.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

void SetDefault(const std::string& key, const std::string& value)
{
    ::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
}

std::string GetDefault(const std::string& key)
{
    char value[600];
    if (!RegQueryDefaultValue(HKEY_CLASSES_ROOT, key.c_str(), value, sizeof(value)))
        return "<none>";
    return value;
}

std::string ProgramPath() { return static_cast<LPCSTR>(AssociationProgramPath()); }

// The pixels of an icon drawn at 32 x 32 on white.
std::vector<COLORREF> IconPixels(HICON hIcon)
{
    HDC hdcScreen = ::GetDC(nullptr);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, 32, 32);
    ::ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    RECT rect = {0, 0, 32, 32};
    ::FillRect(hdc, &rect, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIconEx(hdc, 0, 0, hIcon, 32, 32, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; y += 3)
        for (int x = 0; x < 32; x += 3)
            pixels.push_back(::GetPixel(hdc, x, y));
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    return pixels;
}

} // namespace

TEST(FileAssociations, ARowWrittenIsFoundAgainAndEachComparedValueBreaksIt)
{
    SetAssociation("zzqa", "zzqa", 2, IDS_TYPE_JPEG);
    EXPECT_TRUE(IsAssociated("zzqa", "zzqa", 2));
    EXPECT_EQ(GetDefault(".zzqa"), "zzqafile");
    EXPECT_EQ(GetDefault("zzqafile"), "Image JPEG");
    EXPECT_EQ(GetDefault("zzqafile\\shell\\open\\command"), "\"" + ProgramPath() + "\" %1");
    EXPECT_EQ(GetDefault("zzqafile\\DefaultIcon"), ProgramPath() + ",2");
    EXPECT_FALSE(IsAssociated("zzqa", "zzqa", 3)); // another icon

    // Another case is the same class; the description is not compared.
    SetDefault(".zzqa", "ZZQAFILE");
    SetDefault("zzqafile", "quelque chose");
    EXPECT_TRUE(IsAssociated("zzqa", "zzqa", 2));

    SetDefault(".zzqa", "otherfile");
    EXPECT_FALSE(IsAssociated("zzqa", "zzqa", 2));
    SetAssociation("zzqa", "zzqa", 2, IDS_TYPE_JPEG);
    SetDefault("zzqafile\\shell\\open\\command", "\"c:\\autre.exe\" %1");
    EXPECT_FALSE(IsAssociated("zzqa", "zzqa", 2));
    SetAssociation("zzqa", "zzqa", 2, IDS_TYPE_JPEG);
    SetDefault("zzqafile\\DefaultIcon", "c:\\autre.exe,2");
    EXPECT_FALSE(IsAssociated("zzqa", "zzqa", 2));
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, ".zzqa");
    EXPECT_FALSE(IsAssociated("zzqa", "zzqa", 2));
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, "zzqafile");
}

TEST(FileAssociations, TheMaskChoosesTheRowsCheckedAndWritten)
{
    // Not wanted: everything counts as in place and nothing is written.
    SetDefault(".rle", "markerfile");
    SetDefault(".jif", "markerfile");
    EXPECT_TRUE(CheckAssociationRows(FALSE, -1));
    RegisterAssociationRows(FALSE, -1);
    EXPECT_EQ(GetDefault(".jif"), "markerfile");

    // JPEG only: the five JPEG extensions, and nothing else.
    EXPECT_FALSE(CheckAssociationRows(TRUE, 0x002));
    RegisterAssociationRows(TRUE, 0x002);
    EXPECT_TRUE(CheckAssociationRows(TRUE, 0x002));
    for (const char* ext : {"jpg", "jpe", "jpeg", "jif", "jfif"})
        EXPECT_EQ(GetDefault(std::string(".") + ext), "jpgfile") << ext;
    EXPECT_EQ(GetDefault(".rle"), "markerfile");
    EXPECT_FALSE(CheckAssociationRows(TRUE, 0x003));
    // A JPEG key taken by another program fails the check until registered again.
    SetDefault(".jif", "someoneelsefile");
    EXPECT_FALSE(CheckAssociationRows(TRUE, 0x002));
    RegisterAssociationRows(TRUE, 0x002);
    EXPECT_TRUE(CheckAssociationRows(TRUE, 0x002));
    EXPECT_TRUE(IsAssociated("jif", "jpg", 2));
}

TEST(FileAssociations, EveryKindNamesItsOwnIconInTheProgramFile)
{
    std::string exe = ProgramPath();
    int count = 0;
    const AssociationRow* rows = AssociationTable(&count);
    ASSERT_EQ(count, 22);
    std::vector<std::vector<COLORREF>> seen;
    for (int i = 0; i < count; i++) {
        int n = rows[i].iconIndex;
        HICON hShell = nullptr;
        ASSERT_EQ(::ExtractIconExA(exe.c_str(), n, &hShell, nullptr, 1), 1u) << n;
        HICON hOwn = static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2 + n), IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(hOwn, nullptr) << n;
        std::vector<COLORREF> shell = IconPixels(hShell);
        EXPECT_EQ(shell, IconPixels(hOwn)) << rows[i].extension;
        if (i == 0 || rows[i].iconIndex != rows[i - 1].iconIndex)
            seen.push_back(shell);
        ::DestroyIcon(hShell);
        ::DestroyIcon(hOwn);
    }
    // Twelve different pictures.
    ASSERT_EQ(seen.size(), 12u);
    for (size_t a = 0; a < seen.size(); a++)
        for (size_t b = a + 1; b < seen.size(); b++)
            EXPECT_NE(seen[a], seen[b]) << a << " " << b;
}

TEST(FileAssociations, TypesDialogMaskKeepsOnlyTheElevenKinds)
{
    CDocTypesDlg dlg;
    dlg.SetFromMask(0x281);
    EXPECT_TRUE(dlg.m_bTypes[0]);
    EXPECT_FALSE(dlg.m_bTypes[1]);
    EXPECT_EQ(dlg.GetMask(), 0x081);
    dlg.SetFromMask(-1);
    EXPECT_EQ(dlg.GetMask(), 0xDFF);
}

TEST_F(AppTest, FileIconsForFoldersKnownTypesAndRegisteredClasses)
{
    ASSERT_TRUE(Start());
    LPCSTR description = "untouched";
    EXPECT_EQ(GetFileTypeIconIndex(m_temp.Path().c_str(), &description), FILETYPE_IMAGE_FOLDER);
    EXPECT_EQ(GetFileTypeIconIndex("c:\\docs\\readme", &description), 0);
    EXPECT_EQ(description, nullptr);
    EXPECT_EQ(GetFileTypeIconIndex("c:\\a.jpg", nullptr), GetFileTypeFromExt("jpg") + 1);

    // An extension of another program: its class's icon, added to the list once.
    std::string exe = ProgramPath();
    SetDefault(".zzxy", "zzxyfile");
    SetDefault("zzxyfile", "Notes ZZXY");
    SetDefault("zzxyfile\\DefaultIcon", exe + ",2");
    int before = ImageList_GetImageCount(g_imlFileTypes.GetSafeHandle());
    LPCSTR first = nullptr;
    int index = GetFileTypeIconIndex("c:\\notes.zzxy", &first);
    EXPECT_EQ(index, before);
    EXPECT_EQ(ImageList_GetImageCount(g_imlFileTypes.GetSafeHandle()), before + 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first), "Notes ZZXY");
    // The second file of that kind does not read the registry again.
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, ".zzxy");
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, "zzxyfile");
    LPCSTR second = nullptr;
    EXPECT_EQ(GetFileTypeIconIndex("c:\\autre.ZZXY", &second), index);
    EXPECT_EQ(second, first);
    EXPECT_EQ(ImageList_GetImageCount(g_imlFileTypes.GetSafeHandle()), before + 1);

    // No class: no icon, nothing kept, so a class registered later is found.
    EXPECT_EQ(GetFileTypeIconIndex("c:\\x.qqqz", nullptr), 0);
    SetDefault(".qqqz", "qqqzfile");
    SetDefault("qqqzfile\\shell\\Open\\command", "\"" + exe + "\" %1");
    EXPECT_GT(GetFileTypeIconIndex("c:\\x.qqqz", nullptr), 0);
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, ".qqqz");
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, "qqqzfile");
    FreeFileIconCache();
}
