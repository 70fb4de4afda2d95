// The trash: names, delete / restore / erase cycles that give back the same bytes, replacing on
// restore, hostile trash records, and every file step failed in turn without losing a file.
#include "tests/piclist/LibraryTestSupport.h"

#include "shell/Settings.h"
#include "framework/TestSeams.h"
#include "piclist/DelObject.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "resources/resource.h"

#include <functional>
#include <vector>

using libtest::LibraryStore;
using libtest::Snapshot;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

typedef std::map<std::string, std::string> Tree;

class TrashStore : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        SetTrashNameLimitForTest(0);
        CreateDirectoryA(Path("Images").c_str(), nullptr);
    }
    void TearDown() override
    {
        SetTrashNameLimitForTest(0);
        LibraryStore::TearDown();
    }

    void AddPicture(const std::string& rel, const std::string& bytes)
    {
        ASSERT_TRUE(WriteBytes(Path(rel), bytes));
        std::string dai = rel.substr(0, rel.rfind('.')) + ".dai";
        ASSERT_TRUE(WriteBytes(Path(dai), "record of " + rel));
    }
    void AddFolder()
    {
        CreateDirectoryA(Path("Images\\Voyage").c_str(), nullptr);
        CreateDirectoryA(Path("Images\\Voyage\\Jour 1").c_str(), nullptr);
        AddPicture("Images\\Voyage\\Plage.jpg", "plage");
        AddPicture("Images\\Voyage\\Jour 1\\Port.jpg", "port");
        ASSERT_TRUE(WriteBytes(Path("Images\\Voyage\\.cache"), "hidden"));
    }
    BOOL DeletePicture(const std::string& rel, CString* name = nullptr)
    {
        CDelObject item(kTrashPicture);
        item.m_strRelPath = rel.c_str();
        item.m_strRelDaiPath = (rel.substr(0, rel.rfind('.')) + ".dai").c_str();
        item.m_strOrigFolder = Path(rel.substr(0, rel.rfind('\\'))).c_str();
        if (name)
            *name = item.m_strTrashName;
        return item.MoveToTrash();
    }
    BOOL DeleteFolder(const std::string& rel)
    {
        CDelObject item(kTrashFolder);
        item.m_strRelPath = rel.c_str();
        item.m_strOrigFolder = Path(rel.substr(0, rel.rfind('\\'))).c_str();
        return item.MoveToTrash();
    }
    // Every trash item, read from its ".del".
    std::vector<CDelObject*> Items()
    {
        std::vector<CDelObject*> items;
        for (const CString& del : ListMatchingFiles((Trash() + "*.del").c_str())) {
            CDelObject* item = new CDelObject;
            EXPECT_TRUE(item->LoadDel(del)) << static_cast<LPCSTR>(del);
            items.push_back(item);
        }
        return items;
    }
    void RestoreAll()
    {
        BeginReplaceBatch();
        for (CDelObject* item : Items()) {
            EXPECT_TRUE(item->Restore());
            delete item;
        }
    }
    // The library without its trash folder.
    Tree UserFiles()
    {
        Tree all = Snapshot(Root());
        Tree user;
        const std::string trash = "El\xE9ments Supprim\xE9s";
        for (const auto& entry : all)
            if (entry.first.compare(0, trash.size(), trash) != 0)
                user.insert(entry);
        return user;
    }
    Tree TrashFiles() { return Snapshot(Trash().substr(0, Trash().size() - 1)); }
    // Puts the whole library back as the snapshot says.
    void Reset(const Tree& tree)
    {
        for (const auto& entry : Snapshot(Root())) {
            std::string p = Path(entry.first);
            if (entry.second == "<dir>")
                SafeDeleteTree(p.c_str());
            else
                SafeDeleteFile(p.c_str());
        }
        for (const auto& entry : tree) {
            if (entry.second == "<dir>")
                SafeCreateFolder(Path(entry.first).c_str());
            else
                ASSERT_TRUE(WriteBytes(Path(entry.first), entry.second));
        }
    }
    // Runs op failing each of its file steps in turn (restored to `before` each time); check sees
    // the library after each run with whether op succeeded.
    void EachStepFails(const Tree& before, const std::function<BOOL()>& op,
                       const std::function<void(int step, BOOL ok)>& check)
    {
        Reset(before);
        ResetUi();
        ArmFileFault(kAnyStep, "", 0);
        ASSERT_TRUE(op());
        const int steps = FileFaultCount();
        ASSERT_GT(steps, 0);
        for (int k = 1; k <= steps; ++k) {
            SCOPED_TRACE("step " + std::to_string(k) + " of " + std::to_string(steps));
            DisarmFileFault();
            Reset(before);
            ResetUi();
            ArmFileFault(kAnyStep, "", k);
            BOOL ok = op();
            EXPECT_TRUE(FileFaultFired());
            DisarmFileFault();
            check(k, ok);
        }
    }
};

} // namespace

