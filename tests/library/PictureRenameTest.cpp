// Renaming pictures, numbered series and folders: refused names, names taken by another extension,
// case changes that reach the disk, series numbering, and every file step failed in turn without a
// picture or its texts going missing.
#include "tests/piclist/LibraryTestSupport.h"
#include "tests/support/PaintedPixels.h"

#include "core/PackedDib.h"
#include "framework/Dialog.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "resources/dialogs-ids.h"
#include "piclist/PicObject.h"
#include "piclist/PictureRename.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "shell/SharedUi.h"

#include <algorithm>
#include <memory>
#include <vector>

using libtest::LibraryStore;
using libtest::Snapshot;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

class RenameStore : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        CreateDirectoryA(Folder().c_str(), nullptr);
    }
    std::string Folder() const { return Path("Images"); }
    std::string In(const std::string& name) const { return Folder() + "\\" + name; }

    // A picture file with its record (texts filled, the comment naming the picture).
    std::unique_ptr<CPicObject> AddPicture(const std::string& base, const std::string& ext = "bmp")
    {
        std::string path = In(base + "." + ext);
        EXPECT_TRUE(WriteBytes(path, "bytes of " + base));
        auto rec = std::make_unique<CPicObject>();
        libtest::FillRecord(*rec, path);
        rec->m_strExt = ext.c_str();
        rec->m_strComment = ("comment of " + base).c_str();
        EXPECT_TRUE(rec->SaveDai());
        return rec;
    }
    // The comment in the record file beside the picture (empty without one).
    std::string CommentBeside(const std::string& picture)
    {
        CPicObject rec;
        rec.m_bReadOnly = TRUE;
        rec.m_strPath = RecordFilePath(picture.c_str());
        if (!rec.LoadDai())
            return std::string();
        return static_cast<LPCSTR>(rec.m_strComment);
    }
    // The name the folder lists for a file (its case as stored).
    std::string NameOnDisk(const std::string& path)
    {
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA(path.c_str(), &data);
        if (h == INVALID_HANDLE_VALUE)
            return std::string();
        FindClose(h);
        return data.cFileName;
    }
};

} // namespace

TEST_F(RenameStore, UnusableNamesAreRefusedAndNothingMoves)
{
    auto rec = AddPicture("Plage");
    auto before = Snapshot(Root());
    for (const char* name : {"", "   ", "a\\b", "..\\x", "..", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b",
                             "a>b", "a|b", "x.", "a\tb", "..\\..\\Windows\\x"}) {
        EXPECT_EQ(RenamePictureFiles(*rec, Folder().c_str(), name), RenameResult::Refused) << name;
        CString newPath;
        EXPECT_EQ(RenameLibraryFolder(Folder().c_str(), name, &newPath), RenameResult::Refused) << name;
        EXPECT_EQ(RenamePictureSeries({rec.get()}, Folder().c_str(), name, TRUE, nullptr), 0) << name;
    }
    EXPECT_EQ(Snapshot(Root()), before);
    EXPECT_STREQ(rec->m_strBaseName, "Plage");
    EXPECT_TRUE(IsUsablePictureName("\xC9t\xE9 2001 (c\xF4te)"));
}

TEST_F(RenameStore, OnePictureTakesItsRecordAlongAndRefusesANameOfAnyExtension)
{
    auto rec = AddPicture("Plage");
    auto other = AddPicture("Port", "png");
    EXPECT_EQ(RenamePictureFiles(*rec, Folder().c_str(), "  Mer du Nord "), RenameResult::Done);
    EXPECT_STREQ(rec->m_strPath, In("Mer du Nord.bmp").c_str());
    EXPECT_STREQ(rec->m_strFileName, "Mer du Nord.bmp");
    EXPECT_EQ(ReadBytes(In("Mer du Nord.bmp")), "bytes of Plage");
    EXPECT_EQ(CommentBeside(In("Mer du Nord.bmp")), "comment of Plage");
    EXPECT_FALSE(PathExists(In("Plage.bmp").c_str()));
    EXPECT_FALSE(PathExists(In("Plage.dai").c_str()));

    // port.png is there: "port" is taken for the bmp too, whatever the case.
    auto before = Snapshot(Root());
    EXPECT_EQ(RenamePictureFiles(*rec, Folder().c_str(), "port"), RenameResult::Taken);
    EXPECT_EQ(Snapshot(Root()), before);
    EXPECT_STREQ(rec->m_strBaseName, "Mer du Nord");
    EXPECT_EQ(RenamePictureFiles(*rec, Folder().c_str(), "Mer du Nord"), RenameResult::Unchanged);

    // A case change reaches the disk, so that the name shown is the file's.
    EXPECT_EQ(RenamePictureFiles(*other, Folder().c_str(), "PORT"), RenameResult::Done);
    EXPECT_EQ(NameOnDisk(In("port.png")), "PORT.png");
    EXPECT_EQ(ReadBytes(In("PORT.png")), "bytes of Port");
    EXPECT_EQ(CommentBeside(In("PORT.png")), "comment of Port");
}

