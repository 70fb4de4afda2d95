// Moving and copying library pictures with their records, and copying them out: replace questions,
// pictures carried onto themselves, and every file step failed in turn without losing a file.
#include "tests/piclist/LibraryTestSupport.h"

#include "framework/TestSeams.h"
#include "library/LibraryTransfer.h"
#include "piclist/ReplaceConfirm.h"
#include "piclist/SafeFileOps.h"
#include "resources/resource.h"

#include <set>
#include <string>
#include <vector>

using libtest::LibraryStore;
using libtest::Snapshot;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

typedef std::map<std::string, std::string> Tree;

class Transfer : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        MakeFolders();
    }
    void MakeFolders()
    {
        m_items.clear();
        CreateDirectoryA(Path("A").c_str(), nullptr);
        CreateDirectoryA(Path("B").c_str(), nullptr);
        for (const char* name : {"Un", "Deux", "Trois"}) {
            WriteBytes(Path(std::string("A\\") + name + ".jpg"), std::string("picture ") + name);
            WriteBytes(Path(std::string("A\\") + name + ".dai"), std::string("record ") + name);
            m_items.push_back(
                {Path(std::string("A\\") + name + ".jpg").c_str(), name, CString(name) + ".jpg"});
        }
    }
    // Every file's bytes, wherever it is in the library (A or B), by name.
    std::multiset<std::string> AllContents()
    {
        std::multiset<std::string> all;
        for (const char* folder : {"A", "B"})
            for (auto& kv : Snapshot(Path(folder)))
                all.insert(kv.second);
        return all;
    }
    std::vector<TransferItem> m_items;
};

} // namespace

TEST_F(Transfer, MovingCarriesPicturesWithTheirRecords)
{
    auto outcome = TransferPictures(m_items, Path("B").c_str(), FALSE);
    EXPECT_EQ(outcome, std::vector<TransferOutcome>(3, kTransferDone));
    EXPECT_TRUE(Snapshot(Path("A")).empty());
    EXPECT_EQ(ReadBytes(Path("B\\Deux.jpg")), "picture Deux");
    EXPECT_EQ(ReadBytes(Path("B\\Deux.dai")), "record Deux");

    // Copying back leaves both folders complete.
    std::vector<TransferItem> back;
    for (auto item : m_items) {
        item.path = Path("B\\" + std::string(item.baseName) + ".jpg").c_str();
        back.push_back(item);
    }
    outcome = TransferPictures(back, Path("A").c_str(), TRUE);
    EXPECT_EQ(outcome, std::vector<TransferOutcome>(3, kTransferDone));
    EXPECT_EQ(Snapshot(Path("A")), Snapshot(Path("B")));
}

TEST_F(Transfer, PicturesAreNeverCarriedOntoThemselves)
{
    Tree before = Snapshot(Path("A"));
    // Same folder named differently: another case and a trailing backslash.
    std::string alias = Root() + "\\a\\";
    EXPECT_EQ(TransferPictures(m_items, alias.c_str(), FALSE),
              std::vector<TransferOutcome>(3, kTransferSkipped));
    EXPECT_EQ(TransferPictures(m_items, alias.c_str(), TRUE),
              std::vector<TransferOutcome>(3, kTransferSkipped));
    EXPECT_EQ(ExportPictures(m_items, alias.c_str()), std::vector<TransferOutcome>(3, kTransferSkipped));
    EXPECT_EQ(Snapshot(Path("A")), before);
    EXPECT_EQ(AfxTestRecords().modals.size(), 0u);
}

TEST_F(Transfer, ReplacingAsksAndSetsTheOldFilesAsideFirst)
{
    WriteBytes(Path("B\\Un.png"), "old png");
    WriteBytes(Path("B\\Un.dai"), "old record");
    WriteBytes(Path("B\\Trois.jpg"), "old trois");
    // Taken from the last: Trois (answered "Non"), Deux (no clash), Un ("Oui").
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDNO);
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
    auto outcome = TransferPictures(m_items, Path("B").c_str(), FALSE);
    EXPECT_EQ(outcome, (std::vector<TransferOutcome>{kTransferDone, kTransferDone, kTransferSkipped}));
    Tree b = Snapshot(Path("B"));
    EXPECT_EQ(b.count("Un.png"), 0u);
    EXPECT_EQ(b["Un.jpg"], "picture Un");
    EXPECT_EQ(b["Un.dai"], "record Un");
    EXPECT_EQ(b["Trois.jpg"], "old trois");
    EXPECT_EQ(ReadBytes(Path("A\\Trois.jpg")), "picture Trois");
    EXPECT_EQ(AfxTestPendingScripts(), "");
}

