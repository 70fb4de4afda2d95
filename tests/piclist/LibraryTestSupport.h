// Shared pieces of the library tests: a temporary library root, snapshots of a folder tree, and
// small pictures and records.
#pragma once
#include "framework/String.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

class CPicObject;

namespace libtest {

// Every file under the folder, by path relative to it, with its bytes; folders as "<dir>".
std::map<std::string, std::string> Snapshot(const std::string& folder);
// A 24-bit picture of that size whose pixels follow a pattern from seed (caller frees it).
HGLOBAL MakePicture(int width, int height, int seed);
// Writes a BMP file of a MakePicture picture.
bool WriteBmp(const std::string& path, int width, int height, int seed);
// Sets a file's last write (local time).
void SetWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute);
// A record with every user field filled and an 8 x 6 thumbnail.
void FillRecord(CPicObject& record, const std::string& picturePath);

// A fresh library root (a temporary folder) made the program's library root for the test; the UI
// seams armed so that no dialog waits for anyone; the file-fault injector off. The library's
// process-wide state that tests change (the protected folder's lock and password, the bar's
// settings, the series dialog's zero-pad choice) is put back after each test, so that the tests of
// one program pass in any order in one process.
class LibraryStore : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Root() const { return m_dir.Path(); } // without trailing backslash
    std::string Path(const std::string& rel) const { return m_dir.Path() + "\\" + rel; }
    std::string Trash() const; // with trailing backslash
    // Count of message boxes shown since the test began (or the last ResetUi).
    size_t Messages() const;
    void ResetUi();

    testpaths::TempDir m_dir;

private:
    struct SavedState {
        CString root, protectedPassword, lastPath;
        BOOL protectedUnlocked;
        int renameZeroPad, typeCompression, separatorH, separatorV, barWidth, deleteNotice;
    };
    SavedState m_saved{};
    void Save();
    void Restore() const;
};

} // namespace libtest
