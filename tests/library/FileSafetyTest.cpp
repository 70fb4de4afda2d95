// The files a user has: folders never replaced by pictures, names that keep their case, a
// picture's own record that always goes with it, the trash mended when it is listed, leftovers of cut
// writes removed, one summary for a batch's failures, and stops at every step of every operation
// (what a crash leaves) after which each picture is still reachable with its texts.
#include "tests/support/ShownMessage.h"
#include "tests/piclist/LibraryTestSupport.h"

#include "core/DIB.h"
#include "framework/TestSeams.h"
#include "piclist/DelObject.h"
#include "piclist/FailureReport.h"
#include "library/LibraryTransfer.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "piclist/PictureRename.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-cmds-ids.h"
#include "resources/library-store-ids.h"
#include "resources/resource.h"
#include "tests/support/SmallDisk.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using libtest::LibraryStore;
using libtest::Snapshot;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

const char kTexts[] = "Paris";

// A disk with g_diskRoom bytes left, as the system has it: a write takes what fits, and the next one is
// refused.
const DWORD kRoomLeft = 10 * 1024;
DWORD g_diskRoom = 0;
BOOL WINAPI FillingDiskWrite(HANDLE hFile, LPCVOID data, DWORD count, LPDWORD written,
                             LPOVERLAPPED overlapped)
{
    if (g_diskRoom == 0) {
        *written = 0;
        ::SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    const BOOL ok = ::WriteFile(hFile, data, std::min(count, g_diskRoom), written, overlapped);
    g_diskRoom -= ok ? *written : 0;
    return ok;
}

class FileSafety : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        SetTrashNameLimitForTest(0);
        Reset();
    }
    void TearDown() override
    {
        m_disk.reset();
        SetTrashNameLimitForTest(0);
        LibraryStore::TearDown();
    }
    // An empty library with the folders Images and B, and no question scripted.
    void Reset()
    {
        m_disk.reset();
        DisarmFileFault();
        // Wide calls: a folder the code page cannot spell goes too.
        for (const char* f : {"Images", "B", "El\xE9ments Supprim\xE9s"})
            testpaths::RemoveTree(Path(f));
        for (const char* f : {"Images", "B", "El\xE9ments Supprim\xE9s"})
            CreateDirectoryA(Path(f).c_str(), nullptr);
        ResetUi();
    }
    // A picture and its record file holding comment (none when comment is null).
    void AddPicture(const std::string& rel, const std::string& bytes, const char* comment = kTexts)
    {
        ASSERT_TRUE(WriteBytes(Path(rel), bytes));
        if (comment != nullptr) {
            ASSERT_TRUE(WriteRecord(Path(rel), comment));
        }
    }
    // Un, Deux and Trois in Images (each file holding its own name), their records loaded.
    void AddSeries(std::vector<std::unique_ptr<CPicObject>>& records)
    {
        for (const char* name : {"Un", "Deux", "Trois"}) {
            AddPicture(std::string("Images\\") + name + ".jpg", name);
            records.push_back(std::make_unique<CPicObject>());
            records.back()->m_strPath = Path(std::string("Images\\") + name + ".jpg").c_str();
            ASSERT_TRUE(records.back()->LoadDai());
        }
    }
    // The record of picture holding texts: the comment, and the author and keywords made from it (only
    // the keywords with keywordsOnly); its file facts are those of factsOf (the picture itself by
    // default) when that exists.
    static bool WriteRecord(const std::string& picture, const char* texts, std::string factsOf = "",
                            bool keywordsOnly = false)
    {
        CPicObject record;
        std::string name = picture.substr(picture.rfind('\\') + 1);
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((factsOf.empty() ? picture : factsOf).c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            FindClose(h);
            FillRecordFromEntry(&record, picture.c_str(), fd);
        }
        record.m_strPath = picture.c_str();
        record.m_strFileName = name.c_str();
        record.m_strBaseName = name.substr(0, name.rfind('.')).c_str();
        record.m_strExt = name.substr(name.rfind('.') + 1).c_str();
        if (*texts) {
            record.m_strKeywords = (std::string(texts) + ";voyage").c_str();
            if (!keywordsOnly) {
                record.m_strComment = texts;
                record.m_strAuthor = (std::string("par ") + texts).c_str();
            }
        }
        return record.SaveDai() != FALSE;
    }
    // The texts of a record file as WriteRecord writes them ("" for none, "#" and the texts for
    // keywords only); "<none>" when it cannot be read, "<mixed>" when its fields are not of one
    // writing (some lost or another's).
    static std::string Texts(const std::string& recordFile)
    {
        CPicObject record;
        if (!ReadRecordAsIs(recordFile.c_str(), record))
            return "<none>";
        const std::string comment(record.m_strComment);
        const std::string keywords(record.m_strKeywords);
        if (comment.empty() && record.m_strAuthor.IsEmpty())
            return keywords.empty() ? ""
                   : keywords.size() > 7 && keywords.substr(keywords.size() - 7) == ";voyage"
                       ? "#" + keywords.substr(0, keywords.size() - 7)
                       : "<mixed>";
        if (std::string(record.m_strAuthor) != "par " + comment
            || std::string(record.m_strKeywords) != comment + ";voyage")
            return "<mixed>";
        return comment;
    }
    static std::string Record(const std::string& picture)
    {
        return std::string(RecordFilePath(picture.c_str()));
    }
    // The name of a file as the disk spells it.
    static std::string DiskName(const std::string& path)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(path.c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        FindClose(h);
        return fd.cFileName;
    }
    // A transfer item as the list gives it: the record of the file on disk.
    TransferItem Item(const std::string& path)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(path.c_str(), &fd);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << path;
        FindClose(h);
        CPicObject record;
        FillRecordFromEntry(&record, path.c_str(), fd);
        return {record.m_strPath, record.m_strBaseName, record.m_strFileName};
    }
    BOOL Delete(const std::string& rel)
    {
        CDelObject item(kTrashPicture);
        item.m_strRelPath = rel.c_str();
        item.m_strRelDaiPath = (rel.substr(0, rel.rfind('.')) + ".dai").c_str();
        item.m_strOrigFolder = Path(rel.substr(0, rel.rfind('\\'))).c_str();
        return item.MoveToTrash();
    }
    std::vector<std::unique_ptr<CDelObject>> TrashItems()
    {
        std::vector<std::unique_ptr<CDelObject>> items;
        for (const CString& del : ListMatchingFiles((Trash() + "*.del").c_str())) {
            auto item = std::make_unique<CDelObject>();
            if (item->LoadDel(del))
                items.push_back(std::move(item));
        }
        std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
            return std::string(a->m_strTrashName) < std::string(b->m_strTrashName);
        });
        return items;
    }
    BOOL RestoreAll()
    {
        BeginReplaceBatch();
        BOOL ok = TRUE;
        for (auto& item : TrashItems())
            ok = item->Restore() && ok;
        return ok;
    }
    std::string LastMessage() const
    {
        const auto& boxes = AfxTestRecords().messageBoxes;
        return boxes.empty() ? std::string() : boxes.back().text;
    }
    // One message, with the cause and the file it is about (a long path by its beginning and its
    // end), and OK alone (one item, nothing follows to go on with), or buttons for a retry.
    void ExpectSaid(const char* cause, const std::string& rel, const std::string& kind = "",
                    UINT buttons = MB_OK)
    {
        ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
        EXPECT_NE(LastMessage().find(cause), std::string::npos) << LastMessage();
        const std::string named = Path(rel);
        if (named.size() < 60) {
            EXPECT_NE(LastMessage().find(kind + named), std::string::npos) << LastMessage();
        } else {
            EXPECT_NE(LastMessage().find(kind + named.substr(0, 30)), std::string::npos) << LastMessage();
            EXPECT_NE(LastMessage().find(named.substr(named.size() - 30)), std::string::npos)
                << LastMessage();
        }
        EXPECT_EQ(AfxTestRecords().messageBoxes[0].type & MB_TYPEMASK, buttons);
        EXPECT_EQ(AfxTestPendingScripts(), "");
    }
    // A picture of folder with its texts and thumbnail, renamed as a series once fill has left the disk
    // too little room for its new record: the thumbnail's bits go in one write the disk takes in part.
    void RenameOntoAFillingDisk(const std::string& folder, const std::function<void()>& fill)
    {
        const std::string picture = Path(folder + "\\Un.bmp");
        ASSERT_TRUE(libtest::WriteBmp(picture, 84, 68, 1));
        ASSERT_TRUE(WriteRecord(picture, kTexts));
        CPicObject record;
        record.m_strPath = picture.c_str();
        ASSERT_TRUE(record.LoadDai() && record.BuildThumbnail());
        fill();
        RenamePictureSeries({&record}, Path(folder).c_str(), "Serie", FALSE, nullptr);
    }
    // A disk of the scenario's own, unmounted when the next one starts.
    std::unique_ptr<testpaths::SmallDisk> m_disk;
};

