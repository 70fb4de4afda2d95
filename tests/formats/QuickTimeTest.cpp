// The QuickTime bridge and movie files, against the real environment (no QuickTime installed) and
// against the stand-in runtime built with the tests (tests/formats/standin).
#include "formats/QuickTime.h"
#include "formats/QuickTimeMovie.h"

#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "formats/Readers.h"
#include "tests/formats/OwnFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace owntest;

namespace {

std::string StandInPath(const char* variant)
{
    return testpaths::BinaryDir() + "\\tests\\qt\\" + variant + "\\QuickTime.qts";
}

// The stand-in runtime loaded by the test itself, as an already loaded "QuickTime.qts" that the
// glue then loads again by its full name.
class StandIn {
public:
    explicit StandIn(const char* variant = "standin")
    {
        m_module = LoadLibraryA(StandInPath(variant).c_str());
        if (m_module) {
            m_reset = reinterpret_cast<void(__cdecl*)()>(GetProcAddress(m_module, "StandInReset"));
            m_setInit =
                reinterpret_cast<void(__cdecl*)(short)>(GetProcAddress(m_module, "StandInSetInitResult"));
            m_log = reinterpret_cast<int(__cdecl*)(char*, int)>(GetProcAddress(m_module, "StandInLog"));
            m_reset();
        }
    }
    ~StandIn() { Release(); }
    bool Loaded() const { return m_module != nullptr; }
    void Release()
    {
        if (m_module)
            FreeLibrary(m_module);
        m_module = nullptr;
    }
    void Reset() { m_reset(); }
    void SetInitResult(short r) { m_setInit(r); }
    std::string Log() const
    {
        std::string text(1 << 16, '\0');
        const int n = m_log(&text[0], static_cast<int>(text.size()));
        text.resize(n < static_cast<int>(text.size()) ? n : text.size() - 1);
        return text;
    }
    // How many calls of a selector the log holds.
    int Calls(const std::string& selector) const
    {
        std::istringstream lines(Log());
        std::string line;
        int n = 0;
        while (std::getline(lines, line))
            if (line == selector || line.compare(0, selector.size() + 1, selector + " ") == 0)
                ++n;
        return n;
    }

private:
    HMODULE m_module = nullptr;
    void(__cdecl* m_reset)() = nullptr;
    void(__cdecl* m_setInit)(short) = nullptr;
    int(__cdecl* m_log)(char*, int) = nullptr;
};

bool RuntimeLoaded() { return GetModuleHandleA("QuickTime.qts") != nullptr; }

// A 24-bit BMP file of 3 x 2 pixels.
std::string BmpFile()
{
    std::string pixels;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            PutU8(pixels, 10 + x);      // blue
            PutU8(pixels, 100 + y);     // green
            PutU8(pixels, 200 + x * y); // red
        }
        PutU8(pixels, 0);
        PutU8(pixels, 0);
        PutU8(pixels, 0);
    }
    std::string f = "BM";
    PutU32LE(f, static_cast<uint32_t>(14 + 40 + pixels.size()));
    PutU32LE(f, 0);
    PutU32LE(f, 14 + 40);
    PutU32LE(f, 40);
    PutU32LE(f, 3);
    PutU32LE(f, 2);
    PutU16LE(f, 1);
    PutU16LE(f, 24);
    for (int i = 0; i < 6; ++i)
        PutU32LE(f, 0);
    return f + pixels;
}

} // namespace

TEST(QuickTime, WithoutTheRuntimeNothingStartsAndNoPictureComes)
{
    ASSERT_FALSE(RuntimeLoaded());
    EXPECT_FALSE(IsQuickTimeAvailable());
    EXPECT_FALSE(IsQuickTimeAvailable()) << "the answer is kept";
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("photo.pct"), BmpFile()));
    EXPECT_FALSE(ImportPictureWithQuickTime(dir.File("photo.pct").c_str()));
    EXPECT_FALSE(IsQuickTimeStarted());
    EXPECT_EQ(QTGlueStartup(0), kQTErrRuntimeNotLoaded);
    EXPECT_EQ(QTGetMoviesError(), kQTErrNotInitialised);
    EXPECT_EQ(QTStartMovieServices(), kQTErrNotInitialised);
    ExitQuickTime();
    // The program goes on: once a runtime is there, the next import starts it.
    StandIn runtime;
    ASSERT_TRUE(runtime.Loaded());
    DibHolder dib(ImportPictureWithQuickTime(dir.File("photo.pct").c_str()));
    EXPECT_TRUE(dib);
    ExitQuickTime();
}

