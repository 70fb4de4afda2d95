// The safe file steps: nothing is ever overwritten, a failed step leaves no partial file, and a
// replace puts the old files back when it cannot finish.
#include "tests/piclist/LibraryTestSupport.h"

#include "piclist/SafeFileOps.h"
#include "framework/TestSeams.h"

#include <functional>

using libtest::LibraryStore;
using libtest::Snapshot;
using testpaths::ReadBytes;
using testpaths::WriteBytes;

namespace {

class SafeSteps : public LibraryStore {
protected:
    void SetUp() override
    {
        LibraryStore::SetUp();
        ASSERT_TRUE(WriteBytes(Path("a.jpg"), "picture a"));
        ASSERT_TRUE(WriteBytes(Path("b.jpg"), "picture b"));
        ASSERT_TRUE(WriteBytes(Path("b.dai"), "record b"));
        CreateDirectoryA(Path("dest").c_str(), nullptr);
    }
};

} // namespace

TEST_F(SafeSteps, PlainStepsNeverOverwrite)
{
    const auto before = Snapshot(Root());
    EXPECT_FALSE(SafeMove(Path("a.jpg").c_str(), Path("b.jpg").c_str()));
    EXPECT_FALSE(SafeCopy(Path("a.jpg").c_str(), Path("b.jpg").c_str()));
    EXPECT_FALSE(SafeMove(Path("a.jpg").c_str(), Path("dest").c_str()));
    EXPECT_FALSE(SafeMove(Path("missing.jpg").c_str(), Path("c.jpg").c_str()));
    EXPECT_EQ(Snapshot(Root()), before);

    EXPECT_TRUE(SafeCopy(Path("a.jpg").c_str(), Path("dest\\a.jpg").c_str()));
    EXPECT_EQ(ReadBytes(Path("dest\\a.jpg")), "picture a");
    EXPECT_TRUE(SafeMove(Path("dest\\a.jpg").c_str(), Path("dest\\A.JPG").c_str()))
        << "a change of case only";
    EXPECT_TRUE(IsSamePath(Path("dest\\a.jpg").c_str(), Path("DEST\\A.jpg").c_str()));
    EXPECT_FALSE(IsSamePath(Path("a.jpg").c_str(), Path("dest\\a.jpg").c_str()));
    EXPECT_TRUE(SafeDeleteFile(Path("dest\\A.JPG").c_str()));
    EXPECT_TRUE(SafeDeleteFile(Path("dest\\A.JPG").c_str())) << "already gone";
    EXPECT_TRUE(SafeCreateFolder(Path("x\\y\\z").c_str()));
    EXPECT_TRUE(SafeDeleteTree(Path("x").c_str()));
    EXPECT_EQ(Snapshot(Root()), before);

    EXPECT_EQ(ListMatchingFiles(Path("b.*").c_str()).size(), 2u);
    CreateDirectoryA(Path("b.2001").c_str(), nullptr);
    EXPECT_EQ(ListMatchingFiles(Path("b.*").c_str()).size(), 2u) << "a folder is not a file";
}