TEST(TrashNames, OnlyFileOneToFFFFInUpperCaseHex)
{
    const struct {
        const char* name;
        BOOL ok;
    } rows[] = {{"file0001", TRUE},      {"fileFFFF", TRUE},  {"file00A0", TRUE}, {"file0000", FALSE},
                {"file00a0", FALSE},     {"File0001", FALSE}, {"file001", FALSE}, {"file00001", FALSE},
                {"..\\file0001", FALSE}, {"", FALSE}};
    for (const auto& row : rows)
        EXPECT_EQ(IsTrashName(row.name), row.ok) << row.name;
}

TEST_F(TrashStore, TrashRecordMatchesTheWorkedExample)
{
    CDelObject record;
    record.m_nKind = kTrashPicture;
    record.m_strTrashName = "file0001";
    record.m_strRelPath = "Images\\Vacances.jpg";
    record.m_strRelDaiPath = "Images\\Vacances.dai";
    record.m_strOrigFolder = "C:\\Lib\\Images";
    record.m_dwDelDate = 0x2AC5;
    record.m_dwDelTime = 0x6000;
    SafeCreateFolder(Trash().c_str());
    ASSERT_TRUE(record.SaveDel((Trash() + "file0001.del").c_str()));
    const std::string expected = std::string(8, '\0')
                                 + "\x08"
                                   "file0001"
                                   "\x13"
                                   "Images\\Vacances.jpg"
                                   "\x13"
                                   "Images\\Vacances.dai"
                                   "\x0D"
                                   "C:\\Lib\\Images"
                                 + std::string("\xC5\x2A\0\0\0\x60\0\0", 8);
    EXPECT_EQ(expected.size(), 79u);
    EXPECT_EQ(ReadBytes(Trash() + "file0001.del"), expected);
    CDelObject back;
    ASSERT_TRUE(back.LoadDel((Trash() + "file0001.del").c_str()));
    EXPECT_EQ(back.m_nKind, kTrashPicture);
    EXPECT_EQ(back.m_bFromProtected, 0);
    EXPECT_EQ(back.m_strRelPath, record.m_strRelPath);
    EXPECT_EQ(back.m_strRelDaiPath, record.m_strRelDaiPath);
    EXPECT_EQ(back.m_strOrigFolder, record.m_strOrigFolder);
    EXPECT_EQ(back.m_dwDelDate, 0x2AC5u);
    EXPECT_EQ(back.m_dwDelTime, 0x6000u);
    // Cut anywhere, or followed by anything, it is not read.
    for (size_t cut = 0; cut < expected.size(); ++cut) {
        ASSERT_TRUE(WriteBytes(Trash() + "file0001.del", expected.substr(0, cut)));
        EXPECT_FALSE(back.LoadDel((Trash() + "file0001.del").c_str())) << cut;
    }
    ASSERT_TRUE(WriteBytes(Trash() + "file0001.del", expected + "x"));
    EXPECT_FALSE(back.LoadDel((Trash() + "file0001.del").c_str()));
}

