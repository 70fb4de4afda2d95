// Filling thumbnail lists: records from directory entries, the merge refresh, change lines, folders
// of broken pictures and record files, search hits and the order of the thumbnail builder.
#include "framework/Collections.h"
#include "framework/CommonControls.h"
#include "piclist/PicListBox.h"
#include "shell/Settings.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "tests/piclist/PicListTestSupport.h"

#include <set>

#include <tlhelp32.h>

namespace {

WIN32_FIND_DATAA Entry(const char* name, DWORD size, WORD date, WORD time)
{
    WIN32_FIND_DATAA e = {};
    lstrcpyA(e.cFileName, name);
    e.nFileSizeLow = size;
    FILETIME local;
    ::DosDateTimeToFileTime(date, time, &local);
    ::LocalFileTimeToFileTime(&local, &e.ftLastWriteTime);
    return e;
}

} // namespace

TEST(PicListRecord, FilledFromDirectoryEntry)
{
    const WORD june2001 = static_cast<WORD>(((2001 - 1980) << 9) | (6 << 5) | 5);
    struct {
        const char* name;
        DWORD size;
        const char *base, *ext, *fileName, *info;
    } rows[] = {
        // The names keep their case: every file operation builds its paths from them. The
        // extension, the record's type key, is lower case.
        {"DSC_0001.JPG", 2048, "DSC_0001", "jpg", "DSC_0001.JPG", "(2 k - 05/06/01)"},
        {"vacances.jpg", 512, "vacances", "jpg", "vacances.jpg", "(0,5 k - 05/06/01)"},
        {"MyPic.PNG", 100, "MyPic", "png", "MyPic.PNG", "(0,0 k - 05/06/01)"},
        {"\xe9t\xe9.bmp", 5000, "\xe9t\xe9", "bmp", "\xe9t\xe9.bmp", "(4 k - 05/06/01)"},
        {"\xc9T\xc9 \xc0.BMP", 5000, "\xc9T\xc9 \xc0", "bmp", "\xc9T\xc9 \xc0.BMP", "(4 k - 05/06/01)"},
    };
    for (auto& r : rows) {
        CPicObject p;
        FillRecordFromEntry(&p, CString("C:\\Lib\\") + r.name, Entry(r.name, r.size, june2001, 0x6000));
        EXPECT_STREQ(p.m_strBaseName, r.base);
        EXPECT_STREQ(p.m_strExt, r.ext);
        EXPECT_STREQ(p.m_strFileName, r.fileName);
        EXPECT_STREQ(p.m_strInfo, r.info);
        EXPECT_EQ(p.m_wDosDate, june2001);
        EXPECT_EQ(p.m_dwDateTime, (static_cast<DWORD>(june2001) << 16) | 0x6000u);
        EXPECT_EQ(p.m_nThumbState, 0);
    }
    EXPECT_STREQ(JoinFolderPath("C:\\", "a.jpg"), "C:\\a.jpg");
    EXPECT_STREQ(JoinFolderPath("C:\\Lib", "a.jpg"), "C:\\Lib\\a.jpg");
    EXPECT_TRUE(IsListedPicture("a.jpeg"));
    EXPECT_FALSE(IsListedPicture("a.txt"));
    EXPECT_FALSE(IsListedPicture(".hidden.jpg"));
    EXPECT_FALSE(IsListedPicture("film.avi"));
}

namespace {

// Plays started (ACM_PLAY without end) of the watched animation window, seen by a message hook.
HWND g_hWatchedAnimation = nullptr;
int g_nAnimationPlays = 0;

LRESULT CALLBACK WatchAnimation(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->hwnd == g_hWatchedAnimation && msg->message == ACM_PLAY
        && static_cast<int>(msg->wParam) == -1)
        g_nAnimationPlays++;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The threads of this process: an animation control plays on a thread of its own.
int ThreadCount()
{
    HANDLE hSnap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int nThreads = 0;
    for (BOOL bMore = ::Thread32First(hSnap, &entry); bMore; bMore = ::Thread32Next(hSnap, &entry))
        nThreads += entry.th32OwnerProcessID == ::GetCurrentProcessId() ? 1 : 0;
    ::CloseHandle(hSnap);
    return nThreads;
}

} // namespace