TEST_F(RenameStore, EveryFailedStepOfARenameLeavesThePictureWithItsTexts)
{
    for (const char* newName : {"Mer", "PLAGE"}) {
        for (int n = 1;; n++) {
            SCOPED_TRACE(std::string(newName) + " step " + std::to_string(n));
            auto rec = AddPicture("Plage");
            ArmFileFault(kAnyStep, "", n);
            RenameResult result = RenamePictureFiles(*rec, Folder().c_str(), newName);
            bool fired = FileFaultFired() != FALSE;
            DisarmFileFault();
            // The record names the place of the picture, whole, with the user's texts beside it.
            std::string at = static_cast<LPCSTR>(rec->m_strPath);
            EXPECT_EQ(ReadBytes(at), "bytes of Plage");
            EXPECT_EQ(CommentBeside(at), "comment of Plage");
            auto files = Snapshot(Folder());
            size_t pictures = 0;
            for (const auto& file : files)
                pictures += file.second == "bytes of Plage";
            EXPECT_EQ(pictures, 1u);
            if (result != RenameResult::Done) {
                EXPECT_EQ(result, RenameResult::Failed);
            }
            // Nothing left under a temporary name.
            for (const auto& file : files)
                EXPECT_EQ(file.first.find(".tmp"), std::string::npos) << file.first;
            SafeDeleteTree(Folder().c_str());
            CreateDirectoryA(Folder().c_str(), nullptr);
            if (!fired)
                break;
        }
    }
}

TEST_F(RenameStore, SeriesSkipTakenNumbersPadAndKeepPercentSignsAsText)
{
    EXPECT_EQ(SeriesName("Vacances", 7, 2), "Vacances 07");
    EXPECT_EQ(SeriesName("Vacances", 7, 0), "Vacances 7");
    EXPECT_EQ(SeriesName("100% %s %n", 3, 3), "100% %s %n 003");
    EXPECT_EQ(SeriesDigits(99), 2);
    EXPECT_EQ(SeriesDigits(150), 3);
    EXPECT_EQ(SeriesDigits(9999), 4);
    EXPECT_EQ(SeriesDigits(10000), 5);

    ASSERT_TRUE(WriteBytes(In("Vacances 01.jpg"), "someone else"));
    std::vector<std::unique_ptr<CPicObject>> owned;
    std::vector<CPicObject*> records;
    for (int i = 0; i < 12; i++) {
        owned.push_back(AddPicture("p" + std::to_string(100 + i)));
        records.push_back(owned.back().get());
    }
    EXPECT_EQ(RenamePictureSeries(records, Folder().c_str(), " Vacances ", TRUE, nullptr), 12);
    EXPECT_EQ(ReadBytes(In("Vacances 01.jpg")), "someone else");
    for (int i = 0; i < 12; i++) {
        char name[32];
        wsprintfA(name, "Vacances %02d.bmp", i + 2);
        EXPECT_EQ(ReadBytes(In(name)), "bytes of p" + std::to_string(100 + i)) << name;
        EXPECT_EQ(CommentBeside(In(name)), "comment of p" + std::to_string(100 + i)) << name;
        EXPECT_STREQ(records[static_cast<size_t>(i)]->m_strFileName, name);
    }
    EXPECT_EQ(RenamePictureSeries({records[0]}, Folder().c_str(), "100%", FALSE, nullptr), 1);
    EXPECT_EQ(ReadBytes(In("100% 1.bmp")), "bytes of p100");
}