TEST(QuickTime, ThePresentRuntimeImportsAPictureAndStartsOnce)
{
    StandIn runtime;
    ASSERT_TRUE(runtime.Loaded());
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("photo.pct"), BmpFile()));
    DibHolder first(ImportPictureWithQuickTime(dir.File("photo.pct").c_str()));
    DibHolder second(ImportPictureWithQuickTime(dir.File("photo.pct").c_str()));
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_TRUE(IsQuickTimeStarted());
    EXPECT_EQ(runtime.Calls("1D0008"), 1);
    EXPECT_EQ(runtime.Calls("20001"), 1);
    EXPECT_EQ(runtime.Calls("20023"), 2) << "each movie is released";
    const Image img = DibToImage(first.Get());
    ASSERT_FALSE(img.Empty());
    ASSERT_EQ(img.width, 3);
    ASSERT_EQ(img.height, 2);
    EXPECT_EQ(img.At(2, 0)[0], 202); // bottom-up rows: the file's first row is the bottom one
    EXPECT_EQ(img.At(2, 0)[1], 101);
    EXPECT_EQ(img.At(1, 1)[2], 11);
    // Stopped with the program: services stopped, then the runtime terminated and freed.
    ExitQuickTime();
    EXPECT_FALSE(IsQuickTimeStarted());
    const std::string log = runtime.Log();
    EXPECT_LT(log.rfind("\n20002"), log.rfind("\n1D0009"));
    EXPECT_EQ(runtime.Calls("1D0009"), 1);
    runtime.Release();
    EXPECT_FALSE(RuntimeLoaded());
}

TEST(QuickTime, QuickTimeTypesGoThroughTheDispatcher)
{
    InstallPictureReaders();
    for (int code : {kFileTypeMOV, kFileTypePICT, kFileTypeQT, kFileTypePSD, kFileTypeFPX, kFileTypeQTI})
        EXPECT_EQ(GetPictureReader(code), &ImportPictureWithQuickTime) << code;
    StandIn runtime;
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("clip.mov"), BmpFile()));
    DibHolder dib(GetPictureReader(kFileTypeMOV)(dir.File("clip.mov").c_str()));
    EXPECT_TRUE(dib);
    ExitQuickTime();
}

TEST(QuickTime, AFailedStartLeavesItStoppedAndIsTriedAgain)
{
    StandIn runtime;
    ASSERT_TRUE(runtime.Loaded());
    runtime.SetInitResult(-108);
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("photo.pct"), BmpFile()));
    EXPECT_FALSE(ImportPictureWithQuickTime(dir.File("photo.pct").c_str()));
    EXPECT_FALSE(IsQuickTimeStarted());
    EXPECT_EQ(runtime.Calls("20001"), 0);
    EXPECT_EQ(runtime.Calls("20192"), 0) << "no operation reaches a runtime that did not start";
    runtime.SetInitResult(0);
    DibHolder dib(ImportPictureWithQuickTime(dir.File("photo.pct").c_str()));
    EXPECT_TRUE(dib);
    EXPECT_EQ(runtime.Calls("1D0008"), 2);
    ExitQuickTime();
    runtime.Release();
    EXPECT_FALSE(RuntimeLoaded());
}

TEST(QuickTime, ARuntimeWithoutItsDispatcherIsRefusedAndFreed)
{
    StandIn broken("nodispatcher");
    ASSERT_TRUE(broken.Loaded());
    EXPECT_EQ(QTGlueStartup(0), kQTErrEntryMissing);
    EXPECT_EQ(QTGetMoviesError(), kQTErrNotInitialised);
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("photo.pct"), BmpFile()));
    EXPECT_FALSE(ImportPictureWithQuickTime(dir.File("photo.pct").c_str())) << "tried again, refused again";
    EXPECT_EQ(broken.Log(), "") << "nothing was called in it";
    broken.Release();
    EXPECT_FALSE(RuntimeLoaded()) << "the glue freed what it loaded";
}

TEST(QuickTime, GlueStartupAndShutdownNest)
{
    StandIn runtime;
    ASSERT_TRUE(runtime.Loaded());
    ASSERT_EQ(QTGlueStartup(0), 0);
    ASSERT_EQ(QTGlueStartup(0), 0);
    EXPECT_EQ(runtime.Calls("1D0008"), 1);
    QTGlueShutdown();
    EXPECT_EQ(runtime.Calls("1D0009"), 0);
    runtime.Release();
    EXPECT_TRUE(RuntimeLoaded()) << "the glue still holds the runtime";
    StandIn again; // the same module, one reference more
    ASSERT_TRUE(again.Loaded());
    QTGlueShutdown();
    EXPECT_EQ(again.Calls("1D0009"), 1);
    const std::string before = again.Log();
    QTGlueShutdown(); // one too many: nothing
    EXPECT_EQ(QTGetMoviesError(), kQTErrNotInitialised);
    EXPECT_EQ(again.Log(), before) << "an operation after the shut-down does not reach the runtime";
    again.Release();
    EXPECT_FALSE(RuntimeLoaded());
}