// The loading animation starts at the 20th file of a folder, pictures or not, never before; it is
// hidden again once the list is filled, and centred over the list in 100 x 60.
TEST_F(PicListTest, LoadingAnimationFromTwentiethFile)
{
    for (int i = 0; i < 18; i++)
        WriteBytes("note" + std::to_string(i) + ".txt", "x");
    WriteBmp("a.bmp", 4, 4, RGB(1, 2, 3));
    int nThreads = ThreadCount();
    CPicListBox* pList = MakeList(0);
    EXPECT_EQ(ThreadCount(), nThreads) << "a hidden animation plays";
    g_hWatchedAnimation = pList->m_animLoading.m_hWnd;
    g_nAnimationPlays = 0;
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchAnimation, nullptr, ::GetCurrentThreadId());
    EXPECT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    EXPECT_EQ(g_nAnimationPlays, 0);
    WriteBytes("note18.txt", "x");
    EXPECT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    EXPECT_EQ(g_nAnimationPlays, 1);
    ::UnhookWindowsHookEx(hook);
    EXPECT_FALSE(pList->m_bLoadingShown);
    EXPECT_FALSE(::IsWindowVisible(pList->m_animLoading.m_hWnd));
    RECT rc, client;
    ::GetWindowRect(pList->m_animLoading.m_hWnd, &rc);
    ::MapWindowPoints(nullptr, pList->m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    ::GetClientRect(pList->m_hWnd, &client);
    EXPECT_EQ(rc.right - rc.left, 100);
    EXPECT_EQ(rc.bottom - rc.top, 60);
    EXPECT_EQ(rc.left, (client.right - 100) / 2);
    EXPECT_EQ(rc.top, (client.bottom - 60) / 2);

    // Both animations are AVI resources the animation control accepts (it checks every frame).
    EXPECT_TRUE(pList->m_animLoading.Open(258u));
    EXPECT_TRUE(pList->m_animLocked.Open(401u));
}

// A refresh of an unchanged folder keeps every record, thumbnail and the selection; a changed file
// comes back as a new record, a new file joins and a deleted one goes.
TEST_F(PicListTest, MergeRefreshKeepsWhatDidNotChange)
{
    WriteBmp("a.bmp", 20, 20, RGB(200, 0, 0));
    WriteBmp("b.bmp", 20, 20, RGB(0, 200, 0));
    WriteBmp("c.bmp", 20, 20, RGB(0, 0, 200));
    WriteBmp("d.bmp", 20, 20, RGB(200, 200, 0));
    CPicListBox* pList = MakeList(0);
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    BuildAll(pList);
    pList->SetSel(0, FALSE);
    pList->SetSel(2, TRUE);
    std::vector<CPicObject*> before;
    for (int i = 0; i < 4; i++)
        before.push_back(pList->GetRecord(i));
    int changes = m_pHost->m_changes;
    EXPECT_EQ(pList->RefreshFolder(m_temp.Path().c_str()), 1);
    EXPECT_EQ(m_pHost->m_changes, changes + 1);
    ASSERT_EQ(pList->GetCount(), 4);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(pList->GetRecord(i), before[static_cast<size_t>(i)]);
        EXPECT_EQ(pList->GetRecord(i)->m_nThumbState, 1);
    }
    EXPECT_EQ(pList->GetSelCount(), 1);
    EXPECT_GT(pList->GetSel(2), 0);

    WriteBmp("b.bmp", 30, 30, RGB(0, 200, 0)); // another size
    ::DeleteFileA(m_temp.File("d.bmp").c_str());
    WriteBmp("e.bmp", 20, 20, RGB(0, 200, 200));
    EXPECT_EQ(pList->RefreshFolder((m_temp.Path() + "\\").c_str()), 1);
    EXPECT_EQ(Names(pList), (std::vector<std::string>{"a", "b", "c", "e"}));
    EXPECT_EQ(pList->GetRecord(0), before[0]);
    EXPECT_NE(pList->GetRecord(1), before[1]);
    EXPECT_EQ(pList->GetRecord(1)->m_nThumbState, 0);
    EXPECT_EQ(pList->GetRecord(2), before[2]);
    EXPECT_GT(pList->GetSel(2), 0);
    EXPECT_EQ(pList->GetRecord(3)->m_nThumbState, 0);

    // A folder without pictures empties the list and says so.
    testpaths::TempDir empty;
    EXPECT_EQ(pList->RefreshFolder(empty.Path().c_str()), 0);
    EXPECT_EQ(pList->GetCount(), 0);
    // A listing asked while the list is filled (here by its owner, told of the change) runs once
    // the fill is over.
    int told = 0;
    m_pHost->m_onChange = [&] {
        if (told++ == 0)
            pList->LoadFolder(m_temp.Path().c_str());
    };
    EXPECT_EQ(pList->RefreshFolder(empty.Path().c_str()), 0);
    EXPECT_EQ(Names(pList), (std::vector<std::string>{"a", "b", "c", "e"}));
    m_pHost->m_onChange = nullptr;
}