TEST_F(RenameStore, ASeriesOf120PicturesIsNumberedInOrderWithThreeDigits)
{
    std::vector<std::unique_ptr<CPicObject>> owned;
    std::vector<CPicObject*> records;
    for (int i = 0; i < 120; i++) {
        owned.push_back(AddPicture("img" + std::to_string(1000 + i)));
        records.push_back(owned.back().get());
    }
    EXPECT_EQ(RenamePictureSeries(records, Folder().c_str(), "Noces", TRUE, nullptr), 120);
    for (int i = 0; i < 120; i++) {
        char name[32];
        wsprintfA(name, "Noces %03d.bmp", i + 1);
        ASSERT_EQ(ReadBytes(In(name)), "bytes of img" + std::to_string(1000 + i)) << name;
    }
    EXPECT_EQ(Snapshot(Folder()).size(), 240u);
}

TEST_F(RenameStore, EveryFailedStepOfASeriesStopsItWithoutLosingAPicture)
{
    for (int n = 1;; n++) {
        SCOPED_TRACE("step " + std::to_string(n));
        std::vector<std::unique_ptr<CPicObject>> owned;
        std::vector<CPicObject*> records;
        for (const char* base : {"a", "b", "c"}) {
            owned.push_back(AddPicture(base));
            records.push_back(owned.back().get());
        }
        ArmFileFault(kAnyStep, "", n);
        AfxScriptMessageBox(IDNO); // not to go on after the failure
        CString failed;
        int done = RenamePictureSeries(records, Folder().c_str(), "Serie", FALSE, &failed);
        bool fired = FileFaultFired() != FALSE;
        DisarmFileFault();
        if (done < 3) {
            EXPECT_STREQ(failed, In(std::string(1, static_cast<char>('a' + done)) + ".bmp").c_str());
        }
        for (size_t i = 0; i < 3; i++) {
            std::string base(1, static_cast<char>('a' + i));
            std::string at = static_cast<LPCSTR>(records[i]->m_strPath);
            EXPECT_EQ(ReadBytes(at), "bytes of " + base);
            EXPECT_EQ(CommentBeside(at), "comment of " + base);
            EXPECT_EQ(at == In(base + ".bmp"), static_cast<int>(i) >= done);
        }
        SafeDeleteTree(Folder().c_str());
        CreateDirectoryA(Folder().c_str(), nullptr);
        ResetUi();
        if (!fired)
            break;
    }
}

TEST_F(RenameStore, FoldersAreRenamedBesideThemselvesOnly)
{
    CreateDirectoryA(In("Voyage").c_str(), nullptr);
    CreateDirectoryA(In("Autre").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(In("Voyage\\Plage.jpg"), "plage"));
    CString newPath;
    EXPECT_EQ(RenameLibraryFolder(In("Voyage").c_str(), "Voyage", &newPath), RenameResult::Unchanged);
    EXPECT_EQ(RenameLibraryFolder(In("Voyage").c_str(), "autre", &newPath), RenameResult::Taken);
    ArmFileFault(kStepMove, "", 1);
    EXPECT_EQ(RenameLibraryFolder(In("Voyage").c_str(), "Ailleurs", &newPath), RenameResult::Failed);
    DisarmFileFault();
    EXPECT_EQ(ReadBytes(In("Voyage\\Plage.jpg")), "plage");
    EXPECT_EQ(RenameLibraryFolder(In("Voyage").c_str(), "Ailleurs", &newPath), RenameResult::Done);
    EXPECT_STREQ(newPath, In("Ailleurs").c_str());
    EXPECT_EQ(ReadBytes(In("Ailleurs\\Plage.jpg")), "plage");
    EXPECT_EQ(RenameLibraryFolder(In("Ailleurs").c_str(), "AILLEURS", &newPath), RenameResult::Done);
    EXPECT_EQ(NameOnDisk(In("Ailleurs")), "AILLEURS");
}