struct Scenario {
    const char* name;
    std::function<void()> run;
};

// The file held open, as another program would, while the result lives: it can be neither moved
// nor deleted meanwhile (and not read either, unless shared for reading).
std::shared_ptr<void> Held(const std::string& path, DWORD share = 0)
{
    return std::shared_ptr<void>(
        CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle);
}

} // namespace

TEST_F(FileSafety, FilesOfTheUserAreNeverLostNorRenamed)
{
    const std::vector<Scenario> scenarios = {
        {"an export never replaces a folder named like the picture",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             CreateDirectoryA(Path("B\\Un.jpg").c_str(), nullptr);
             WriteBytes(Path("B\\Un.jpg\\lettre.txt"), "inside");
             EXPECT_EQ(ExportPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str()),
                       std::vector<TransferOutcome>{kTransferFailed});
             EXPECT_EQ(ReadBytes(Path("B\\Un.jpg\\lettre.txt")), "inside");
             EXPECT_TRUE(AfxTestRecords().modals.empty()) << "no replace question";
             EXPECT_NE(LastMessage().find(Path("B\\Un.jpg")), std::string::npos);
         }},
        {"a restore never replaces a folder named like the picture",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             CreateDirectoryA(Path("Images\\Un.jpg").c_str(), nullptr);
             WriteBytes(Path("Images\\Un.jpg\\lettre.txt"), "inside");
             EXPECT_FALSE(RestoreAll());
             EXPECT_EQ(ReadBytes(Path("Images\\Un.jpg\\lettre.txt")), "inside");
             EXPECT_EQ(TrashItems().size(), 1u) << "the picture stays in the trash";
             EXPECT_NE(LastMessage().find("dossier"), std::string::npos);
         }},
        {"moves, exports and case-only renames keep the names' case",
         [&] {
             AddPicture("Images\\IMG_001.jpg", "picture img", nullptr);
             AddPicture("Images\\PHOTO.JPG", "picture photo", nullptr);
             std::vector<TransferItem> items{Item(Path("Images\\IMG_001.jpg")),
                                             Item(Path("Images\\PHOTO.JPG"))};
             EXPECT_EQ(TransferPictures(items, Path("B").c_str(), FALSE),
                       std::vector<TransferOutcome>(2, kTransferDone));
             EXPECT_EQ(DiskName(Path("B\\IMG_001.jpg")), "IMG_001.jpg");
             EXPECT_EQ(DiskName(Path("B\\PHOTO.JPG")), "PHOTO.JPG");
             ExportPictures({Item(Path("B\\IMG_001.jpg"))}, Path("Images").c_str());
             EXPECT_EQ(DiskName(Path("Images\\IMG_001.jpg")), "IMG_001.jpg");
             CPicObject photo;
             WIN32_FIND_DATAA fd;
             FindClose(FindFirstFileA(Path("B\\PHOTO.JPG").c_str(), &fd));
             FillRecordFromEntry(&photo, Path("B\\PHOTO.JPG").c_str(), fd);
             EXPECT_STREQ(photo.m_strBaseName, "PHOTO") << "the rename dialog shows the real name";
             EXPECT_EQ(RenamePictureFiles(photo, Path("B").c_str(), "Photo"), RenameResult::Done);
             EXPECT_EQ(DiskName(Path("B\\Photo.JPG")), "Photo.JPG");
         }},
        {"a lone record at the destination: the picture's own older one gives way, another's is asked about",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             AddPicture("Images\\Un.png", "other picture", nullptr); // Un.dai is Un.jpg's
             ASSERT_TRUE(WriteRecord(Path("B\\Un.jpg"), "Lyon"));    // of another Un.jpg, gone
             AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDNO);
             EXPECT_EQ(TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE),
                       std::vector<TransferOutcome>{kTransferSkipped});
             EXPECT_EQ(Texts(Path("B\\Un.dai")), "Lyon");
             AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
             TransferPictures({Item(Path("Images\\Un.png"))}, Path("B").c_str(), FALSE);
             EXPECT_EQ(Texts(Path("Images\\Un.dai")), kTexts) << "another picture's record stays";
             EXPECT_EQ(Snapshot(Path("B")),
                       (std::map<std::string, std::string>{{"Un.png", "other picture"}}));
             DeleteFileA(Path("B\\Un.png").c_str());
             ASSERT_TRUE(WriteRecord(Path("B\\Un.jpg"), "Lyon", Path("Images\\Un.jpg")));
             TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE);
             EXPECT_EQ(Texts(Path("B\\Un.dai")), kTexts);
             EXPECT_EQ(Snapshot(Path("B")).size(), 2u) << "nothing set aside stays";
             EXPECT_EQ(AfxTestRecords().modals.size(), 2u);
             EXPECT_EQ(AfxTestPendingScripts(), "");
         }},
        {"a move writes the record at the destination before the picture leaves",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             ArmFileStop(kAnyStep, "", 1);
             TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE);
             DisarmFileFault();
             EXPECT_EQ(ReadBytes(Path("Images\\Un.jpg")), "picture Un");
             EXPECT_EQ(Texts(Path("Images\\Un.dai")), kTexts);
         }},
        {"a picture in the trash without its trash record is listed and restorable",
         [&] {
             CreateDirectoryA(Path("Images\\Voyage").c_str(), nullptr);
             AddPicture("Images\\Voyage\\Un.jpg", "picture Un");
             ArmFileStop(kStepMove, "Un.jpg", 1); // the picture reaches the trash, its trash record never
             Delete("Images\\Voyage\\Un.jpg");
             DisarmFileFault();
             WriteBytes(Trash() + "file0009.pai", "GIF89a picture without record");
             CreateDirectoryA((Trash() + "file000A.dir").c_str(), nullptr); // a folder the same
             EXPECT_EQ(RepairTrashFolder(), 3);
             auto items = TrashItems();
             ASSERT_EQ(items.size(), 3u);
             EXPECT_STREQ(items[0]->m_strRelPath, "Images\\Voyage\\Un.jpg");
             EXPECT_STREQ(items[1]->m_strRelPath, "Images\\file0009.gif");
             EXPECT_STREQ(items[2]->m_strRelPath, "Images\\file000A");
             EXPECT_TRUE(RestoreAll());
             EXPECT_EQ(ReadBytes(Path("Images\\Voyage\\Un.jpg")), "picture Un");
             EXPECT_EQ(Texts(Path("Images\\Voyage\\Un.dai")), kTexts);
             EXPECT_EQ(ReadBytes(Path("Images\\file0009.gif")), "GIF89a picture without record");
         }},
        {"a folder keeps its name through a stop at each step of its delete, and of an erase or an emptying "
         "that keeps it whole for a name two levels down that the code page cannot spell",
         [&] {
             const auto deleteVoyage = [&] {
                 CDelObject item(kTrashFolder);
                 item.m_strRelPath = "Images\\Voyage";
                 item.m_strOrigFolder = Path("Images").c_str();
                 return item.MoveToTrash();
             };
             const std::wstring unspelled = testpaths::Wide(Path("Images\\Voyage\\Jour")) + L"\\\x0141odz";
             for (const std::string op : {"delete", "erase", "empty"})
                 for (int n = 1;; n++) {
                     SCOPED_TRACE(op + ", stop after step " + std::to_string(n));
                     Reset();
                     SafeCreateFolder(Path("Images\\Voyage\\Jour").c_str());
                     AddPicture("Images\\Voyage\\Jour\\Un.jpg", "picture Un");
                     if (op != "delete") {
                         ASSERT_TRUE(CreateDirectoryW(unspelled.c_str(), nullptr));
                         AddPicture("Images\\Deux.jpg", "picture Deux"); // steps for the emptying
                         ASSERT_TRUE(Delete("Images\\Deux.jpg") && deleteVoyage());
                     }
                     ArmFileStop(kAnyStep, "", n);
                     if (op == "delete")
                         deleteVoyage();
                     else if (op == "erase")
                         TrashItems().back()->Erase();
                     else
                         EmptyTrashFolder();
                     const bool stopped = FileFaultFired() != FALSE;
                     DisarmFileFault();
                     RemoveLeftoverTempFiles(Trash().c_str());
                     RepairTrashFolder();
                     // In its place, or in the trash under its own name: it comes back whole.
                     BeginReplaceBatch();
                     for (auto& item : TrashItems())
                         if (item->m_nKind == kTrashFolder) {
                             EXPECT_STREQ(item->m_strRelPath, "Images\\Voyage");
                             EXPECT_TRUE(item->Restore());
                         }
                     EXPECT_EQ(ReadBytes(Path("Images\\Voyage\\Jour\\Un.jpg")), "picture Un");
                     EXPECT_EQ(Texts(Path("Images\\Voyage\\Jour\\Un.dai")), kTexts);
                     EXPECT_EQ(GetFileAttributesW(unspelled.c_str()) != INVALID_FILE_ATTRIBUTES,
                               op != "delete");
                     if (stopped)
                         continue;
                     EXPECT_TRUE(op != "erase"
                                 || LastMessage().find("il contient 'Voyage\\Jour\\?odz'")
                                        != std::string::npos)
                         << LastMessage();
                     break;
                 }
         }},
        {"a trash record whose picture is back is cleared, its record file joining the picture",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             ArmFileStop(kStepMove, "", 1); // the picture goes back, its record stays in the trash
             RestoreAll();
             DisarmFileFault();
             ASSERT_TRUE(WriteRecord(Path("Images\\Un.jpg"), "")); // what the folder's scan makes
             EXPECT_EQ(RepairTrashFolder(), 1);
             EXPECT_TRUE(TrashItems().empty());
             EXPECT_TRUE(Snapshot(Trash()).empty());
             EXPECT_EQ(Texts(Path("Images\\Un.dai")), kTexts);
         }},
        {"the trash gives its texts only to the picture it no longer holds",
         [&] {
             // A picture deleted, and a new one of its name at its path, with a new record.
             AddPicture("Images\\Un.jpg", "picture Un");
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             AddPicture("Images\\Un.jpg", "the new one", "");
             RepairTrashFolder();
             EXPECT_EQ(Texts(Path("Images\\Un.dai")), "");
             auto items = TrashItems();
             ASSERT_EQ(items.size(), 1u);
             EXPECT_EQ(Texts(std::string(items[0]->TrashFile(".dai"))), kTexts);
             // A lone record in the trash: back to its picture standing without one; a copy of the
             // record beside its picture goes.
             Reset();
             AddPicture("Images\\Un.jpg", "picture Un");
             AddPicture("Images\\Deux.jpg", "picture Deux", "Lyon");
             ASSERT_TRUE(SafeCopy(Path("Images\\Un.dai").c_str(), (Trash() + "file0001.dai").c_str()));
             ASSERT_TRUE(SafeCopy(Path("Images\\Deux.dai").c_str(), (Trash() + "file0002.dai").c_str()));
             ASSERT_TRUE(DeleteFileA(Path("Images\\Un.dai").c_str()));
             EXPECT_EQ(RepairTrashFolder(), 2);
             EXPECT_EQ(Texts(Path("Images\\Un.dai")), kTexts);
             EXPECT_EQ(Texts(Path("Images\\Deux.dai")), "Lyon");
             EXPECT_TRUE(Snapshot(Trash()).empty());
         }},
        {"a record copy is a leftover only when all it holds is held beside its picture",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             CPicObject own;
             ASSERT_TRUE(ReadRecordAsIs(Path("Images\\Un.dai").c_str(), own, TRUE));
             delete own.m_pThumbDIB;
             own.m_pThumbDIB = new CDIB;
             own.m_pThumbDIB->Attach(libtest::MakePicture(8, 6, 3));
             ASSERT_TRUE(WriteOneRecord(Path("Images\\Un.dai").c_str(), own));
             // Nothing, the comment, the author, the keywords, the thumbnail's pixels.
             for (int differs = 0; differs < 5; differs++) {
                 CPicObject copy;
                 ASSERT_TRUE(ReadRecordAsIs(Path("Images\\Un.dai").c_str(), copy, TRUE));
                 CString* field[] = {nullptr, &copy.m_strComment, &copy.m_strAuthor, &copy.m_strKeywords};
                 if (differs == 4)
                     copy.m_pThumbDIB->Attach(libtest::MakePicture(8, 6, 4));
                 else if (field[differs] != nullptr)
                     *field[differs] += " (corrig\xE9)";
                 ASSERT_TRUE(WriteOneRecord(Path("B\\UN.DAI").c_str(), copy)); // named in capitals
                 RecoverCutOperations(Path("B").c_str(), TRUE);
                 EXPECT_EQ(PathExists(Path("B\\UN.DAI").c_str()) != FALSE, differs != 0) << differs;
                 DeleteFileA(Path("B\\UN.DAI").c_str());
             }
         }},
        {"a restore onto a lone record, then a restore cut short and an empty or an erase",
         [&] {
             // The record there and the picture's own: the one with texts ends beside the picture;
             // with texts in both, the item stays whole in the trash and the user is told.
             // Keywords alone are texts too.
             for (const char* there : {"Lyon", "#Lyon", ""})
                 for (const char* own : {kTexts, ""}) {
                     const bool both = *there && *own;
                     AddPicture("Images\\Un.jpg", "picture Un", own);
                     ASSERT_TRUE(Delete("Images\\Un.jpg"));
                     ASSERT_TRUE(
                         WriteRecord(Path("Images\\Un.jpg"), there + (*there == '#'), "", *there == '#'));
                     EXPECT_EQ(RestoreAll() != FALSE, !both) << there << own;
                     EXPECT_EQ(Texts(Path("Images\\Un.dai")), *there ? there : own);
                     EXPECT_EQ(Snapshot(Trash()).size(), both ? 3u : 0u) << "nothing of it is left behind";
                     EXPECT_EQ(PathExists(Path("Images\\Un.jpg").c_str()) != FALSE, !both);
                     EXPECT_TRUE(!both
                                 || (LastMessage().find("Un.jpg") != std::string::npos
                                     && LastMessage().find(Path("Images")) != std::string::npos));
                     Reset();
                 }
             for (const char* own : {kTexts, ""}) // without texts, onto a lone record with texts
                 for (int then : {0, 1, 2}) {     // empty, erase, list the trash
                     AddPicture("Images\\Un.jpg", "picture Un", own);
                     ASSERT_TRUE(Delete("Images\\Un.jpg"));
                     ASSERT_TRUE(*own || WriteRecord(Path("Images\\Un.jpg"), "Lyon"));
                     ArmFileStop(kStepMove, "", 1); // the picture goes back, its record stays in the trash
                     RestoreAll();
                     DisarmFileFault();
                     EXPECT_TRUE(then == 0   ? EmptyTrashFolder()
                                 : then == 1 ? TrashItems()[0]->Erase()
                                             : RepairTrashFolder() == 1);
                     EXPECT_EQ(Texts(Path("Images\\Un.dai")), *own ? own : "Lyon") << then;
                     EXPECT_TRUE(Snapshot(Trash()).empty());
                     Reset();
                 }
         }},
        {"a restore whose trash record cannot be removed says so",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             ArmFileFault(kStepDelete, ".del", 1);
             EXPECT_TRUE(RestoreAll());
             DisarmFileFault();
             EXPECT_NE(LastMessage().find(Path("Images\\Un.jpg")), std::string::npos);
             RepairTrashFolder();
             EXPECT_TRUE(TrashItems().empty());
         }},
        {"leftovers of cut writes go, other files and writes in progress stay",
         [&] {
             for (const char* name :
                  {"~tsr12AB.tmp", "~tsrzzzz.tmp", "~tsr12AB5.tmp", "~tsa0001.tmp", "Un.jpg"})
                 WriteBytes(Path(std::string("Images\\") + name), name);
             EXPECT_EQ(RemoveLeftoverTempFiles(Path("Images").c_str()), 1);
             std::map<std::string, std::string> left = Snapshot(Path("Images"));
             EXPECT_EQ(left.count("~tsr12AB.tmp"), 0u);
             EXPECT_EQ(left.size(), 4u);
             RecoverCutOperations(Path("Images").c_str(), TRUE); // a file set aside whose name is unknown
             EXPECT_NE(LastMessage().find(Path("Images\\~tsa0001.tmp")), std::string::npos) << LastMessage();
             EXPECT_EQ(Snapshot(Path("Images")), left);
             const size_t told = Messages(); // another file later kept under that name is told too
             WriteBytes(Path("Images\\~tsa0001.tmp"), "another file");
             RecoverCutOperations(Path("Images").c_str(), TRUE);
             EXPECT_EQ(Messages(), told + 1);
             BOOL held = FALSE;
             EXPECT_TRUE(SafeWriteFile(Path("B\\Deux.dai").c_str(), [&](HANDLE h) {
                 DWORD written = 0;
                 WriteFile(h, "x", 1, &written, nullptr);
                 RemoveLeftoverTempFiles(Path("B").c_str());
                 held = !ListMatchingFiles(Path("B\\~tsr*.tmp").c_str()).empty();
                 return TRUE;
             }));
             EXPECT_TRUE(held) << "a write of this program keeps its temporary file";
             EXPECT_EQ(ReadBytes(Path("B\\Deux.dai")), "x");
         }},
        {"a batch says its failures once, and stops when asked",
         [&] {
             std::vector<TransferItem> items;
             for (const char* name : {"Un", "Deux", "Trois"}) {
                 AddPicture(std::string("Images\\") + name + ".jpg", name);
                 CreateDirectoryA(Path(std::string("B\\") + name + ".jpg").c_str(), nullptr);
                 items.push_back(Item(Path(std::string("Images\\") + name + ".jpg")));
             }
             AfxScriptMessageBox(IDYES);
             EXPECT_EQ(TransferPictures(items, Path("B").c_str(), TRUE),
                       std::vector<TransferOutcome>(3, kTransferFailed));
             EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 2u) << "a question, then one summary";
             EXPECT_NE(LastMessage().find("Un.jpg"), std::string::npos);
             ResetUi();
             AfxScriptMessageBox(IDNO);
             EXPECT_EQ(TransferPictures(items, Path("B").c_str(), FALSE),
                       (std::vector<TransferOutcome>{kTransferNotTried, kTransferNotTried, kTransferFailed}));
             EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
         }},
        {"a picture set aside goes back after its own record, not while another program holds that",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             AddPicture("B\\Un.jpg", "other picture", "Lyon");
             ArmFileStop(kStepMove, "B\\Un.jpg", 1); // both set aside, nothing in their place
             AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
             TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE);
             DisarmFileFault();
             auto held = Held(std::string(ListMatchingFiles(Path("B\\~tsa*.Un.dai.tmp").c_str()).at(0)));
             RecoverCutOperations(Path("B").c_str(), TRUE);
             EXPECT_FALSE(PathExists(Path("B\\Un.jpg").c_str())) << "back without its texts";
             held.reset();
             RecoverCutOperations(Path("B").c_str(), TRUE);
             EXPECT_EQ(ReadBytes(Path("B\\Un.jpg")), "other picture");
             EXPECT_EQ(Texts(Path("B\\Un.dai")), "Lyon");
         }},
        {"a record set aside goes back with the picture it describes, not another of its name",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             AddPicture("B\\Un.png", "other picture", nullptr);
             ASSERT_TRUE(WriteRecord(Path("B\\Un.jpg"), "Lyon")); // of another Un.jpg, gone
             ArmFileStop(kStepMove, "B\\Un.jpg", 1);              // the picture in, nothing removed
             AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
             TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE);
             DisarmFileFault();
             RecoverCutOperations(Path("B").c_str(), TRUE);
             EXPECT_EQ(ReadBytes(Path("B\\Un.png")), "other picture");
         }},
        {"a record left behind goes back to its picture, not to another of its size and date",
         [&] {
             for (int stop : {1, 2}) { // before the picture leaves; after, another taking its name
                 Reset();
                 ASSERT_TRUE(libtest::WriteBmp(Path("Images\\Un.bmp"), 20, 10, 1));
                 libtest::SetWriteTime(Path("Images\\Un.bmp"), 2020, 5, 1, 10, 0);
                 ASSERT_TRUE(WriteRecord(Path("Images\\Un.bmp"), kTexts));
                 CPicObject record;
                 record.m_strPath = Path("Images\\Un.bmp").c_str();
                 ASSERT_TRUE(record.LoadDai() && record.BuildThumbnail() && record.SaveDai());
                 ArmFileStop(kStepMove, "", stop);
                 Delete("Images\\Un.bmp");
                 DisarmFileFault();
                 if (stop == 2) {
                     ASSERT_TRUE(libtest::WriteBmp(Path("Images\\Un.bmp"), 20, 10, 2));
                     libtest::SetWriteTime(Path("Images\\Un.bmp"), 2020, 5, 1, 10, 0);
                 }
                 RecoverCutOperations(Path("Images").c_str(), TRUE);
                 EXPECT_EQ(Texts(Path("Images\\Un.dai")), stop == 1 ? kTexts : "<none>");
             }
         }},
        {"a replace whose move fails puts the set-aside files back",
         [&] {
             WriteBytes(Path("B\\Un.jpg"), "old jpg");
             WriteBytes(Path("B\\Un.png"), "old png");
             WriteBytes(Path("Images\\Un.jpg"), "new");
             ArmFileFault(kStepMove, "", 3); // two set aside, then the move itself
             EXPECT_FALSE(ReplaceByMove(Path("Images\\Un.jpg").c_str(), Path("B\\Un.jpg").c_str(),
                                        {Path("B\\Un.jpg").c_str(), Path("B\\Un.png").c_str()}));
             EXPECT_TRUE(FileFaultFired());
             EXPECT_EQ(Snapshot(Path("B")),
                       (std::map<std::string, std::string>{{"Un.jpg", "old jpg"}, {"Un.png", "old png"}}));
             EXPECT_EQ(ReadBytes(Path("Images\\Un.jpg")), "new");
         }},
        {"a rename whose picture cannot move leaves no record of the new name",
         [&] {
             AddPicture("Images\\Un.jpg", "picture Un");
             CPicObject record;
             record.m_strPath = Path("Images\\Un.jpg").c_str();
             ASSERT_TRUE(record.LoadDai());
             ArmFileFault(kStepMove, "", 1);
             EXPECT_EQ(RenamePictureFiles(record, Path("Images").c_str(), "Deux"), RenameResult::Failed);
             EXPECT_FALSE(PathExists(Path("Images\\Deux.dai").c_str()));
             EXPECT_EQ(Texts(Path("Images\\Un.dai")), kTexts);
             EXPECT_STREQ(record.m_strBaseName, "Un");
         }},
        {"a series rename asks once at its first failure and sums up the rest",
         [&] {
             std::vector<std::unique_ptr<CPicObject>> records;
             ASSERT_NO_FATAL_FAILURE(AddSeries(records));
             DeleteFileA(Path("Images\\Trois.jpg").c_str());   // gone behind the list's back
             ArmFileFault(kStepWrite, "", 1, ERROR_DISK_FULL); // for Un's new record
             AfxScriptMessageBox(IDYES);
             EXPECT_EQ(RenamePictureSeries({records[0].get(), records[1].get(), records[2].get()},
                                           Path("Images").c_str(), "Serie", FALSE, nullptr),
                       1);
             // The number Un could not take goes to the next picture.
             EXPECT_EQ(ReadBytes(Path("Images\\Serie 1.jpg")), "Deux");
             EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 2u) << "a question, then one summary";
             EXPECT_NE(LastMessage().find("Un.jpg. Le disque est plein."), std::string::npos)
                 << LastMessage();
             EXPECT_NE(LastMessage().find("Trois.jpg"), std::string::npos) << LastMessage();
         }},
        {"a summary lists what fits on a screen of 1,024 by 768 and counts the rest, one in the singular",
         [&] {
             std::string deep = "C:\\Mes Images"; // 262 characters, with blanks
             while (deep.size() < 250)
                 deep += "\\Vacances d'\xE9t\xE9";
             const struct {
                 int failures;
                 std::string text;
                 const char* last; // null: "... et N autres.", N > 1 counting those not listed
             } cases[] = {{2, "Echec.", "Echec."},
                          {13, "Echec.", "... et 1 autre."},
                          {13, "Impossible de copier " + deep + "\\Plage.jpg.", nullptr}};
             for (const auto& c : cases) {
                 AfxScriptMessageBox(IDYES);
                 {
                     CFailureBatch batch(c.failures + 1);
                     for (int i = 0; i < c.failures; ++i, batch.Next())
                         ReportFileFailure(c.text.c_str());
                 }
                 const std::string said = LastMessage();
                 const int left =
                     c.failures + 1 - static_cast<int>(std::count(said.begin(), said.end(), '\n'));
                 EXPECT_EQ(said.substr(said.rfind('\n') + 1),
                           c.last != nullptr ? c.last : "... et " + std::to_string(left) + " autres.");
                 EXPECT_TRUE(c.last != nullptr || left > 1) << left;
                 EXPECT_EQ(said.find(deep), std::string::npos) << "a path by its ends";
                 const SIZE box = MessageBoxSize(said);
                 EXPECT_LE(box.cx, 1024) << said;
                 EXPECT_LE(box.cy, 768) << said;
             }
         }},
        {"a series rename passes a number a folder holds and takes one only a leftover record holds",
         [&] {
             std::vector<std::unique_ptr<CPicObject>> records;
             ASSERT_NO_FATAL_FAILURE(AddSeries(records));
             CreateDirectoryA(Path("Images\\Serie 2.jpg").c_str(), nullptr);
             CPicObject cut; // a rename of Un stopped before its picture moved
             cut.m_strPath = Path("Images\\Un.jpg").c_str();
             ASSERT_TRUE(cut.LoadDai());
             ArmFileStop(kStepWrite, "", 1);
             RenamePictureFiles(cut, Path("Images").c_str(), "Serie 3");
             DisarmFileFault();
             ASSERT_TRUE(PathExists(Path("Images\\Serie 3.dai").c_str()));
             EXPECT_EQ(RenamePictureSeries({records[0].get(), records[1].get(), records[2].get()},
                                           Path("Images").c_str(), "Serie", FALSE, nullptr),
                       3);
             for (const char* name : {"Serie 1.jpg", "Serie 3.jpg", "Serie 4.jpg"})
                 EXPECT_EQ(Texts(Record(Path(std::string("Images\\") + name))), kTexts) << name;
             EXPECT_EQ(ReadBytes(Path("Images\\Serie 3.jpg")), "Deux");
             EXPECT_TRUE(AfxTestRecords().messageBoxes.empty()) << LastMessage();
         }},
        {"the same file is found whatever the case of its path",
         [&] {
             EXPECT_TRUE(IsSamePath(Path("Images\\Absent.jpg").c_str(), Path("IMAGES\\absent.JPG").c_str()));
             EXPECT_FALSE(
                 IsSamePath(Path("Images\\Absent.jpg").c_str(), Path("Images\\Absent2.jpg").c_str()));
         }},
        {"a copy never keeps the read-only attribute",
         [&] {
             WriteBytes(Path("Images\\Un.jpg"), "picture Un");
             SetFileAttributesA(Path("Images\\Un.jpg").c_str(), FILE_ATTRIBUTE_READONLY);
             EXPECT_TRUE(SafeCopy(Path("Images\\Un.jpg").c_str(), Path("B\\Un.jpg").c_str()));
             EXPECT_FALSE(GetFileAttributesA(Path("B\\Un.jpg").c_str()) & FILE_ATTRIBUTE_READONLY);
             EXPECT_TRUE(GetFileAttributesA(Path("Images\\Un.jpg").c_str()) & FILE_ATTRIBUTE_READONLY);
             SetFileAttributesA(Path("Images\\Un.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
         }},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        Reset();
        s.run();
        DisarmFileFault();
    }
}