TEST_F(TrashStore, PictureCycleGivesBackTheSameBytesAndReusesTheName)
{
    AddPicture("Images\\Vacances.jpg", std::string("\xFF\xD8 les vacances\0\x01", 17));
    const Tree before = UserFiles();
    CString name;
    ASSERT_TRUE(DeletePicture("Images\\Vacances.jpg", &name));
    EXPECT_EQ(name, "file0001");
    Tree trash = TrashFiles();
    ASSERT_EQ(trash.size(), 3u);
    EXPECT_EQ(trash["file0001.pai"], before.at("Images\\Vacances.jpg"));
    EXPECT_EQ(trash["file0001.dai"], before.at("Images\\Vacances.dai"));
    EXPECT_EQ(trash["file0001.del"].size(), 4 + 4 + 9 + 20 + 20 + 1 + Path("Images").size() + 8);
    EXPECT_FALSE(PathExists(Path("Images\\Vacances.jpg").c_str()));

    std::vector<CDelObject*> items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->m_strRelPath, "Images\\Vacances.jpg");
    EXPECT_EQ(items[0]->m_strRelDaiPath, "Images\\Vacances.dai");
    EXPECT_EQ(std::string(items[0]->m_strOrigFolder), Path("Images"));
    BeginReplaceBatch();
    EXPECT_TRUE(items[0]->Restore());
    delete items[0];
    EXPECT_EQ(UserFiles(), before);
    EXPECT_TRUE(TrashFiles().empty());
    EXPECT_EQ(Messages(), 0u);

    ASSERT_TRUE(DeletePicture("Images\\Vacances.jpg", &name));
    EXPECT_EQ(name, "file0001");
    items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0]->Erase());
    delete items[0];
    EXPECT_TRUE(TrashFiles().empty());
    EXPECT_FALSE(PathExists(Path("Images\\Vacances.jpg").c_str()));
}

TEST_F(TrashStore, FolderCycleGivesBackTheWholeTree)
{
    AddFolder();
    const Tree before = UserFiles();
    ASSERT_TRUE(DeleteFolder("Images\\Voyage"));
    EXPECT_FALSE(PathExists(Path("Images\\Voyage").c_str()));
    EXPECT_TRUE(PathExists((Trash() + "file0001.dir\\Jour 1\\Port.jpg").c_str()));
    RestoreAll();
    EXPECT_EQ(UserFiles(), before);
    EXPECT_TRUE(TrashFiles().empty());

    ASSERT_TRUE(DeleteFolder("Images\\Voyage"));
    std::vector<CDelObject*> items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0]->Erase());
    delete items[0];
    EXPECT_TRUE(TrashFiles().empty()) << "the whole tree goes, names beginning with '.' included";
}

TEST_F(TrashStore, ANameIsFreeOnlyWhenNoneOfItsFourFilesExistsAndAFullTrashRefuses)
{
    SafeCreateFolder(Trash().c_str());
    ASSERT_TRUE(WriteBytes(Trash() + "file0001.pai", "orphan picture"));
    CreateDirectoryA((Trash() + "file0002.dir").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Trash() + "file0003.dai", "orphan record"));
    EXPECT_EQ(CDelObject::MakeTrashName(), "file0004");

    AddPicture("Images\\A.jpg", "a");
    AddPicture("Images\\B.jpg", "b");
    SetTrashNameLimitForTest(4);
    ASSERT_TRUE(DeletePicture("Images\\A.jpg"));
    EXPECT_EQ(ReadBytes(Trash() + "file0001.pai"), "orphan picture");
    const Tree before = UserFiles();
    const Tree trash = TrashFiles();
    EXPECT_FALSE(DeletePicture("Images\\B.jpg"));
    EXPECT_EQ(UserFiles(), before);
    EXPECT_EQ(TrashFiles(), trash);
    ASSERT_EQ(Messages(), 1u);
    EXPECT_NE(AfxTestRecords().messageBoxes[0].text.find("B.jpg"), std::string::npos);
}