TEST_F(RenameStore, DialogsRefuseAndReportThenRenameAndRememberTheZeroPad)
{
    auto rec = AddPicture("Plage");
    auto before = Snapshot(Root());
    AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "..\\Plage"}}, IDOK);
    EXPECT_FALSE(RunRenamePicture(nullptr, *rec, Folder().c_str()));
    EXPECT_EQ(Messages(), 1u);
    EXPECT_EQ(Snapshot(Root()), before);

    auto second = AddPicture("Port");
    // A name taken is refused with a message that names it, a '%' kept as typed.
    for (const char* taken : {"port", "50%s"}) {
        if (std::string(taken) != "port")
            AddPicture(taken);
        AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, taken}}, IDOK);
        EXPECT_FALSE(RunRenamePicture(nullptr, *rec, Folder().c_str()));
        ASSERT_FALSE(AfxTestRecords().messageBoxes.empty());
        EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find(std::string("'") + taken + "'"),
                  std::string::npos)
            << AfxTestRecords().messageBoxes.back().text;
    }
    EXPECT_EQ(Messages(), 3u);
    // So is a name pasted with a letter the code page lacks, its last, naming it: nothing moves.
    AfxModalStep pasted;
    pasted.wideFields = {{IDC_RENAME_NAME, L"Pozna\x0144"}};
    AfxScriptModal(IDD_RENAME_PICTURE, {pasted});
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(RunRenamePicture(nullptr, *rec, Folder().c_str()));
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find("fichier 'Pozna?'"), std::string::npos);
    EXPECT_TRUE(PathExists(In("Plage.bmp").c_str()));
    g_bRenameZeroPad = 0;
    AfxModalStep step;
    step.fields = {{IDC_RENAME_NAME, "Vacances"}, {IDC_RENAME_ZERO_PAD, "1"}};
    int shown = -1;
    std::string proposed;
    step.check = [&](CWnd*) {};
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* pDlg) {
        shown =
            static_cast<int>(SendDlgItemMessageA(pDlg->GetSafeHwnd(), IDC_RENAME_LIST, LB_GETCOUNT, 0, 0));
        char text[64] = "";
        GetDlgItemTextA(pDlg->GetSafeHwnd(), IDC_RENAME_NAME, text, sizeof(text));
        proposed = text;
    };
    AfxScriptModal(IDD_RENAME_PICTURES, {look, step});
    EXPECT_TRUE(RunRenamePictureSeries(nullptr, {rec.get(), second.get()}, Folder().c_str()));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(proposed, "Images");
    EXPECT_EQ(g_bRenameZeroPad, 1);
    EXPECT_EQ(ReadBytes(In("Vacances 01.bmp")), "bytes of Plage");
    EXPECT_EQ(ReadBytes(In("Vacances 02.bmp")), "bytes of Port");

    AfxScriptNextModal(IDD_DELETE_FOLDER, {}, IDOK);
    EXPECT_TRUE(ConfirmDeleteFolder(nullptr, "Voyage"));
    // A long name shows whole in its field, in the field's font (Arial 12 bold), shortened in its middle.
    const bool madeFont =
        g_fontArial12Bold.GetSafeHandle() == nullptr
        && g_fontArial12Bold.CreateFont(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    const std::string longName = "Vacances d'\xE9t\xE9 en Bretagne avec toute la famille et les amis 2001";
    std::string nameShown;
    RECT need = {}, room = {};
    AfxModalStep lookAtName;
    lookAtName.buttonId = 0;
    lookAtName.check = [&](CWnd* pDlg) {
        HWND hName = ::GetDlgItem(pDlg->m_hWnd, IDC_DELETE_FOLDER_NAME);
        char text[MAX_PATH] = "";
        ::GetWindowTextA(hName, text, sizeof(text));
        nameShown = text;
        ::GetClientRect(hName, &room);
        need.right = room.right;
        HDC hdc = ::GetDC(hName);
        HGDIOBJ old = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(hName, WM_GETFONT, 0, 0)));
        ::DrawTextA(hdc, text, -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(hdc, old);
        ::ReleaseDC(hName, hdc);
    };
    AfxScriptModal(IDD_DELETE_FOLDER, {lookAtName});
    EXPECT_FALSE(ConfirmDeleteFolder(nullptr, longName.c_str()));
    if (madeFont)
        g_fontArial12Bold.DeleteObject();
    EXPECT_LE(need.bottom, room.bottom) << nameShown;
    EXPECT_LE(need.right, room.right) << nameShown;
    EXPECT_EQ(nameShown.substr(0, 8), longName.substr(0, 8));
    EXPECT_EQ(nameShown.substr(nameShown.size() - 8), longName.substr(longName.size() - 8));
    AfxScriptNextModal(IDD_RENAME_FOLDER, {{IDC_RENAME_FOLDER_NAME, ""}}, IDOK);
    CString newPath;
    EXPECT_FALSE(RunRenameFolder(nullptr, Folder().c_str(), "Images", &newPath));
    EXPECT_TRUE(PathExists(Folder().c_str()));
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