TEST_F(Transfer, CancelEndsTheBatchBeforeTheFirstPicture)
{
    WriteBytes(Path("B\\Deux.gif"), "old deux");
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDCANCEL);
    auto outcome = TransferPictures(m_items, Path("B").c_str(), FALSE);
    EXPECT_EQ(outcome, (std::vector<TransferOutcome>{kTransferNotTried, kTransferSkipped, kTransferDone}));
    EXPECT_EQ(ReadBytes(Path("A\\Un.jpg")), "picture Un");
    EXPECT_EQ(ReadBytes(Path("B\\Deux.gif")), "old deux");
}

TEST_F(Transfer, EveryFailedStepLosesNothing)
{
    WriteBytes(Path("B\\Un.png"), "old png");
    WriteBytes(Path("B\\Un.dai"), "old record");
    const std::multiset<std::string> all = AllContents();
    for (BOOL copy : {FALSE, TRUE}) {
        for (int n = 1;; n++) {
            // Restore the starting state.
            for (const char* f : {"A", "B"})
                SafeDeleteTree(Path(f).c_str());
            MakeFolders();
            WriteBytes(Path("B\\Un.png"), "old png");
            WriteBytes(Path("B\\Un.dai"), "old record");
            ResetUi();
            AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
            ArmFileFault(kAnyStep, "", n);
            auto outcome = TransferPictures(m_items, Path("B").c_str(), copy);
            bool fired = FileFaultFired();
            DisarmFileFault();
            std::multiset<std::string> now = AllContents();
            // Every picture and record is still there (a copy may add some); replaced ones only
            // once their successor arrived.
            for (const std::string& bytes : all) {
                if (bytes == "old png" || bytes == "old record") {
                    bool replaced = ReadBytes(Path("B\\Un.jpg")) == "picture Un";
                    EXPECT_TRUE(replaced || now.count(bytes)) << bytes << " step " << n;
                } else {
                    EXPECT_TRUE(now.count(bytes))
                        << bytes << " lost at step " << n << (copy ? " (copy)" : "");
                }
            }
            if (!fired)
                break;
            ASSERT_LT(n, 40);
        }
    }
}

TEST_F(Transfer, ExportCopiesPicturesAloneAndAsksOnlyForTheSameName)
{
    WriteBytes(Path("B\\Un.png"), "other type");
    WriteBytes(Path("B\\Deux.jpg"), "old deux");
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
    auto outcome = ExportPictures(m_items, Path("B").c_str());
    EXPECT_EQ(outcome, std::vector<TransferOutcome>(3, kTransferDone));
    Tree b = Snapshot(Path("B"));
    EXPECT_EQ(b["Un.png"], "other type");
    EXPECT_EQ(b["Un.jpg"], "picture Un");
    EXPECT_EQ(b["Deux.jpg"], "picture Deux");
    EXPECT_EQ(b.count("Un.dai"), 0u);
    EXPECT_EQ(AfxTestRecords().modals.size(), 1u);

    // A failed copy names the destination and keeps the old file.
    WriteBytes(Path("B\\Deux.jpg"), "old deux");
    AfxScriptNextModal(IDD_FILE_REPLACE, {}, IDYES);
    AfxScriptMessageBox(IDOK);
    ArmFileFault(kStepCopy, "", 1);
    std::vector<TransferItem> one{m_items[1]};
    EXPECT_EQ(ExportPictures(one, Path("B").c_str()), std::vector<TransferOutcome>{kTransferFailed});
    EXPECT_EQ(ReadBytes(Path("B\\Deux.jpg")), "old deux");
    EXPECT_NE(AfxTestRecords().messageBoxes.back().text.find(Path("B\\Deux.jpg")), std::string::npos);
}