TEST(QuickTime, ExitWithoutAnImportDoesNothing)
{
    StandIn runtime;
    ASSERT_TRUE(runtime.Loaded());
    ExitQuickTime();
    EXPECT_EQ(runtime.Log(), "");
}

TEST(QuickTime, FilesTheRuntimeCannotUseGiveNoPictureAndLeaveNothingOpen)
{
    StandIn runtime;
    ASSERT_TRUE(runtime.Loaded());
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("empty.pct"), "NOPICTURE"));
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("bad.pct"), "BADDIB"));
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("other.pct"), "something else"));
    EXPECT_FALSE(ImportPictureWithQuickTime(dir.File("missing.pct").c_str()));
    runtime.Reset();
    EXPECT_FALSE(ImportPictureWithQuickTime(dir.File("empty.pct").c_str()));
    EXPECT_EQ(runtime.Calls("20023"), 1) << "the movie without a picture is released";
    runtime.Reset();
    EXPECT_FALSE(ImportPictureWithQuickTime(dir.File("bad.pct").c_str()))
        << "not a picture the program can use";
    EXPECT_EQ(runtime.Calls("20023"), 1);
    runtime.Reset();
    EXPECT_FALSE(ImportPictureWithQuickTime(dir.File("other.pct").c_str()));
    EXPECT_EQ(runtime.Calls("200D5"), 1) << "the file is closed though no movie was made";
    runtime.Reset();
    const std::string longPath = dir.Path() + "\\" + std::string(260, 'a') + ".pct";
    EXPECT_FALSE(ImportPictureWithQuickTime(longPath.c_str()));
    EXPECT_FALSE(ImportPictureWithQuickTime(""));
    EXPECT_EQ(runtime.Calls("20192"), 0) << "paths the record cannot hold are not cut and opened";
    ExitQuickTime();
}

TEST(QuickTime, ControlPanelVersionsAreRead)
{
    const std::string base = testpaths::BinaryDir() + "\\tests\\qt\\";
    EXPECT_EQ(QuickTimeFileMajorVersion((base + "cpl3\\quicktime.cpl").c_str()), 3);
    EXPECT_EQ(QuickTimeFileMajorVersion((base + "cpl4\\quicktime.cpl").c_str()), 4);
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("plain.cpl"), "not a program"));
    EXPECT_EQ(QuickTimeFileMajorVersion(dir.File("plain.cpl").c_str()), -1);
    EXPECT_EQ(QuickTimeFileMajorVersion(dir.File("none.cpl").c_str()), -1);
}

TEST(QuickTimeMovie, FileNamePartTakesWhatFollowsTheLastSeparator)
{
    char out[64] = "untouched";
    FileNamePart("C:\\films\\a.mov", out);
    EXPECT_STREQ(out, "a.mov");
    FileNamePart("a/b", out);
    EXPECT_STREQ(out, "b");
    FileNamePart("plain.mov", out);
    EXPECT_STREQ(out, "plain.mov");
    strcpy(out, "untouched");
    FileNamePart("", out);
    EXPECT_STREQ(out, "untouched");
}

TEST(QuickTimeMovie, AnEmptyPathCallsNoRuntimeOperation)
{
    StandIn runtime;
    ASSERT_EQ(QTGlueStartup(0), 0);
    runtime.Reset();
    MovieFileRecord record;
    EXPECT_EQ(OpenMovieFileRecord(nullptr, &record), 0);
    EXPECT_EQ(runtime.Log(), "");
    QTGlueShutdown();
}