// The names under the series' thumbnails show the accents of capitals: "\xC9" darkens more of its label,
// on the list's white, than "E".
TEST_F(RenameStore, SeriesLabelsShowTheAccentsOfCapitals)
{
    auto plain = AddPicture("E"), accented = AddPicture("\xC9");
    int ink[2] = {0, 0};
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* pDlg) {
        HWND hList = ::GetDlgItem(pDlg->m_hWnd, IDC_RENAME_LIST);
        RECT rc[2];
        for (int i = 0; i < 2; i++)
            ::SendMessageA(hList, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc[i]));
        const PaintedPixels px = PaintIntoMemory(rc[1].right, rc[1].bottom, [&](HDC hdc) {
            ::SendMessageA(hList, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
        });
        for (int i = 0; i < 2; i++)
            for (int y = rc[i].bottom - 14; y < rc[i].bottom; y++)
                for (int x = rc[i].left + 3; x < rc[i].right - 3; x++)
                    ink[i] += GetRValue(px.At(x, y)) < 110 ? 1 : 0;
    };
    AfxScriptModal(IDD_RENAME_PICTURES, {look});
    RunRenamePictureSeries(nullptr, {plain.get(), accented.get()}, Folder().c_str());
    EXPECT_GT(ink[0], 0);
    EXPECT_GT(ink[1], ink[0]);
}

// photo.jpg and photo.png share photo.dai: renaming either leaves photo.dai to the one that stays;
// a picture alone takes its record along, also one its listing could not read (read again now).
TEST_F(RenameStore, ARecordFileStillUsedByAnotherPictureStays)
{
    const struct {
        const char* what;
        const char* beside; // another picture of the same base name, or null
        bool memoryOnly;
        bool oldRecordStays;
    } rows[] = {
        {"alone", nullptr, false, false},
        {"beside photo.png", "png", false, true},
        {"beside photo.gif, in memory only", "gif", true, true},
        {"alone, in memory only", nullptr, true, false},
    };
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string base = "photo" + std::to_string(n++);
        auto rec = AddPicture(base, "jpg");
        if (row.beside != nullptr) {
            EXPECT_TRUE(WriteBytes(In(base + "." + row.beside), "the other picture"));
        }
        rec->m_bMemoryOnly = row.memoryOnly;
        ASSERT_EQ(RenamePictureFiles(*rec, Folder().c_str(), (base + " bis").c_str()), RenameResult::Done);
        EXPECT_EQ(PathExists(In(base + ".dai").c_str()) != FALSE, row.oldRecordStays);
        if (row.oldRecordStays) {
            EXPECT_EQ(CommentBeside(In(base + ".jpg")), "comment of " + base);
        }
        EXPECT_EQ(CommentBeside(In(base + " bis.jpg")), "comment of " + base);
        EXPECT_FALSE(rec->m_bMemoryOnly) << "the new record file is its own";
        EXPECT_EQ(ReadBytes(In(base + " bis.jpg")), "bytes of " + base);
    }
}

