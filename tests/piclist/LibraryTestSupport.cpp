#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "core/DIB.h"
#include "core/PackedDib.h"
#include "framework/TestSeams.h"
#include "piclist/LibraryState.h"
#include "piclist/PicObject.h"
#include "piclist/PictureRename.h"
#include "piclist/SafeFileOps.h"

namespace libtest {

namespace {

void Walk(const std::string& base, const std::string& rel, std::map<std::string, std::string>& out)
{
    WIN32_FIND_DATAA fd;
    std::string folder = rel.empty() ? base : base + "\\" + rel;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string child = rel.empty() ? name : rel + "\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[child] = "<dir>";
            Walk(base, child, out);
        } else {
            out[child] = testpaths::ReadBytes(base + "\\" + child);
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

} // namespace

std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> out;
    Walk(folder, "", out);
    return out;
}

HGLOBAL MakePicture(int width, int height, int seed)
{
    PackedDIB dib = CreateDIB(width, height, 24);
    BYTE* p = static_cast<BYTE*>(GlobalLock(dib));
    BYTE* bits = p + sizeof(BITMAPINFOHEADER);
    const DWORD row = DIBRowBytes(width, 24);
    for (int y = 0; y < height; ++y)
        for (DWORD x = 0; x < row; ++x)
            bits[y * row + x] = static_cast<BYTE>((x * 7 + y * 13 + seed * 31) & 0xFF);
    GlobalUnlock(dib);
    return dib;
}

bool WriteBmp(const std::string& path, int width, int height, int seed)
{
    HGLOBAL dib = MakePicture(width, height, seed);
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib));
    const DWORD n = sizeof(BITMAPINFOHEADER) + DIBRowBytes(width, 24) * height;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfSize = sizeof(fh) + n;
    fh.bfOffBits = sizeof(fh) + sizeof(BITMAPINFOHEADER);
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
    bytes.append(reinterpret_cast<const char*>(p), n);
    GlobalUnlock(dib);
    GlobalFree(dib);
    return testpaths::WriteBytes(path, bytes);
}

void SetWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

void FillRecord(CPicObject& record, const std::string& picturePath)
{
    record.m_strPath = picturePath.c_str();
    std::string name = picturePath.substr(picturePath.rfind('\\') + 1);
    record.m_strFileName = name.c_str();
    record.m_strInfo = "(2 k - 05/06/01)";
    record.m_strComment = "Au bord du lac, \xE9t\xE9 2001";
    record.m_strAuthor = "Ren\xE9";
    record.m_strKeywords = "lac,montagne";
    record.m_nType = 5;
    record.m_nWidth = 640;
    record.m_nHeight = 480;
    record.m_nBitCount = 24;
    record.m_dwDateTime = 0x2AC56000;
    record.m_lFileSize = 2048;
    std::string base = name.substr(0, name.rfind('.'));
    record.m_strBaseName = base.c_str();
    record.m_strExt = "bmp";
    record.m_wDosDate = 0x2AC5;
    record.m_wDosTime = 0x6000;
    record.m_pThumbDIB = new CDIB;
    record.m_pThumbDIB->Attach(MakePicture(8, 6, 3));
    record.m_nThumbWidth = 8;
    record.m_nThumbHeight = 6;
    record.m_nThumbState = 1;
}

void LibraryStore::SetUp()
{
    Save();
    g_strLibraryRoot = (m_dir.Path() + "\\").c_str();
    DisarmFileFault();
    ResetUi();
}

void LibraryStore::TearDown()
{
    DisarmFileFault();
    AfxTestReset();
    Restore();
}

void LibraryStore::Save()
{
    m_saved = {g_strLibraryRoot, g_ProtectedPics,         g_LibrarianLastPath,   g_bProtectedUnlocked,
               g_bRenameZeroPad, g_LibBarTypeCompression, g_LibrarianSeparatorH, g_LibrarianSeparatorV,
               g_LibBarSizeH,    g_ShowInfoSuppress};
}

void LibraryStore::Restore() const
{
    g_strLibraryRoot = m_saved.root;
    g_ProtectedPics = m_saved.protectedPassword;
    g_LibrarianLastPath = m_saved.lastPath;
    g_bProtectedUnlocked = m_saved.protectedUnlocked;
    g_bRenameZeroPad = m_saved.renameZeroPad;
    g_LibBarTypeCompression = m_saved.typeCompression;
    g_LibrarianSeparatorH = m_saved.separatorH;
    g_LibrarianSeparatorV = m_saved.separatorV;
    g_LibBarSizeH = m_saved.barWidth;
    g_ShowInfoSuppress = m_saved.deleteNotice;
}

std::string LibraryStore::Trash() const { return m_dir.Path() + "\\El\xE9ments Supprim\xE9s\\"; }

size_t LibraryStore::Messages() const { return AfxTestRecords().messageBoxes.size(); }

void LibraryStore::ResetUi()
{
    AfxTestReset();
    AfxTestArm();
}

} // namespace libtest