// Change lines add, replace and remove items; lines about files the list does not show, or that
// vanished, change nothing. A folder given with its trailing backslash names the same files.
TEST_F(PicListTest, ChangeLinesAddReplaceRemove)
{
    WriteBmp("a.bmp", 20, 20, RGB(200, 0, 0));
    WriteBmp("b.bmp", 20, 20, RGB(0, 200, 0));
    CPicListBox* pList = MakeList(2);
    m_pHost->m_folder = (m_temp.Path() + "\\").c_str();
    pList->LoadFolder(m_temp.Path().c_str());
    BuildAll(pList);
    CPicObject* pA = pList->GetRecord(0);
    CPicObject* pB = pList->GetRecord(1);
    WriteBmp("c.bmp", 20, 20, RGB(0, 0, 200));
    WriteBmp("b.bmp", 40, 20, RGB(0, 200, 0));
    CStringArray lines;
    lines.Add("Nc.bmp");
    lines.Add("Mb.bmp");
    lines.Add("Mzz.bmp");   // not listed: nothing
    lines.Add("Ngone.bmp"); // vanished: nothing
    lines.Add("Xa.bmp");    // unknown action
    EXPECT_EQ(pList->AddFiles(&lines), 1);
    EXPECT_EQ(Names(pList), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(pList->GetRecord(0), pA);
    EXPECT_EQ(pList->GetRecord(1)->m_nThumbState, 0); // a new record for the changed file
    (void)pB;
    EXPECT_EQ(pList->GetRecord(1)->m_lFileSize, 54 + 120 * 20);
    CStringArray again;
    again.Add("Nc.bmp"); // told twice: still one item
    again.Add("Da.bmp");
    EXPECT_EQ(pList->AddFiles(&again), 1);
    EXPECT_EQ(Names(pList), (std::vector<std::string>{"b", "c"}));
    CStringArray none;
    EXPECT_EQ(pList->AddFiles(&none), 0);
    EXPECT_EQ(pList->AddFiles(nullptr), 0);
}

// A folder of broken pictures and broken record files fills without a fault: broken pictures show as
// unreadable and are never tried again; good pictures with damaged records get their thumbnails and
// sound records again.
TEST_F(PicListTest, BrokenPicturesAndRecordFiles)
{
    WriteBmp("bon.bmp", 50, 40, RGB(0, 128, 255));
    WriteBmp("record-tronque.bmp", 50, 40, RGB(255, 128, 0));
    WriteBmp("record-faux.bmp", 50, 40, RGB(128, 255, 0));
    static const char fakeJpeg[] = "\xFF\xD8\xFF\xDB\x00\x43garbage";
    WriteBytes("faux.jpg", std::string(fakeJpeg, sizeof(fakeJpeg) - 1));
    WriteBytes("vide.png", "");
    static const char cutBmp[] = "BM\x36\x10\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x40\0\0\0";
    WriteBytes("tronque.bmp", std::string(cutBmp, sizeof(cutBmp) - 1));
    static const char hostileGif[] = "GIF89a\xFF\xFF\xFF\xFF\x80\0\0";
    WriteBytes("hostile.gif", std::string(hostileGif, sizeof(hostileGif) - 1));
    CPicListBox* pList = MakeList(1, FALSE, TRUE);
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    ASSERT_EQ(pList->GetCount(), 7);
    BuildAll(pList);
    // Damage two record files, then list again.
    std::string good = testpaths::ReadBytes(m_temp.File("record-tronque.dai"));
    ASSERT_GT(good.size(), 100u);
    testpaths::WriteBytes(m_temp.File("record-tronque.dai"), good.substr(0, good.size() - 300));
    testpaths::WriteBytes(m_temp.File("record-faux.dai"), std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8));
    pList = MakeList(1, FALSE, TRUE);
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    ASSERT_EQ(pList->GetCount(), 7);
    BuildAll(pList);
    int unreadable = 0;
    for (int i = 0; i < pList->GetCount(); i++) {
        CPicObject* p = pList->GetRecord(i);
        std::string name = static_cast<LPCSTR>(p->m_strFileName);
        bool picture = name == "bon.bmp" || name == "record-tronque.bmp" || name == "record-faux.bmp";
        EXPECT_EQ(p->m_nThumbState, picture ? 1 : -1) << name;
        unreadable += p->m_nThumbState == -1;
    }
    EXPECT_EQ(unreadable, 4);
    EXPECT_EQ(pList->BuildNextThumbnail(), 0); // nothing left, failures are not retried
    Paint(pList, "list-broken-folder");
    CPicObject reread;
    reread.m_strPath = m_temp.File("record-faux.bmp").c_str();
    EXPECT_EQ(reread.ReadRecordFile(), RecordRead::Loaded);
    EXPECT_EQ(reread.m_nThumbState, 1);
}

