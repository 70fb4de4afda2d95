// The test command (scripts/test.sh) and its last step (scripts/run-ctest.sh): ctest's verdict becomes
// the command's, and so CI's, and each skipped test is named with its reason; a clone the code page
// cannot name is refused before anything is built. A fake ctest on PATH stands in for the suite, and
// for test.sh, stand-ins for the steps before it (set-up, build, Wine) in a copy of the scripts.
#include "tests/support/TestPaths.h"
#include "tests/support/UnixCommand.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

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
        const char* clone; // nullptr: run-ctest.sh alone; else test.sh, from a clone of that name (UTF-8)
        int ctestStatus;
        const char* log; // nullptr: ctest left no log
        const char* expected;
    };
    const char kRefused[] = "test: the clone TEMP/\xC5\x81ukasz has a letter outside Windows-1252 (Western "
                            "European), the code page in which programs under Wine name files: they cannot "
                            "reach it\nstatus=1\n";
    const Case cases[] = {
        {"a test failed", nullptr, 8, nullptr, "ctest --output-on-failure -j3 -R Disk\nstatus=8\n"},
        {"all passed, one skipped", nullptr, 0, kLogWithASkip,
         "ctest --output-on-failure -j3 -R Disk\n"
         "skipped Disk.FillsAFullDisk: a disk of its own needs root (a tmpfs)\nstatus=0\n"},
        {"the whole command, a test failed", "Zo\xC3\xA9 Lef\xC3\xA8vre", 8, nullptr,
         "built\nctest --output-on-failure -j3 -R Disk\nstatus=8\n"},
        {"a clone the code page cannot name", "\xC5\x81ukasz", 0, nullptr, kRefused},
    };
    const std::string scripts = testpaths::SourceDir() + "\\scripts\\";
    // What test.sh runs before ctest, standing in: only the build says it ran.
    const std::pair<const char*, const char*> standIns[] = {
        {"setup.sh", "#!/bin/sh\n"},
        {"cups-pdf.sh", "#!/bin/sh\n"},
        {"build.sh", "#!/bin/sh\necho built\n"},
        {"check-format.sh", "#!/bin/sh\n"},
        {"wine-env.sh", "wine_private_desktop() { :; }\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testpaths::TempDir temp;
        const std::string build = temp.File("clone\\build");
        ASSERT_TRUE(::CreateDirectoryA(temp.File("clone").c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(build.c_str(), nullptr));
        ASSERT_TRUE(testpaths::WriteBytes(build + "\\ctest", "#!/bin/sh\necho ctest \"$@\"\nexit "
                                                                 + std::to_string(c.ctestStatus) + "\n"));
        if (c.log != nullptr) {
            ASSERT_TRUE(::CreateDirectoryA((build + "\\Testing").c_str(), nullptr));
            ASSERT_TRUE(::CreateDirectoryA((build + "\\Testing\\Temporary").c_str(), nullptr));
            ASSERT_TRUE(testpaths::WriteBytes(build + "\\Testing\\Temporary\\LastTest.log", c.log));
        }
        std::string script = "'" + testpaths::UnixPath(scripts + "run-ctest.sh") + "'";
        std::string clone = "clone";
        if (c.clone != nullptr) {
            const std::string copy = temp.File("clone\\scripts\\");
            ASSERT_TRUE(::CreateDirectoryA(copy.c_str(), nullptr));
            for (const char* name : {"test.sh", "run-ctest.sh", "code-page.sh", "deps-env.sh", "system.sh"})
                ASSERT_TRUE(::CopyFileA((scripts + name).c_str(), (copy + name).c_str(), FALSE)) << name;
            for (const auto& standIn : standIns)
                ASSERT_TRUE(testpaths::WriteBytes(copy + standIn.first, standIn.second));
            script = "../scripts/test.sh";
            clone = c.clone;
        }
        // From the folder's own path, not the one through "c:", whose colon would split PATH; the
        // clone's path is said as TEMP/<clone>, the same in every run.
        std::string run = "cd \"$(dirname \"$0\")\" && cd \"$(pwd -P)\" && base=$(pwd) || exit\n";
        if (c.clone != nullptr)
            run += "mv clone '" + clone + "'\n";
        run += "cd '" + clone + "/build' && chmod +x ctest ../scripts/*.sh 2>/dev/null\n";
        run += "PATH=$(pwd -P):/usr/bin:/bin TESSARINE_DEPS_DIR=$(pwd -P) CTEST_PARALLEL_LEVEL=3\n";
        run += "export PATH TESSARINE_DEPS_DIR CTEST_PARALLEL_LEVEL\n";
        run +=
            script + " -R Disk >../out 2>&1\nstatus=$?\nsed \"s|$base|TEMP|g\" ../out\necho status=$status\n";
        ASSERT_TRUE(testpaths::WriteBytes(temp.File("run"), run));
        EXPECT_EQ(testpaths::RunUnix("sh '" + testpaths::UnixPath(temp.File("run")) + "'"), c.expected);
    }
}