TEST_F(TrashStore, RestoreAsksAboutTheRealClashAndEachAnswerDoesWhatItSays)
{
    AddPicture("Images\\Vacances.jpg", "the deleted one");
    ASSERT_TRUE(DeletePicture("Images\\Vacances.jpg"));
    AddPicture("Images\\Vacances.png", "a newer picture of that name");
    const Tree clash = Snapshot(Root());

    // "Non": nothing changes, the item stays in the trash.
    std::vector<CDelObject*> items = Items();
    ASSERT_EQ(items.size(), 1u);
    BeginReplaceBatch();
    std::string shown;
    AfxModalStep no;
    no.buttonId = IDNO;
    AfxScriptModal(IDD_FILE_REPLACE, {no});
    AfxModalStep look;
    look.buttonId = 0;
    look.check = [&](CWnd* dlg) {
        char text[512];
        ::GetDlgItemTextA(dlg->m_hWnd, IDC_REPLACE_TEXT, text, sizeof(text));
        shown = text;
    };
    AfxModalStep cancel;
    cancel.buttonId = IDCANCEL;
    AfxScriptModal(IDD_FILE_REPLACE, {no});
    EXPECT_FALSE(items[0]->Restore());
    EXPECT_FALSE(g_bReplaceCancelled);
    EXPECT_EQ(Snapshot(Root()), clash);

    // The question names the file that is really there.
    AfxTestReset();
    AfxTestArm();
    AfxScriptModal(IDD_FILE_REPLACE, {look, cancel});
    EXPECT_FALSE(items[0]->Restore());
    EXPECT_TRUE(g_bReplaceCancelled);
    EXPECT_NE(shown.find("'Vacances.png'"), std::string::npos) << shown;
    EXPECT_NE(shown.find(Path("Images")), std::string::npos) << shown;
    EXPECT_EQ(Snapshot(Root()), clash);

    // "Oui": the other picture of that base name and its record go, the deleted one comes back.
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
    EXPECT_TRUE(items[0]->Restore());
    delete items[0];
    EXPECT_FALSE(PathExists(Path("Images\\Vacances.png").c_str()));
    EXPECT_EQ(ReadBytes(Path("Images\\Vacances.jpg")), "the deleted one");
    EXPECT_EQ(ReadBytes(Path("Images\\Vacances.dai")), "record of Images\\Vacances.jpg");
    EXPECT_TRUE(TrashFiles().empty());
    EXPECT_EQ(UserFiles().size(), 3u); // Images, the picture, its record
}

TEST_F(TrashStore, RestoreRecreatesAMissingFolderAndReplacesAFolderWithoutMerging)
{
    CreateDirectoryA(Path("Images\\F\xEAtes").c_str(), nullptr);
    AddPicture("Images\\F\xEAtes\\Noel.jpg", "noel");
    ASSERT_TRUE(DeletePicture("Images\\F\xEAtes\\Noel.jpg"));
    ASSERT_TRUE(SafeDeleteTree(Path("Images\\F\xEAtes").c_str()));
    RestoreAll();
    EXPECT_EQ(ReadBytes(Path("Images\\F\xEAtes\\Noel.jpg")), "noel");

    AddFolder();
    const Tree before = UserFiles();
    ASSERT_TRUE(DeleteFolder("Images\\Voyage"));
    CreateDirectoryA(Path("Images\\Voyage").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Path("Images\\Voyage\\Autre.jpg"), "another"));
    AfxScriptNextModal(IDD_FOLDER_REPLACE, {}, kReplaceYesToAll);
    RestoreAll();
    EXPECT_EQ(UserFiles(), before);
    EXPECT_EQ(g_nReplaceAnswer, kReplaceYesToAll);
}

TEST_F(TrashStore, ARestoreTouchesNothingWithoutItsPictureOrWithAPathLeavingTheLibrary)
{
    AddPicture("Images\\Vacances.jpg", "deleted");
    ASSERT_TRUE(DeletePicture("Images\\Vacances.jpg"));
    AddPicture("Images\\Vacances.png", "the live picture");
    ASSERT_TRUE(SafeDeleteFile((Trash() + "file0001.pai").c_str()));
    const Tree before = Snapshot(Root());
    std::vector<CDelObject*> items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_FALSE(items[0]->Restore());
    delete items[0];
    EXPECT_EQ(Snapshot(Root()), before);
    EXPECT_EQ(Messages(), 1u);

    // Hand-made records: a path out of the library is never restored to; a name that is not a
    // trash name is not even read.
    CDelObject evil;
    evil.m_nKind = kTrashPicture;
    evil.m_strTrashName = "file0001";
    evil.m_strRelPath = "..\\outside.jpg";
    ASSERT_TRUE(WriteBytes(Trash() + "file0001.pai", "x"));
    ASSERT_TRUE(evil.SaveDel((Trash() + "file0001.del").c_str()));
    items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_FALSE(items[0]->Restore());
    delete items[0];
    EXPECT_FALSE(PathExists((Root() + "\\..\\outside.jpg").c_str()));
    evil.m_strTrashName = "..\\..\\Images";
    ASSERT_TRUE(evil.SaveDel((Trash() + "file0002.del").c_str()));
    CDelObject read;
    EXPECT_FALSE(read.LoadDel((Trash() + "file0002.del").c_str()));
    evil.m_strTrashName = "file0003";
    ASSERT_TRUE(evil.SaveDel((Trash() + "file0002.del").c_str()));
    EXPECT_FALSE(read.LoadDel((Trash() + "file0002.del").c_str())) << "file0002.del must name file0002";
}