// Selected pictures get their thumbnails first; a picture that disappeared never blocks the others.
TEST_F(PicListTest, BuilderTakesSelectedFirstAndSkipsMissing)
{
    for (char c = 'a'; c <= 'f'; c++)
        WriteBmp(std::string(1, c) + ".bmp", 10, 10, RGB(c, 0, 0));
    CPicListBox* pList = MakeList(0);
    pList->LoadFolder(m_temp.Path().c_str());
    pList->SetSel(0, FALSE);
    pList->SetSel(4, TRUE);
    ::DeleteFileA(m_temp.File("a.bmp").c_str());
    EXPECT_EQ(pList->BuildNextThumbnail(), 1);
    EXPECT_EQ(pList->GetRecord(4)->m_nThumbState, 1);
    EXPECT_EQ(pList->GetRecord(0)->m_nThumbState, 0);
    EXPECT_EQ(pList->BuildNextThumbnail(), 1); // the missing a.bmp: tried, set aside
    EXPECT_EQ(pList->GetRecord(0)->m_nThumbState, 0);
    EXPECT_EQ(pList->BuildNextThumbnail(), 1);
    EXPECT_EQ(pList->GetRecord(1)->m_nThumbState, 1);
    BuildAll(pList);
    for (int i = 1; i < 6; i++)
        EXPECT_EQ(pList->GetRecord(i)->m_nThumbState, 1);
    EXPECT_EQ(pList->GetRecord(0)->m_nThumbState, 0);

    // With automatic building off, a preview request builds the selected pictures only.
    pList = MakeList(0);
    pList->m_bBuildThumbnails = FALSE;
    pList->LoadFolder(m_temp.Path().c_str());
    EXPECT_EQ(pList->BuildNextThumbnail(), 1);
    EXPECT_EQ(pList->GetRecord(0)->m_nThumbState, 0);
    pList->SetSel(0, FALSE);
    pList->SetSel(2, TRUE);
    pList->m_bPreviewSelected = TRUE;
    EXPECT_EQ(pList->BuildNextThumbnail(), 1);
    EXPECT_EQ(pList->GetRecord(2)->m_nThumbState, 1);
    EXPECT_EQ(pList->BuildNextThumbnail(), 0);
    EXPECT_FALSE(pList->m_bPreviewSelected);
    EXPECT_EQ(pList->GetRecord(3)->m_nThumbState, 0);
}

// Search hits: pictures only, listed with their names even without a record file.
TEST_F(PicListTest, SearchHitsWithAndWithoutRecords)
{
    std::string a = WriteBmp("avec.bmp", 20, 20, RGB(1, 2, 3));
    std::string b = WriteBmp("sans.bmp", 20, 20, RGB(1, 2, 3));
    CPicObject rec;
    rec.m_strPath = a.c_str();
    ASSERT_TRUE(rec.BuildThumbnail());
    FillRecordFromEntry(&rec, a.c_str(), [&] {
        WIN32_FIND_DATAA e;
        HANDLE h = ::FindFirstFileA(a.c_str(), &e);
        ::FindClose(h);
        return e;
    }());
    rec.m_nThumbState = 1;
    rec.m_strComment = "plage";
    // Written before its folder moved here: the record still holds the former place.
    rec.m_strPath = "C:\\Ancien dossier\\avec.bmp";
    ASSERT_TRUE(WriteOneRecord(RecordFilePath(a.c_str()), rec));
    CStringArray hits;
    hits.Add(a.c_str());
    hits.Add(b.c_str());
    hits.Add(m_temp.File("notes.txt").c_str());
    CPicListBox* pList = MakeList(2);
    EXPECT_EQ(pList->LoadSearchResults(hits), 1);
    ASSERT_EQ(pList->GetCount(), 2);
    EXPECT_EQ(Names(pList), (std::vector<std::string>{"avec", "sans"}));
    EXPECT_STREQ(pList->GetRecord(0)->m_strComment, "plage");
    EXPECT_STREQ(pList->GetRecord(0)->m_strPath, a.c_str()) << "where the hit is, not where it was";
    EXPECT_STREQ(pList->GetRecord(1)->m_strPath, b.c_str());
    EXPECT_EQ(pList->GetRecord(0)->m_nThumbState, 1);
    EXPECT_EQ(pList->GetRecord(1)->m_nThumbState, 0);
    EXPECT_GT(pList->GetSel(0), 0);
}