// What the system refused, said after the message of every operation that failed on it; a long path
// named by its beginning and its end.
TEST_F(FileSafety, FailuresNameTheirCause)
{
    const char* const kHeld = "Le fichier est utilis\xE9 par un autre programme.";
    const char* const kTooLong = "Le nom du fichier est trop long.";
    const std::string longFolder = Path("B\\") + std::string(250 - Path("B\\").size(), 'x');
    // A folder where Un.jpg fits and a picture of a longer name does not.
    const std::string deep = testpaths::MakeFolderOfLength(Path("B"), 200);
    const std::string longName = std::string(60, 'n') + ".jpg";
    const std::string deepRel = deep.substr(Root().size() + 1) + "\\" + longName;
    const std::string restoredRel =
        "Images\\" + std::string(200 - Path("Images\\").size(), 'r') + "\\" + longName;
    const std::string seriesFolder = testpaths::MakeFolderOfLength(Path("Images"), 230);
    CreateDirectoryA(Path("B\\Non").c_str(), nullptr);
    const std::string noRoom = testpaths::MakeFolderOfLength(Path("B\\Non"), 247);
    // A name one character too long for a picture in Images.
    const std::string tooLong(260 - Path("Images\\").size(), 'n');
    // A step typing name in a rename dialog, whose field is read into kept while the dialog is open.
    const auto typing = [](const std::string& name, std::string& kept) {
        AfxModalStep step;
        step.fields = {{IDC_RENAME_NAME, name}};
        step.check = [&kept](CWnd* pDlg) {
            char text[MAX_PATH] = "";
            GetDlgItemTextA(pDlg->GetSafeHwnd(), IDC_RENAME_NAME, text, sizeof(text));
            kept = text;
        };
        return step;
    };
    const auto loaded = [&](CPicObject& record) {
        record.m_strPath = Path("Images\\Un.jpg").c_str();
        return record.LoadDai() != FALSE;
    };
    const auto longAndDeep = [&] {
        EXPECT_EQ(testpaths::MakeFolderOfLength(Path("B"), 200), deep);
        AddPicture("Images\\" + longName, "picture long");
        return Item(Path("Images\\" + longName));
    };
    const struct {
        const char* name;
        std::function<void()> run;
        const char* cause;
        std::string named;     // the file the message names: the one the cause is about
        const char* kind = ""; // the words before it, where a file and a folder are said apart
        UINT buttons = MB_OK;
    } rows[] = {
        {"a delete whose trash record meets a full disk",
         [&] {
             ArmFileFault(kStepWrite, ".del", 1, ERROR_DISK_FULL);
             EXPECT_FALSE(Delete("Images\\Un.jpg"));
         },
         "Le disque est plein.", "Images\\Un.jpg"},
        {"a move of a picture another program holds",
         [&] {
             auto held = Held(Path("Images\\Un.jpg"));
             TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE);
         },
         kHeld, "Images\\Un.jpg"},
        {"a move of a picture whose record another program reads",
         [&] {
             auto held = Held(Path("Images\\Un.dai"), FILE_SHARE_READ);
             TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE);
         },
         kHeld, "Images\\Un.dai"},
        {"a delete of a picture whose record another program reads",
         [&] {
             auto held = Held(Path("Images\\Un.dai"), FILE_SHARE_READ);
             EXPECT_FALSE(Delete("Images\\Un.jpg"));
         },
         kHeld, "Images\\Un.dai"},
        {"a rename of a picture whose record another program reads",
         [&] {
             CPicObject record;
             ASSERT_TRUE(loaded(record));
             auto held = Held(Path("Images\\Un.dai"), FILE_SHARE_READ);
             AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "Deux"}}, IDOK);
             AfxScriptMessageBox(IDCANCEL);
             EXPECT_FALSE(RunRenamePicture(nullptr, record, Path("Images").c_str()));
             EXPECT_EQ(ReadBytes(Path("Images\\Un.jpg")), "picture Un");
         },
         kHeld, "Images\\Un.dai", "", MB_RETRYCANCEL},
        {"a delete of a picture whose record another program holds, unread by its listing too",
         [&] {
             auto held = Held(Path("Images\\Un.dai"));
             EXPECT_FALSE(MovePictureToTrash(Path("Images\\Un.jpg").c_str(), FALSE));
             EXPECT_EQ(ReadBytes(Path("Images\\Un.jpg")), "picture Un");
         },
         kHeld, "Images\\Un.dai"},
        {"a rename of a picture whose record another program held when listed, then let go",
         [&] {
             // As listed while its record file could not be read: no texts in memory.
             CPicObject record;
             ASSERT_TRUE(loaded(record));
             record.m_bMemoryOnly = TRUE;
             record.m_strComment.Empty();
             record.m_strAuthor.Empty();
             record.m_strKeywords.Empty();
             auto held = Held(Path("Images\\Un.dai"));
             AfxModalStep refused;
             refused.fields = {{IDC_RENAME_NAME, "Deux"}};
             refused.check = [&](CWnd*) {
                 EXPECT_EQ(ReadBytes(Path("Images\\Un.jpg")), "picture Un");
                 held.reset();
             };
             AfxScriptModal(IDD_RENAME_PICTURE, {refused, AfxModalStep()});
             AfxScriptMessageBox(IDCANCEL);
             EXPECT_TRUE(RunRenamePicture(nullptr, record, Path("Images").c_str()));
             EXPECT_EQ(Texts(Path("Images\\Deux.dai")), kTexts) << "read again, taken along";
         },
         kHeld, "Images\\Un.dai", "", MB_RETRYCANCEL},
        {"a copy into a folder gone meanwhile",
         [&] { TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B\\Parti").c_str(), TRUE); },
         "Le chemin d'acc\xE8s est introuvable.", "B\\Parti\\Un.jpg"},
        {"a rename of a picture another program holds",
         [&] {
             CPicObject record;
             record.m_strPath = Path("Images\\Un.jpg").c_str();
             ASSERT_TRUE(record.LoadDai());
             auto held = Held(Path("Images\\Un.jpg"));
             AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "Deux"}}, IDOK);
             AfxScriptMessageBox(IDCANCEL);
             EXPECT_FALSE(RunRenamePicture(nullptr, record, Path("Images").c_str()));
         },
         kHeld, "Images\\Un.jpg", "", MB_RETRYCANCEL},
        {"a restore in place of a picture another program holds",
         [&] {
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             WriteBytes(Path("Images\\Un.jpg"), "the new one");
             auto held = Held(Path("Images\\Un.jpg"));
             AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
             EXPECT_FALSE(RestoreAll());
         },
         kHeld, "Images\\Un.jpg"},
        {"a move whose clean-up fails too, said by its first failure",
         [&] {
             auto held = Held(Path("Images\\Un.jpg"));
             ArmFileFault(kStepDelete, "B\\Un.dai", 1, ERROR_WRITE_PROTECT);
             TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), FALSE);
             EXPECT_TRUE(FileFaultFired());
         },
         kHeld, "Images\\Un.jpg"},
        {"an export of a picture gone meanwhile",
         [&] {
             const TransferItem item = Item(Path("Images\\Un.jpg"));
             DeleteFileA(Path("Images\\Un.jpg").c_str());
             ExportPictures({item}, Path("B").c_str());
         },
         "Le fichier est introuvable.", "Images\\Un.jpg"},
        {"a rename of a picture gone meanwhile",
         [&] {
             CPicObject record;
             record.m_strPath = Path("Images\\Un.jpg").c_str();
             ASSERT_TRUE(record.LoadDai());
             DeleteFileA(Path("Images\\Un.jpg").c_str());
             AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "Deux"}}, IDOK);
             EXPECT_FALSE(RunRenamePicture(nullptr, record, Path("Images").c_str()));
         },
         "Le fichier est introuvable.", "Images\\Un.jpg"},
        {"a restore of a picture the trash no longer holds",
         [&] {
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             DeleteFileA(TrashItems()[0]->TrashFile(".pai"));
             EXPECT_FALSE(RestoreAll());
         },
         "Il n'est plus dans le dossier", "Images\\Un.jpg", "du fichier "},
        {"a restore of a folder the trash no longer holds",
         [&] {
             CreateDirectoryA(Path("Images\\Voyage").c_str(), nullptr);
             CDelObject folder(kTrashFolder);
             folder.m_strRelPath = "Images\\Voyage";
             folder.m_strOrigFolder = Path("Images").c_str();
             ASSERT_TRUE(folder.MoveToTrash());
             SafeDeleteTree(folder.TrashFile(".dir"));
             EXPECT_FALSE(RestoreAll());
         },
         "Il n'est plus dans le dossier", "Images\\Voyage", "du dossier "},
        {"a delete whose trash folder cannot be made",
         [&] {
             SafeDeleteTree(Trash().c_str());
             ArmFileFault(kStepCreateFolder, "", 1, ERROR_DISK_FULL);
             EXPECT_FALSE(Delete("Images\\Un.jpg"));
         },
         "Le disque est plein.", "Images\\Un.jpg"},
        {"a copy into a folder whose path leaves no room for a name",
         [&] {
             ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
             ASSERT_TRUE(WriteBytes(longFolder + "\\Un.gif", "in the way")); // nothing to ask about
             TransferPictures({Item(Path("Images\\Un.jpg"))}, longFolder.c_str(), TRUE);
         },
         kTooLong, longFolder.substr(Root().size() + 1) + "\\Un.jpg"},
        {"a move, of a picture without a record, into a folder one character too long for its record",
         [&] {
             // Its record's working names need 13 characters after the folder: 246 leave them, 247 not.
             ASSERT_TRUE(DeleteFileA(Path("Images\\Un.dai").c_str()));
             for (const char* f : {"B\\Oui", "B\\Non"})
                 CreateDirectoryA(Path(f).c_str(), nullptr);
             EXPECT_EQ(testpaths::MakeFolderOfLength(Path("B\\Non"), 247), noRoom);
             EXPECT_EQ(TransferPictures({Item(Path("Images\\Un.jpg"))}, noRoom.c_str(), FALSE),
                       std::vector<TransferOutcome>{kTransferFailed});
             const std::string room = testpaths::MakeFolderOfLength(Path("B\\Oui"), 246);
             EXPECT_EQ(TransferPictures({Item(Path("Images\\Un.jpg"))}, room.c_str(), FALSE),
                       std::vector<TransferOutcome>{kTransferDone});
         },
         kTooLong, noRoom.substr(Root().size() + 1) + "\\Un.jpg"},
        {"a rename to a name too long for its folder, kept in its dialog for another",
         [&] {
             CPicObject record;
             ASSERT_TRUE(loaded(record));
             std::string kept;
             AfxModalStep shorter;
             shorter.fields = {{IDC_RENAME_NAME, "Deux"}};
             AfxScriptModal(IDD_RENAME_PICTURE, {typing(tooLong, kept), shorter});
             EXPECT_TRUE(RunRenamePicture(nullptr, record, Path("Images").c_str()));
             EXPECT_EQ(kept, tooLong);
             EXPECT_EQ(ReadBytes(Path("Images\\Deux.jpg")), "picture Un");
         },
         kTooLong, "Images\\Un.jpg"},
        {"a series passing a taken number, whose last name would be too long, kept in its dialog",
         [&] {
             // Nine pictures and "... 5" taken: the ninth would take 10, one character too many.
             EXPECT_EQ(testpaths::MakeFolderOfLength(Path("Images"), 230), seriesFolder);
             std::vector<CPicObject> owned(9);
             std::vector<CPicObject*> series;
             for (CPicObject& record : owned) {
                 const std::string picture =
                     seriesFolder + "\\P" + std::to_string(series.size() + 1) + ".jpg";
                 ASSERT_TRUE(WriteBytes(picture, "picture") && WriteRecord(picture, kTexts));
                 record.m_strPath = picture.c_str();
                 ASSERT_TRUE(record.LoadDai());
                 series.push_back(&record);
             }
             WriteBytes(seriesFolder + "\\Serie limite du chemin 5.jpg", "taken");
             std::string kept;
             AfxScriptModal(IDD_RENAME_PICTURES, {typing("Serie limite du chemin", kept)});
             EXPECT_FALSE(RunRenamePictureSeries(nullptr, series, seriesFolder.c_str()));
             EXPECT_EQ(kept, "Serie limite du chemin");
             EXPECT_EQ(ReadBytes(seriesFolder + "\\P1.jpg"), "picture") << "nothing renamed";
         },
         kTooLong, seriesFolder.substr(Root().size() + 1) + "\\P9.jpg"},
        {"a move into a deep folder, of a picture whose name does not fit there",
         [&] {
             TransferPictures({longAndDeep(), Item(Path("Images\\Un.jpg"))}, deep.c_str(), FALSE);
             EXPECT_EQ(ReadBytes(deep + "\\Un.jpg"), "picture Un");
         },
         kTooLong, deepRel},
        {"an export into a deep folder, of a picture whose name does not fit there",
         [&] { ExportPictures({longAndDeep()}, deep.c_str()); }, kTooLong, deepRel},
        {"a restore to a path that no longer fits",
         [&] {
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             auto items = TrashItems();
             items[0]->m_strRelPath = restoredRel.c_str(); // a library moved deeper since
             ASSERT_TRUE(items[0]->SaveDel(items[0]->TrashFile(".del")));
             EXPECT_FALSE(RestoreAll());
             EXPECT_EQ(TrashItems().size(), 1u);
             EXPECT_FALSE(PathExists(Path(restoredRel.substr(0, restoredRel.rfind('\\'))).c_str()))
                 << "no folder made for it";
         },
         kTooLong, restoredRel},
        {"a rename whose new record meets a full disk, kept in its dialog for a retry",
         [&] {
             CPicObject record;
             ASSERT_TRUE(loaded(record));
             g_diskRoom = 0;
             AfxPlatform().pfnWriteFile = FillingDiskWrite;
             std::string kept;
             AfxScriptModal(IDD_RENAME_PICTURE, {typing("Deux", kept)});
             AfxScriptMessageBox(IDCANCEL);
             EXPECT_FALSE(RunRenamePicture(nullptr, record, Path("Images").c_str()));
             AfxResetPlatform();
             EXPECT_EQ(kept, "Deux");
             EXPECT_EQ(ReadBytes(Path("Images\\Un.jpg")), "picture Un");
         },
         "Le disque est plein.", "Images\\Un.jpg", "", MB_RETRYCANCEL},
        {"a rename tried again once the disk has room",
         [&] {
             CPicObject record;
             ASSERT_TRUE(loaded(record));
             ArmFileFault(kStepWrite, "Deux", 1, ERROR_DISK_FULL);
             AfxScriptNextModal(IDD_RENAME_PICTURE, {{IDC_RENAME_NAME, "Deux"}}, IDOK);
             AfxScriptMessageBox(IDRETRY);
             EXPECT_TRUE(RunRenamePicture(nullptr, record, Path("Images").c_str()));
             EXPECT_EQ(ReadBytes(Path("Images\\Deux.jpg")), "picture Un");
             EXPECT_EQ(Texts(Path("Images\\Deux.dai")), kTexts);
         },
         "Le disque est plein.", "Images\\Un.jpg", "", MB_RETRYCANCEL},
        {"a series whose only picture meets a full disk, kept in its dialog",
         [&] {
             CPicObject record;
             ASSERT_TRUE(loaded(record));
             g_diskRoom = 0;
             AfxPlatform().pfnWriteFile = FillingDiskWrite;
             std::string kept;
             AfxScriptModal(IDD_RENAME_PICTURES, {typing("Serie", kept)});
             EXPECT_FALSE(RunRenamePictureSeries(nullptr, {&record}, Path("Images").c_str()));
             AfxResetPlatform();
             EXPECT_EQ(kept, "Serie");
         },
         "Le disque est plein.", "Images\\Un.jpg"},
        {"a series rename whose new record fills the disk",
         [&] {
             RenameOntoAFillingDisk("B", [] {
                 g_diskRoom = kRoomLeft;
                 AfxPlatform().pfnWriteFile = FillingDiskWrite;
             });
             AfxResetPlatform();
         },
         "Le disque est plein.", "B\\Un.bmp"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Reset();
        AddPicture("Images\\Un.jpg", "picture Un");
        row.run();
        DisarmFileFault();
        ExpectSaid(row.cause, row.named, row.kind, row.buttons);
    }
}