TEST_F(TrashStore, EachStepOfADeletionBatchFailingLosesNothing)
{
    AddPicture("Images\\Un.jpg", "un");
    AddPicture("Images\\Deux.jpg", "deux");
    AddPicture("Images\\Trois.png", "trois");
    AddFolder();
    const Tree before = Snapshot(Root());
    auto batch = [&]() -> BOOL {
        BOOL all = DeletePicture("Images\\Un.jpg");
        all = DeletePicture("Images\\Deux.jpg") && all;
        all = DeleteFolder("Images\\Voyage") && all;
        all = DeletePicture("Images\\Trois.png") && all;
        return all;
    };
    EachStepFails(before, batch, [&](int, BOOL ok) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(Messages(), 1u) << "the user is told";
        // Whatever went into the trash is whole: putting it all back gives the library back.
        RestoreAll();
        EXPECT_EQ(Snapshot(Root()), [&] {
            Tree t = before;
            t["El\xE9ments Supprim\xE9s"] = "<dir>";
            return t;
        }());
    });
}

TEST_F(TrashStore, EachStepOfARestoreBatchOverOtherPicturesFailingLosesNothing)
{
    const char* const names[] = {"Un", "Deux", "Trois"};
    for (const char* name : names) {
        AddPicture(std::string("Images\\") + name + ".jpg", std::string("deleted ") + name);
        ASSERT_TRUE(DeletePicture(std::string("Images\\") + name + ".jpg"));
        AddPicture(std::string("Images\\") + name + ".png", std::string("live ") + name);
    }
    const Tree before = Snapshot(Root());
    auto restore = [&]() -> BOOL {
        AfxScriptNextModal(IDD_FILE_REPLACE, {}, kReplaceYesToAll);
        BeginReplaceBatch();
        BOOL all = TRUE;
        for (CDelObject* item : Items()) {
            all = item->Restore() && all;
            delete item;
        }
        return all;
    };
    EachStepFails(before, restore, [&](int, BOOL ok) {
        if (!ok) {
            EXPECT_EQ(Messages(), 1u) << "the user is told";
        }
        // Each picture is either back in place of the other one, or still whole in the trash with
        // the other one untouched.
        Tree now = Snapshot(Root());
        for (const char* name : names) {
            SCOPED_TRACE(name);
            const std::string jpg = std::string("Images\\") + name + ".jpg";
            const std::string png = std::string("Images\\") + name + ".png";
            const std::string dai = std::string("Images\\") + name + ".dai";
            if (now.count(jpg)) {
                EXPECT_EQ(now[jpg], std::string("deleted ") + name);
                EXPECT_EQ(now[dai], "record of " + jpg);
                EXPECT_EQ(now.count(png), 0u);
            } else {
                EXPECT_EQ(now[png], std::string("live ") + name);
                EXPECT_EQ(now[dai], "record of " + png);
                bool inTrash = false;
                for (const auto& entry : before) {
                    if (entry.second == std::string("deleted ") + name)
                        inTrash = now[entry.first] == entry.second
                                  && now.count(entry.first.substr(0, entry.first.size() - 4) + ".del") == 1;
                }
                EXPECT_TRUE(inTrash);
            }
        }
    });
}

TEST_F(TrashStore, EachStepOfAFolderRestoreOverAFolderFailingLosesNothing)
{
    AddFolder();
    ASSERT_TRUE(DeleteFolder("Images\\Voyage"));
    CreateDirectoryA(Path("Images\\Voyage").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Path("Images\\Voyage\\Autre.jpg"), "another"));
    const Tree before = Snapshot(Root());
    auto restore = [&]() -> BOOL {
        AfxScriptNextModal(IDD_FOLDER_REPLACE, {}, IDYES);
        BeginReplaceBatch();
        std::vector<CDelObject*> items = Items();
        BOOL ok = items.size() == 1 && items[0]->Restore();
        for (CDelObject* item : items)
            delete item;
        return ok;
    };
    EachStepFails(before, restore, [&](int, BOOL ok) {
        if (!ok) {
            EXPECT_EQ(Snapshot(Root()), before);
            EXPECT_EQ(Messages(), 1u);
        } else {
            EXPECT_EQ(ReadBytes(Path("Images\\Voyage\\Jour 1\\Port.jpg")), "port");
        }
    });
}