TEST(QuickTimeMovie, OpeningWithoutAWindowMakesNoControllerAndClosingTwiceReleasesOnce)
{
    StandIn runtime;
    ASSERT_EQ(QTGlueStartup(0), 0);
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("m.mov"), BmpFile()));
    runtime.Reset();
    MovieFileRecord record;
    strcpy(record.path, dir.File("m.mov").c_str());
    ASSERT_EQ(OpenMovieFileRecord(nullptr, &record), 1);
    EXPECT_EQ(record.opened, 1);
    EXPECT_NE(record.movie, 0);
    EXPECT_EQ(record.controller, 0);
    EXPECT_EQ(runtime.Calls("1D0003"), 0);
    EXPECT_EQ(runtime.Calls("2018A"), 0);
    EXPECT_EQ(runtime.Calls("200D5"), 1) << "the file reference is closed, the movie stays";
    CloseMovieFileRecord(&record);
    CloseMovieFileRecord(&record);
    EXPECT_EQ(runtime.Calls("20023"), 1);
    EXPECT_EQ(record.movie, 0);
    QTGlueShutdown();
}

TEST(QuickTimeMovie, OpeningWithAWindowAttachesAControllerAndNamesTheWindow)
{
    StandIn runtime;
    ASSERT_EQ(QTGlueStartup(0), 0);
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("clip.mov"), BmpFile()));
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    runtime.Reset();
    MovieFileRecord record;
    strcpy(record.path, dir.File("clip.mov").c_str());
    record.titleWindow = window;
    ASSERT_EQ(OpenMovieFileRecord(window, &record), 1);
    EXPECT_EQ(record.controller, 0x7000);
    EXPECT_EQ(runtime.Calls("1D0003"), 1);
    EXPECT_EQ(runtime.Calls("1C0007"), 1);
    const std::string log = runtime.Log();
    EXPECT_NE(log.find("10000 7000 req 00 04 0010 "), std::string::npos) << log;
    EXPECT_NE(log.find("10000 7000 req 00 04 001D 0\n"), std::string::npos) << log;
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    EXPECT_STREQ(caption, "clip.mov");
    runtime.Reset();
    CloseMovieFileRecord(&record);
    EXPECT_EQ(runtime.Log().substr(0, 5), "2018B");
    EXPECT_EQ(runtime.Calls("20023"), 1);
    DestroyWindow(window);
    QTGlueShutdown();
}

TEST(QuickTimeMovie, ControllerRequestsBuildTheirParameterBlocks)
{
    StandIn runtime;
    ASSERT_EQ(QTGlueStartup(0), 0);
    runtime.Reset();
    int parameter = 0;
    EXPECT_EQ(QTControllerDoAction(0x7000, 29, &parameter), 0x55);
    EXPECT_EQ(QTControllerCut(0x7000), 0x55);
    EXPECT_EQ(QTControllerPaste(0x7000, 0), 0x55);
    std::ostringstream expected;
    expected << "10000 7000 req 00 08 0009 1D " << std::uppercase << std::hex
             << reinterpret_cast<uintptr_t>(&parameter) << "\n"
             << "10000 7000 req 00 00 0020\n"
             << "10000 7000 req 00 04 0021 0\n";
    EXPECT_EQ(runtime.Log(), expected.str());
    EXPECT_EQ(PasteIntoMovie(0), -2010);
    EXPECT_EQ(SelectWholeMovie(5, 0), -1);
    EXPECT_EQ(SelectWholeMovie(0, 0x7000), -2010);
    QTGlueShutdown();
}

TEST(QuickTime, TiffFilesGoToQuickTimeFirstOnlyWhenItIsInstalled)
{
    const std::string tiff = testpaths::TestImagesDir() + "\\tiff\\minisblack-1c-8b.tiff";
    StandIn runtime;
    ASSERT_TRUE(runtime.Loaded());
    SetQuickTimeAvailableForTest(0);
    DibHolder alone(LoadTIFFPreferringQuickTime(tiff.c_str()));
    EXPECT_TRUE(alone);
    EXPECT_EQ(runtime.Log(), "") << "QuickTime is not asked while it is absent";

    SetQuickTimeAvailableForTest(1);
    // A file QuickTime reads gives QuickTime's picture...
    testpaths::TempDir dir;
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("q.tif"), BmpFile()));
    DibHolder imported(LoadTIFFPreferringQuickTime(dir.File("q.tif").c_str()));
    ASSERT_TRUE(imported);
    EXPECT_EQ(ShapeOf(imported.Get()).width, 3);
    EXPECT_EQ(runtime.Calls("17000F"), 1);
    // ... and one it cannot read falls back to the TIFF reader.
    DibHolder fallback(LoadTIFFPreferringQuickTime(tiff.c_str()));
    ASSERT_TRUE(fallback);
    EXPECT_EQ(ShapeOf(fallback.Get()).width, ShapeOf(alone.Get()).width);
    EXPECT_EQ(runtime.Calls("20192"), 2);
    ExitQuickTime();
    SetQuickTimeAvailableForTest(-1);
}
