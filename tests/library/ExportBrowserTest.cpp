// The export command's folder browser opens on the last export folder, when it still exists.
#include "framework/TestSeams.h"
#include "piclist/LibraryListCommands.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

TEST(ExportBrowser, OpensOnTheLastExportFolder)
{
    testpaths::TempDir dir;
    const std::string folder = dir.Path() + "\\Derniers exports";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    const struct {
        std::string last;
        std::string openedOn;
    } rows[] = {
        {folder, folder},
        {dir.Path() + "\\Disparu", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.last);
        AfxTestReset();
        AfxTestArm();
        AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {false, "", 0});
        CString current = row.last.c_str();
        EXPECT_TRUE(BrowseExportFolder(nullptr, &current).IsEmpty()) << "closed with Cancel";
        ASSERT_EQ(AfxTestRecords().commonDialogs.size(), 1u);
        EXPECT_EQ(AfxTestRecords().commonDialogs[0].startFolder, row.openedOn);
        EXPECT_STREQ(current, row.last.c_str()) << "a cancelled browser keeps the last folder";
    }
    AfxTestReset();
}