// A library picture changed by another program after its record was written: listing the folder
// again shows its new thumbnail, size and date, and rewrites its record once.
TEST_F(PicListTest, PictureChangedOutsideIsRereadFromDisk)
{
    std::string path = WriteBmp("photo.bmp", 20, 20, RGB(220, 0, 0));
    CPicListBox* pList = MakeList(0, FALSE, TRUE);
    pList->LoadFolder(m_temp.Path().c_str());
    BuildAll(pList);
    ASSERT_EQ(pList->GetRecord(0)->m_nThumbWidth, 20);
    pList->GetRecord(0)->m_strComment = "plage";
    ASSERT_TRUE(pList->GetRecord(0)->SaveDai());

    WriteBmp("photo.bmp", 40, 20, RGB(0, 0, 220));
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += 10ull * 10000000ull; // ten seconds on
    FILETIME later = {t.LowPart, t.HighPart};
    HANDLE h = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::SetFileTime(h, nullptr, nullptr, &later);
    ::CloseHandle(h);

    pList->LoadFolder(m_temp.Path().c_str());
    CPicObject* p = pList->GetRecord(0);
    EXPECT_EQ(p->m_nThumbState, 1);
    EXPECT_EQ(p->m_nThumbWidth, 40);
    EXPECT_EQ(p->m_lFileSize, 54 + 120 * 20);
    EXPECT_STREQ(p->m_strComment, "plage");
    CPicObject reread;
    reread.m_strPath = path.c_str();
    reread.m_bReadOnly = TRUE; // no stale check of its own: what the file holds
    ASSERT_EQ(reread.ReadRecordFile(), RecordRead::Loaded);
    EXPECT_EQ(reread.m_nThumbWidth, 40);
    EXPECT_EQ(reread.m_lFileSize, 54 + 120 * 20);
    EXPECT_STREQ(reread.m_strComment, "plage");
}

TEST_F(PicListTest, ListingShowsTheNamesOnDiskAndRemovesLeftoversOfCutWrites)
{
    WriteBmp("IMG_001.bmp", 20, 10, RGB(0, 128, 255));
    WriteBytes("~tsr00A1.tmp", "a record cut short");
    // A record written under another spelling of the name keeps its texts and takes the disk's.
    CPicObject old;
    old.m_strPath = m_temp.File("IMG_001.bmp").c_str();
    old.m_strFileName = "Img_001.bmp";
    old.m_strBaseName = "Img_001";
    old.m_strExt = "bmp";
    old.m_strComment = "Paris";
    ASSERT_TRUE(old.SaveDai());
    // A case-only rename cut short: the picture under its passing name, its record naming it.
    CPicObject cut;
    cut.m_strPath = m_temp.File("Plage.bmp").c_str();
    cut.m_strFileName = "Plage.bmp";
    ASSERT_TRUE(cut.SaveDai());
    WriteBmp("~ren0F3C.tmp", 20, 10, RGB(255, 0, 0));
    CPicListBox* pList = MakeList(1, FALSE, TRUE);
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    ASSERT_EQ(pList->GetCount(), 2);
    EXPECT_NE(::GetFileAttributesA(m_temp.File("Plage.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    CPicObject* p = pList->GetRecord(0);
    EXPECT_STREQ(p->m_strFileName, "IMG_001.bmp");
    EXPECT_STREQ(p->m_strBaseName, "IMG_001");
    EXPECT_STREQ(p->m_strComment, "Paris");
    EXPECT_EQ(::GetFileAttributesA(m_temp.File("~tsr00A1.tmp").c_str()), INVALID_FILE_ATTRIBUTES);

    // The trash of this folder taken as the library: a picture there without its trash record is listed.
    const CString savedRoot = g_strLibraryRoot;
    g_strLibraryRoot = (m_temp.Path() + "\\").c_str();
    const std::string trash = m_temp.File("El\xE9ments Supprim\xE9s");
    ::CreateDirectoryA(trash.c_str(), nullptr);
    WriteBytes("El\xE9ments Supprim\xE9s\\file0001.pai", "BM picture without its trash record");
    CPicListBox* pTrash = MakeList(3, TRUE);
    EXPECT_EQ(pTrash->LoadFolder(trash.c_str()), 1);
    EXPECT_EQ(pTrash->GetCount(), 1);
    g_strLibraryRoot = savedRoot;
}
