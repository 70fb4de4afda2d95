// The test command's last step (scripts/run-ctest.sh): ctest's verdict becomes the command's, and so
// CI's, and each skipped test is named with its reason. A fake ctest on PATH stands in for the suite.
#include "tests/support/TestPaths.h"
#include "tests/support/UnixCommand.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// What ctest keeps of a run: a test that passed, one skipped with a reason on two lines, and the
// test program's summary, which names the skipped one again.
const char kLogWithASkip[] = "1/2 Test: Disk.Reads\n"
                             "[ RUN      ] Disk.Reads\n"
                             "[       OK ] Disk.Reads (4 ms)\n"
                             "2/2 Test: Disk.FillsAFullDisk\n"
                             "[ RUN      ] Disk.FillsAFullDisk\n"
                             "../../tests/DiskTest.cpp:12: Skipped\n"
                             "a disk of its own needs root\n"
                             "(a tmpfs)\n"
                             "[  SKIPPED ] Disk.FillsAFullDisk (7 ms)\n"
                             "[  SKIPPED ] 1 test, listed below:\n"
                             "[  SKIPPED ] Disk.FillsAFullDisk\n";

} // namespace

TEST(TestCommand, PassesCtestsVerdictOnAndNamesEachSkippedTest)
{
    struct Case {
        const char* what;
        int ctestStatus;
        const char* log; // nullptr: ctest left no log
        const char* expected;
    };
    const Case cases[] = {
        {"a test failed", 8, nullptr, "ctest --output-on-failure -j3 -R Disk\nstatus=8\n"},
        {"all passed, one skipped", 0, kLogWithASkip,
         "ctest --output-on-failure -j3 -R Disk\n"
         "skipped Disk.FillsAFullDisk: a disk of its own needs root (a tmpfs)\nstatus=0\n"},
    };
    const std::string script = testpaths::UnixPath(testpaths::SourceDir()) + "/scripts/run-ctest.sh";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testpaths::TempDir build;
        ASSERT_TRUE(testpaths::WriteBytes(build.File("ctest"), "#!/bin/sh\necho ctest \"$@\"\nexit "
                                                                   + std::to_string(c.ctestStatus) + "\n"));
        if (c.log != nullptr) {
            ASSERT_TRUE(::CreateDirectoryA(build.File("Testing").c_str(), nullptr));
            ASSERT_TRUE(::CreateDirectoryA(build.File("Testing\\Temporary").c_str(), nullptr));
            ASSERT_TRUE(testpaths::WriteBytes(build.File("Testing\\Temporary\\LastTest.log"), c.log));
        }
        // The folder's own path, not the one through "c:", whose colon would split PATH.
        EXPECT_EQ(testpaths::RunUnix("cd '" + testpaths::UnixPath(build.Path())
                                     + "' && PATH=$(pwd -P):/usr/bin:/bin && export PATH "
                                       "CTEST_PARALLEL_LEVEL=3 && chmod +x ctest && '"
                                     + script + "' -R Disk; echo status=$?"),
                  c.expected);
    }
}