TEST_F(TrashStore, EachStepOfAnEraseFailingKeepsTheItemListed)
{
    AddPicture("Images\\Vacances.jpg", "deleted");
    ASSERT_TRUE(DeletePicture("Images\\Vacances.jpg"));
    const Tree before = Snapshot(Root());
    auto erase = [&]() -> BOOL {
        std::vector<CDelObject*> items = Items();
        BOOL ok = items.size() == 1 && items[0]->Erase();
        for (CDelObject* item : items)
            delete item;
        return ok;
    };
    // The whole item stays listed and the failure is said, or nothing is listed.
    EachStepFails(before, erase, [&](int, BOOL ok) {
        const bool listed = PathExists((Trash() + "file0001.del").c_str()) != FALSE;
        EXPECT_EQ(ok, !listed);
        EXPECT_EQ(Messages(), listed ? 1u : 0u);
        EXPECT_EQ(PathExists((Trash() + "file0001.pai").c_str()) != FALSE, listed);
        if (listed) {
            EXPECT_EQ(ReadBytes(Trash() + "file0001.dai"), "record of Images\\Vacances.jpg");
        }
    });
}

TEST_F(TrashStore, EachStepOfEmptyingFailingKeepsEachItemListedWholeOrNotAtAll)
{
    AddPicture("Images\\Vacances.jpg", "deleted");
    ASSERT_TRUE(DeletePicture("Images\\Vacances.jpg"));
    AddFolder();
    ASSERT_TRUE(DeleteFolder("Images\\Voyage"));
    const Tree before = Snapshot(Root());
    const auto empty = [] { return EmptyTrashFolder(); };
    EachStepFails(before, empty, [&](int, BOOL ok) {
        EXPECT_EQ(TrashFiles().empty(), ok != FALSE);
        for (const char* item : {"file0001.pai", "file0002.dir"}) {
            const std::string name = std::string(item).substr(0, 8);
            EXPECT_EQ(PathExists((Trash() + item).c_str()), PathExists((Trash() + name + ".del").c_str()))
                << item;
        }
        if (PathExists((Trash() + "file0001.pai").c_str())) {
            EXPECT_EQ(ReadBytes(Trash() + "file0001.dai"), "record of Images\\Vacances.jpg");
        }
    });
}

TEST_F(TrashStore, EmptyingDeletesOnlyInsideTheTrashOfTheRoot)
{
    AddPicture("Images\\Garde.jpg", "kept");
    AddPicture("Images\\Jete.jpg", "thrown");
    ASSERT_TRUE(DeletePicture("Images\\Jete.jpg"));
    AddFolder();
    ASSERT_TRUE(DeleteFolder("Images\\Voyage"));
    const Tree user = UserFiles();
    EXPECT_TRUE(EmptyTrashFolder());
    EXPECT_TRUE(TrashFiles().empty());
    EXPECT_TRUE(PathExists(Trash().c_str()));
    EXPECT_EQ(UserFiles(), user);

    const CString root = g_strLibraryRoot;
    g_strLibraryRoot = "";
    EXPECT_FALSE(EmptyTrashFolder());
    g_strLibraryRoot = "Images\\";
    EXPECT_FALSE(EmptyTrashFolder());
    g_strLibraryRoot = (Path("Images") + "\\").c_str();
    EXPECT_FALSE(EmptyTrashFolder()) << "no trash folder there";
    g_strLibraryRoot = root;
    EXPECT_EQ(UserFiles(), user);
}

TEST_F(TrashStore, TheDeleteNoticeFollowsItsSetting)
{
    const int saved = g_ShowInfoSuppress;
    g_ShowInfoSuppress = 1;
    AfxScriptNextModal(IDD_DELETE_NOTICE, {{IDC_DELETE_NOTICE_DONT_SHOW, "1"}}, IDOK);
    ShowDeleteNotice();
    EXPECT_EQ(g_ShowInfoSuppress, 0);
    ShowDeleteNotice();
    EXPECT_EQ(AfxTestRecords().modals.size(), 1u);
    g_ShowInfoSuppress = 1;
    AfxScriptNextModal(IDD_DELETE_NOTICE, {}, IDOK);
    ShowDeleteNotice();
    EXPECT_EQ(g_ShowInfoSuppress, 1);
    EXPECT_TRUE(AfxTestPendingScripts().empty());
    g_ShowInfoSuppress = saved;
}