// A folder rename that cannot be done says why: the name is taken, the name is refused, the system
// refused the move, or a picture inside would not fit under the longer name; the folder keeps its
// name and its pictures.
TEST_F(RenameStore, FolderRenameThatCannotBeDoneSaysWhy)
{
    CreateDirectoryA(Path("Pris").c_str(), nullptr);
    ASSERT_TRUE(testpaths::WriteBytes(In("port.bmp"), "bytes of Port"));
    const std::string deep = testpaths::MakeFolderOfLength(Folder(), 240);
    ASSERT_TRUE(testpaths::WriteBytes(deep + "\\p.bmp", "deep"));
    struct Row {
        const char* name;
        DWORD fault; // the system's error for the folder's move, or none
        const char* reason;
    };
    const Row rows[] = {
        {"Pris", 0, "existe d\xe9j\xe0"},
        {"PRIS", 0, "existe d\xe9j\xe0"},
        {"a/b", 0, "ne peut \xeatre vide ni contenir"},
        {"Libre", ERROR_ACCESS_DENIED, "n'a pas pu \xeatre renomm\xe9"},
        {"Libre", ERROR_SHARING_VIOLATION, "utilis\xe9 par un autre programme"},
        {"Images plus longues", 0, "Le nom du dossier est trop long."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AfxTestRecords().messageBoxes.clear();
        if (row.fault != 0)
            ArmFileFault(kStepMove, "Images", 1, row.fault);
        AfxScriptNextModal(IDD_RENAME_FOLDER, {{IDC_RENAME_FOLDER_NAME, row.name}}, IDOK);
        AfxScriptMessageBox(IDOK);
        CString newPath;
        EXPECT_FALSE(RunRenameFolder(nullptr, Folder().c_str(), "Images", &newPath));
        DisarmFileFault();
        const auto& boxes = AfxTestRecords().messageBoxes;
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(row.reason), std::string::npos) << boxes[0].text;
        // A retry only where it can succeed; the name stays in the dialog, for another or Annuler.
        EXPECT_EQ(boxes[0].type & MB_TYPEMASK,
                  static_cast<UINT>(row.fault == ERROR_SHARING_VIOLATION ? MB_RETRYCANCEL : MB_OK));
        EXPECT_EQ(AfxTestRecords().modals.back().result, IDCANCEL);
        EXPECT_EQ(ReadBytes(In("port.bmp")), "bytes of Port");
        EXPECT_EQ(ReadBytes(deep + "\\p.bmp"), "deep");
    }
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

// The pictures of the rename and folder deletion dialogs fit their boxes, none cut.
TEST_F(RenameStore, DialogPicturesFitTheirBoxes)
{
    struct Row {
        UINT templateId;
        UINT controlId;
        const char* picture;
    };
    const Row rows[] = {
        {IDD_RENAME_PICTURE, IDC_DIALOG_ILLUSTRATION, "RENAMEPIC"},
        {IDD_RENAME_PICTURE, IDC_PICTURE_LOGO, "ORVANEL8"},
        {IDD_RENAME_PICTURES, IDC_DIALOG_ILLUSTRATION, "RENAMEPIC"},
        {IDD_RENAME_PICTURES, IDC_PICTURE_LOGO, "ORVANEL8"},
        {IDD_DELETE_FOLDER, IDC_DIALOG_ILLUSTRATION, "DELFOLDER"},
        {IDD_DELETE_FOLDER, IDC_PICTURE_LOGO, "ORVANEL8"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.templateId) + " " + row.picture);
        PackedDIB hPicture = LoadDIBResource(AfxGetResourceHandle(), row.picture);
        ASSERT_NE(hPicture, nullptr);
        const void* pHeader = ::GlobalLock(hPicture);
        LONG cx = static_cast<LONG>(DIBWidth(pHeader)), cy = static_cast<LONG>(DIBHeight(pHeader));
        ::GlobalUnlock(hPicture);
        GlobalFreeHandle(hPicture);
        CDialog dlg;
        ASSERT_TRUE(dlg.Create(row.templateId));
        HWND hBox = ::GetDlgItem(dlg.m_hWnd, static_cast<int>(row.controlId));
        ASSERT_NE(hBox, nullptr);
        RECT box = {}, client = {};
        ::GetWindowRect(hBox, &box);
        ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<LPPOINT>(&box), 2);
        ::GetClientRect(dlg.m_hWnd, &client);
        EXPECT_GE(box.right - box.left, cx);
        EXPECT_GE(box.bottom - box.top, cy);
        EXPECT_LE(box.bottom, client.bottom);
        dlg.DestroyWindow();
    }
}

// Two long names that begin alike show the same beginning in the series preview: cut at their end.
// Centred and clipped, each would show a different middle part.
TEST_F(RenameStore, TheSeriesPreviewCutsLongNamesAtTheirEnd)
{
    auto textLine = [](const char* name) {
        BITMAPINFO bmi = {{sizeof(BITMAPINFOHEADER), 85, -82, 1, 32, BI_RGB}};
        void* bits = nullptr;
        HBITMAP hbm = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC hdc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(hdc, hbm);
        CPicObject rec;
        rec.m_strBaseName = name;
        DRAWITEMSTRUCT dis = {ODT_LISTBOX, IDC_RENAME_LIST};
        dis.hDC = hdc;
        dis.rcItem = {0, 0, 85, 82};
        dis.itemData = reinterpret_cast<ULONG_PTR>(&rec);
        CRenamePicturesDlg().OnDrawItem(IDC_RENAME_LIST, &dis);
        ::GdiFlush();
        const DWORD* px = static_cast<const DWORD*>(bits);
        std::vector<DWORD> left; // the left half of the name's line
        for (int y = 82 - 14; y < 82; y++)
            left.insert(left.end(), px + y * 85, px + y * 85 + 42);
        ::SelectObject(hdc, old);
        ::DeleteDC(hdc);
        ::DeleteObject(hbm);
        return left;
    };
    auto first = textLine("S\xe9jour \xe0 Nice 01 au bord de la mer en ao\xfbt");
    ASSERT_NE(std::count(first.begin(), first.end(), first[0]), static_cast<long>(first.size())) << "drawn";
    EXPECT_EQ(first, textLine("S\xe9jour \xe0 Nice 01 au bord de la mer et du port de p\xea"
                              "che et des environs"));
}