TEST_F(SafeSteps, AFailedCopyOrWriteLeavesNothingBehind)
{
    const auto before = Snapshot(Root());
    ArmFileFault(kStepCopy, "dest", 1);
    EXPECT_FALSE(SafeCopy(Path("a.jpg").c_str(), Path("dest\\a.jpg").c_str()));
    EXPECT_TRUE(FileFaultFired());
    ArmFileFault(kStepWrite, "", 1);
    EXPECT_FALSE(SafeWriteFile(Path("b.dai").c_str(), [](HANDLE h) {
        DWORD written = 0;
        return WriteFile(h, "new", 3, &written, nullptr);
    }));
    DisarmFileFault();
    EXPECT_FALSE(SafeWriteFile(Path("b.dai").c_str(), [](HANDLE) { return FALSE; }));
    SetFileAttributesA(Path("b.dai").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SafeWriteFile(Path("b.dai").c_str(), [](HANDLE h) {
        DWORD written = 0;
        return WriteFile(h, "new", 3, &written, nullptr);
    })) << "a read-only file is never written over";
    SetFileAttributesA(Path("b.dai").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Snapshot(Root()), before);
    const LONG flushes = AfxTestDiskFlushCount();
    EXPECT_TRUE(SafeWriteFile(Path("b.dai").c_str(), [](HANDLE h) {
        DWORD written = 0;
        return WriteFile(h, "new", 3, &written, nullptr);
    }));
    EXPECT_EQ(ReadBytes(Path("b.dai")), "new");
    EXPECT_EQ(AfxTestDiskFlushCount(), flushes + 1) << "what replaces a file reaches the disk first";

    // A new file through a writer that wants a path: never over an existing one.
    auto writer = [](LPCSTR temp) { return testpaths::WriteBytes(temp, "written") ? TRUE : FALSE; };
    EXPECT_FALSE(SafeCreateFile(Path("a.jpg").c_str(), writer));
    EXPECT_EQ(ReadBytes(Path("a.jpg")), "picture a");
    ArmFileFault(kStepWrite, "c.jpg", 1);
    EXPECT_FALSE(SafeCreateFile(Path("c.jpg").c_str(), writer));
    DisarmFileFault();
    EXPECT_FALSE(SafeCreateFile(Path("c.jpg").c_str(), [](LPCSTR temp) {
        testpaths::WriteBytes(temp, "half");
        return FALSE;
    }));
    EXPECT_FALSE(PathExists(Path("c.jpg").c_str()));
    EXPECT_EQ(Snapshot(Root()).size(), before.size() + 0) << "no temporary file stays";
    EXPECT_TRUE(SafeCreateFile(Path("c.jpg").c_str(), writer));
    EXPECT_EQ(ReadBytes(Path("c.jpg")), "written");
    EXPECT_TRUE(SafeCreateFile(Path("a.jpg").c_str(), writer, TRUE));
    EXPECT_EQ(ReadBytes(Path("a.jpg")), "written");
}

TEST_F(SafeSteps, ReplacingRollsBackAtEveryFailedStep)
{
    const auto before = Snapshot(Root());
    const std::function<BOOL()> ops[] = {
        [&] {
            return ReplaceByMove(Path("a.jpg").c_str(), Path("b.jpg").c_str(),
                                 {Path("b.jpg").c_str(), Path("b.dai").c_str()});
        },
        [&] {
            return ReplaceByCopy(Path("a.jpg").c_str(), Path("b.jpg").c_str(),
                                 {Path("b.jpg").c_str(), Path("b.dai").c_str()});
        },
    };
    auto reset = [&] {
        for (const auto& e : Snapshot(Root()))
            if (e.second != "<dir>")
                SafeDeleteFile(Path(e.first).c_str());
        for (const auto& e : before)
            if (e.second != "<dir>")
                WriteBytes(Path(e.first), e.second);
    };
    for (const auto& op : ops) {
        reset();
        ArmFileFault(kAnyStep, "", 0);
        ASSERT_TRUE(op());
        const int steps = FileFaultCount();
        DisarmFileFault();
        EXPECT_EQ(ReadBytes(Path("b.jpg")), "picture a");
        EXPECT_FALSE(PathExists(Path("b.dai").c_str()));
        for (int k = 1; k <= steps; ++k) {
            SCOPED_TRACE(k);
            reset();
            ArmFileFault(kAnyStep, "", k);
            BOOL ok = op();
            DisarmFileFault();
            if (!ok) {
                EXPECT_EQ(Snapshot(Root()), before);
            } else {
                // Only deleting what was set aside failed: it stays, whole, under a temporary name.
                EXPECT_EQ(ReadBytes(Path("b.jpg")), "picture a");
            }
        }
    }
    reset();
    // The same file is never replaced by itself.
    EXPECT_FALSE(ReplaceByMove(Path("b.jpg").c_str(), Path("B.JPG").c_str(), {Path("b.jpg").c_str()}));
    EXPECT_FALSE(ReplaceByCopy(Path("a.jpg").c_str(), Path("c.jpg").c_str(), {Path("A.jpg").c_str()}));
    EXPECT_TRUE(PathExists(Path("b.jpg").c_str()));
    EXPECT_TRUE(PathExists(Path("a.jpg").c_str()));
}