// The same full disk for real: a small disk of the test's own, which only root can mount.
TEST_F(FileSafety, ARecordThatFillsARealDiskIsSaid)
{
    m_disk = std::make_unique<testpaths::SmallDisk>(Path("Plein"), 256);
    if (!m_disk->Mounted())
        GTEST_SKIP() << "a disk of its own to fill needs root (a tmpfs mounted on the test's folder)";
    RenameOntoAFillingDisk("Plein", [&] { ASSERT_TRUE(m_disk->LeaveFree(kRoomLeft)); });
    ExpectSaid("Le disque est plein.", "Plein\\Un.bmp");
}

// A stop after each step in turn of each operation, as a crash would leave it; then the restart:
// each folder listed (leftovers removed, a new empty record for a picture without one, the trash
// mended). The picture is then listed somewhere with its texts beside it, or in the trash, restorable;
// an item erased or emptied away is listed whole or not at all.
TEST_F(FileSafety, EveryStopLeavesEachPictureReachableWithItsTexts)
{
    // A transfer of Un to B, answering "Oui" when asked to replace.
    const auto transfer = [&](BOOL copy, bool replacing) {
        return [this, copy, replacing] {
            if (replacing)
                AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
            TransferPictures({Item(Path("Images\\Un.jpg"))}, Path("B").c_str(), copy);
        };
    };
    const std::vector<Scenario> operations = {
        {"delete", [&] { Delete("Images\\Un.jpg"); }},
        {"restore",
         [&] {
             DisarmFileFault();
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
         }},
        {"move", transfer(FALSE, false)},
        {"move replacing", transfer(FALSE, true)},
        {"move replacing the same name", transfer(FALSE, true)},
        {"copy replacing the same name", transfer(TRUE, true)},
        {"restore over another picture",
         [&] {
             DisarmFileFault();
             ASSERT_TRUE(Delete("Images\\Un.jpg"));
             AddPicture("Images\\Un.jpg", "other picture", "Lyon");
             AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
         }},
        {"copy", transfer(TRUE, false)},
        {"copy onto its own older record", transfer(TRUE, false)},
        {"rename",
         [&] {
             CPicObject record;
             record.m_strPath = Path("Images\\Un.jpg").c_str();
             if (record.LoadDai())
                 RenamePictureFiles(record, Path("Images").c_str(), "Deux");
         }},
        {"erase", [&] { TrashItems()[0]->Erase(); }},
        {"empty", [&] { EmptyTrashFolder(); }},
        {"case-only rename",
         [&] {
             CPicObject record;
             record.m_strPath = Path("Images\\Un.jpg").c_str();
             if (record.LoadDai())
                 RenamePictureFiles(record, Path("Images").c_str(), "UN");
         }},
    };
    const std::vector<std::string> folders = {"Images", "B"};
    // Each operation that takes the picture from its name runs again with a stranger: while the
    // program is down, another program puts a picture of its own at that name when it is free, and
    // the program starts on the trash.
    std::vector<std::pair<const Scenario*, bool>> runs;
    for (const Scenario& op : operations)
        runs.push_back({&op, false});
    for (const Scenario& op : operations)
        for (const char* leaving :
             {"delete", "move", "move replacing", "move replacing the same name", "rename", "erase", "empty"})
            if (std::string(op.name) == leaving)
                runs.push_back({&op, true});
    const char kStranger[] = "a picture of another program";
    for (const auto& [pOp, stranger] : runs) {
        const Scenario& op = *pOp;
        const std::string name = op.name;
        const bool restore = name.find("restore") == 0;
        const bool erase = name == "erase" || name == "empty";
        // Where the picture goes, and the other picture of its name there, with its texts.
        const std::string destination = Path(restore ? "Images\\Un.jpg" : "B\\Un.jpg");
        const std::string otherRecord = Record(destination);
        for (int n = 1;; n++) {
            SCOPED_TRACE(name + (stranger ? ", a stranger" : "") + ", stop after step " + std::to_string(n));
            Reset();
            AddPicture("Images\\Un.jpg", "picture Un");
            if (name == "move replacing")
                AddPicture("B\\Un.png", "other picture", "Lyon");
            if (name.find("same name") != std::string::npos)
                AddPicture("B\\Un.jpg", "other picture", "Lyon");
            if (name.find("older record") != std::string::npos) {
                ASSERT_TRUE(WriteRecord(Path("B\\Un.jpg"), "Lyon", Path("Images\\Un.jpg")));
            }
            std::string lyon = ReadBytes(otherRecord);
            if (erase) {
                ASSERT_TRUE(Delete("Images\\Un.jpg"));
                ArmFileStop(kAnyStep, "", n);
                op.run();
            } else if (restore) {
                op.run();
                lyon = ReadBytes(otherRecord);
                ArmFileStop(kAnyStep, "", n);
                RestoreAll();
            } else {
                ArmFileStop(kAnyStep, "", n);
                op.run();
            }
            const bool stopped = FileFaultFired() != FALSE;
            DisarmFileFault();
            const bool strangerPut = stranger && !PathExists(Path("Images\\Un.jpg").c_str())
                                     && WriteBytes(Path("Images\\Un.jpg"), kStranger);
            // The restart: the folders listed before the trash, or after it.
            const auto listEverything = [&] {
                if (stranger) {
                    RemoveLeftoverTempFiles(Trash().c_str());
                    RepairTrashFolder();
                }
                for (const std::string& f : folders) {
                    RemoveLeftoverTempFiles(Path(f).c_str());
                    RecoverCutOperations(Path(f).c_str(), TRUE);
                    for (const CString& file : ListMatchingFiles(Path(f + "\\*.*").c_str()))
                        if (IsListedPicture(file.Mid(file.ReverseFind('\\') + 1))
                            && !PathExists(RecordFilePath(file)))
                            WriteRecord(std::string(file), "");
                }
                if (!stranger) {
                    RemoveLeftoverTempFiles(Trash().c_str());
                    RepairTrashFolder();
                }
            };
            listEverything();
            // A record left behind stays only when the name of its picture went to another.
            EXPECT_TRUE(strangerPut || ListMatchingFiles(Path("Images\\~tsm*.tmp").c_str()).empty());

            // Every picture of both folders is listed with its texts (a replaced one's may be set
            // aside); a file set aside stays only when the user was told where.
            std::string told;
            for (const auto& box : AfxTestRecords().messageBoxes)
                told += box.text;
            bool lyonAside = false, otherAside = false;
            for (const std::string f : {"Images\\~tsa", "Images\\~tsm", "B\\~tsa", "B\\~tsm"})
                for (const CString& aside : ListMatchingFiles(Path(f + "*.tmp").c_str())) {
                    EXPECT_NE(told.find(aside), std::string::npos) << static_cast<LPCSTR>(aside);
                    lyonAside = lyonAside || ReadBytes(std::string(aside)) == lyon;
                    otherAside = otherAside || ReadBytes(std::string(aside)) == "other picture";
                }
            EXPECT_TRUE(!otherAside || lyonAside) << "a picture set aside keeps its record beside it";
            const bool arrived = ReadBytes(destination) == "picture Un";
            EXPECT_TRUE(arrived || !otherAside)
                << "a picture set aside goes back when nothing took its place";
            int reachable = 0;
            std::string leftBehind;
            for (const std::string& f : folders)
                for (const CString& file : ListMatchingFiles(Path(f + "\\*.*").c_str())) {
                    const std::string path(file), name = path.substr(path.rfind('\\') + 1);
                    CPicObject lone;
                    lone.m_strPath = path.c_str();
                    lone.m_bReadOnly = TRUE;
                    if (IsListedPicture(name.c_str()) && ReadBytes(path) == "picture Un") {
                        EXPECT_EQ(Texts(Record(path)), kTexts) << path;
                        reachable++;
                    } else if (IsListedPicture(name.c_str()) && ReadBytes(path) == kStranger) {
                        EXPECT_EQ(Texts(Record(path)), "") << "the stranger takes no texts";
                    } else if (IsListedPicture(name.c_str())) {
                        EXPECT_TRUE(Texts(Record(path)) == "Lyon" || (arrived && lyonAside)) << path;
                    } else if (name.find(".dai") != std::string::npos && lone.LoadDai()
                               && !PathExists(Path(f + "\\" + std::string(lone.m_strFileName)).c_str())) {
                        // A record of no picture of its folder is no copy of one beside it or at the
                        // path it names.
                        EXPECT_FALSE(lone.m_strComment == kTexts
                                     && (ReadBytes(std::string(lone.m_strPath)) == "picture Un"
                                         || !ListMatchingFiles(Path(f + "\\*.jpg").c_str()).empty()))
                            << path;
                        if (lone.m_strComment == kTexts)
                            leftBehind += path + " ";
                    }
                }
            for (auto& item : TrashItems()) {
                EXPECT_TRUE(PathExists(item->TrashFile(".pai"))) << "listed in the trash without its picture";
                if (ReadBytes(std::string(item->TrashFile(".pai"))) == "picture Un") {
                    EXPECT_EQ(Texts(std::string(item->TrashFile(".dai"))), kTexts);
                    reachable++;
                }
            }
            for (const CString& file : ListMatchingFiles((Trash() + "file*").c_str()))
                EXPECT_TRUE(PathExists(file.Left(file.GetLength() - 4) + ".del"))
                    << static_cast<LPCSTR>(file);
            for (const CString& dai : ListMatchingFiles((Trash() + "file*.dai").c_str()))
                EXPECT_TRUE(PathExists(dai.Left(dai.GetLength() - 4) + ".pai"))
                    << "texts that emptying the trash would erase: " << static_cast<LPCSTR>(dai);
            EXPECT_TRUE(reachable >= 1 || erase) << "the picture is lost to the user";
            EXPECT_TRUE(reachable == 0 || leftBehind.empty())
                << "a picture later put there would take the texts of the one that left: " << leftBehind;
            const size_t boxes = AfxTestRecords().messageBoxes.size();
            listEverything();
            EXPECT_EQ(AfxTestRecords().messageBoxes.size(), boxes) << "what was told is not told again";
            for (const char* f : {"Images", "B", "El\xE9ments Supprim\xE9s"})
                EXPECT_TRUE(ListMatchingFiles(Path(std::string(f) + "\\~tsr*.tmp").c_str()).empty()) << f;
            if (!stopped)
                break;
            ASSERT_LT(n, 30);
        }
    }
}
