// picconv: every bitmap kind in, a BMP of the same pixels out; refusals with a message and status.
#include <gtest/gtest.h>

#include "tests/core/DibTestUtil.h"
#include "tests/support/TestPaths.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace dibtest;

namespace {

struct RunResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string errors;
};

// Runs picconv.exe with the arguments (each quoted), collecting what it writes on stderr.
RunResult RunPicconv(const std::vector<std::string>& args)
{
    std::string command = "\"" + testpaths::BinaryDir() + "\\tools\\picconv.exe\"";
    for (const std::string& a : args)
        command += " \"" + a + "\"";
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    RunResult result;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[512];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            result.errors.append(buffer, got);
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    return result;
}

// A P6 file: width, height and top-down RGB triples.
struct Ppm {
    int width = 0, height = 0;
    std::string rgb;
    Rgb At(int x, int y) const
    {
        const size_t i = (size_t(y) * width + x) * 3;
        return Rgb{BYTE(rgb[i]), BYTE(rgb[i + 1]), BYTE(rgb[i + 2])};
    }
};

bool ReadPpm(const std::string& path, Ppm& ppm)
{
    std::string bytes = testpaths::ReadBytes(path);
    std::istringstream in(bytes);
    std::string magic;
    int maxValue = 0;
    in >> magic >> ppm.width >> ppm.height >> maxValue;
    if (magic != "P6" || maxValue != 255)
        return false;
    in.get();
    ppm.rgb = bytes.substr(size_t(in.tellg()));
    return ppm.rgb.size() == size_t(ppm.width) * ppm.height * 3;
}

// What picconv wrote, as a packed DIB (the file minus its 14-byte file header).
struct Written {
    std::string bytes;
    const BITMAPINFOHEADER* Header() const
    {
        return reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + 14);
    }
    bool Plain() const
    {
        return bytes.size() > 54 && bytes[0] == 'B' && bytes[1] == 'M' && Header()->biSize == 40
               && Header()->biCompression == BI_RGB && Header()->biHeight > 0;
    }
    Rgb At(int x, int y) const { return PixelOf(bytes.data() + 14, x, y); }
};

std::string DataDir() { return testpaths::TestDataDir() + "\\tools"; }

int ChannelDistance(const Rgb& a, const Rgb& b)
{
    return std::max(std::abs(a.r - b.r), std::max(std::abs(a.g - b.g), std::abs(a.b - b.b)));
}

} // namespace

TEST(Picconv, EveryBitmapKindKeepsItsPixels)
{
    const struct {
        const char* name;
        int tolerance;       // channels rebuilt from 5 or 6 bits may round one step differently
        bool shiftedNibbles; // ImageMagick widens 4-bit channels by a shift (15 gives 240), the
                             // program to the full range (15 gives 255): compare c + c / 16
    } samples[] = {
        {"rgb24", 0, false},   {"core24", 0, false},   {"core8", 0, false},    {"core1", 0, false},
        {"p1", 0, false},      {"p4", 0, false},       {"p8", 0, false},       {"rle8", 0, false},
        {"v5argb", 0, false},  {"v5rgb565", 1, false}, {"v5rgb555", 1, false}, {"v5argb4444", 0, true},
        {"v5rgb24", 0, false}, {"v5p8", 0, false},     {"v5rle8", 0, false},
    };
    testpaths::TempDir dir;
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.name);
        const std::string source = DataDir() + "\\" + sample.name + ".bmp";
        Ppm reference;
        ASSERT_TRUE(ReadPpm(DataDir() + "\\" + sample.name + ".ppm", reference))
            << "run tests/tools/prepare-bmp.sh";
        const std::string out = dir.File(std::string(sample.name) + ".out.bmp");
        RunResult run = RunPicconv({source, out});
        ASSERT_EQ(run.exitCode, 0u) << run.errors;
        Written written{testpaths::ReadBytes(out)};
        ASSERT_TRUE(written.Plain());
        ASSERT_EQ(written.Header()->biWidth, reference.width);
        ASSERT_EQ(written.Header()->biHeight, reference.height);
        int worst = 0;
        for (int y = 0; y < reference.height; ++y) {
            for (int x = 0; x < reference.width; ++x) {
                Rgb expected = reference.At(x, y);
                if (sample.shiftedNibbles)
                    expected = Rgb{expected.r + expected.r / 16, expected.g + expected.g / 16,
                                   expected.b + expected.b / 16};
                worst = std::max(worst, ChannelDistance(written.At(x, y), expected));
            }
        }
        EXPECT_LE(worst, sample.tolerance);
    }
}

TEST(Picconv, TopDownAndBitFieldFilesKeepTheirPixels)
{
    testpaths::TempDir dir;
    // A 3 x 2 top-down 32-bit file with RGBA-ordered bit fields after a 40-byte header.
    BmpSpec s;
    s.width = 3;
    s.height = -2;
    s.bits = 32;
    s.compression = BI_BITFIELDS;
    s.masks[0] = 0xFF000000;
    s.masks[1] = 0x00FF0000;
    s.masks[2] = 0x0000FF00;
    const Rgb expected[2][3] = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
                                {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            s.rows += std::string{char(0xFF), char(expected[y][x].b), char(expected[y][x].g),
                                  char(expected[y][x].r)};
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("fields.bmp"), BuildBmp(s)));
    RunResult run = RunPicconv({dir.File("fields.bmp"), dir.File("fields.out.bmp")});
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    Written written{testpaths::ReadBytes(dir.File("fields.out.bmp"))};
    ASSERT_TRUE(written.Plain());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(written.At(x, y), expected[y][x]) << x << "," << y;

    // 16-bit 5-5-5 without bit fields, bottom-up.
    BmpSpec plain;
    plain.width = 2;
    plain.height = 1;
    plain.bits = 16;
    plain.rows = std::string("\xE0\x03\x00\x7C", 4); // green, red
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("555.bmp"), BuildBmp(plain)));
    run = RunPicconv({dir.File("555.bmp"), dir.File("555.out.bmp")});
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    Written w555{testpaths::ReadBytes(dir.File("555.out.bmp"))};
    ASSERT_TRUE(w555.Plain());
    EXPECT_EQ(w555.At(0, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(w555.At(1, 0), (Rgb{255, 0, 0}));
}

TEST(Picconv, ThumbnailIsFittedIntoTheBox)
{
    testpaths::TempDir dir;
    RunResult run = RunPicconv({DataDir() + "\\rgb24.bmp", dir.File("thumb.bmp"), "--thumb", "16x16"});
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    Written written{testpaths::ReadBytes(dir.File("thumb.bmp"))};
    ASSERT_TRUE(written.Plain());
    EXPECT_EQ(written.Header()->biWidth, 16);
    EXPECT_EQ(written.Header()->biHeight, 9) << "23 x 16 / 37";
    EXPECT_EQ(written.Header()->biBitCount, 24);

    run = RunPicconv({DataDir() + "\\v5argb.bmp", dir.File("small.bmp"), "--thumb", "84x68"});
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    Written small{testpaths::ReadBytes(dir.File("small.bmp"))};
    EXPECT_EQ(small.Header()->biWidth, 37) << "a small picture is never enlarged";
    EXPECT_EQ(small.Header()->biHeight, 23);
}

TEST(Picconv, HostileTruncatedAndLyingFilesAreRefusedWithAMessage)
{
    testpaths::TempDir dir;
    const std::string whole = testpaths::ReadBytes(DataDir() + "\\rgb24.bmp");
    ASSERT_GT(whole.size(), 100u);
    std::string lying = whole;
    *reinterpret_cast<LONG*>(&lying[18]) = 60000; // width
    *reinterpret_cast<LONG*>(&lying[22]) = 60000; // height: 10 GB of rows
    std::string badOffset = whole;
    *reinterpret_cast<DWORD*>(&badOffset[10]) = 0x7FFFFFF0;
    std::string badDepth = whole;
    badDepth[28] = 7;
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"truncated-rows.bmp", whole.substr(0, whole.size() - 10)},
        {"truncated-header.bmp", whole.substr(0, 30)},
        {"empty.bmp", std::string()},
        {"lying-size.bmp", lying},
        {"lying-offset.bmp", badOffset},
        {"bad-depth.bmp", badDepth},
        {"not-a-bitmap.bmp", std::string("GIF89a") + whole.substr(6)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testpaths::WriteBytes(dir.File(c.name), c.bytes));
        RunResult run = RunPicconv({dir.File(c.name), dir.File("out.bmp")});
        EXPECT_EQ(run.exitCode, 1u) << run.errors;
        EXPECT_NE(run.errors.find("cannot read"), std::string::npos) << run.errors;
        EXPECT_EQ(GetFileAttributesA(dir.File("out.bmp").c_str()), INVALID_FILE_ATTRIBUTES)
            << "nothing written";
    }
}

TEST(Picconv, ReportsMissingFilesUnknownTypesAndUnwritableTargets)
{
    testpaths::TempDir dir;
    RunResult run = RunPicconv({dir.File("none.bmp"), dir.File("out.bmp")});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.errors.find("no such file"), std::string::npos) << run.errors;

    ASSERT_TRUE(testpaths::WriteBytes(dir.File("song.wav"), "RIFF"));
    run = RunPicconv({dir.File("song.wav"), dir.File("out.bmp")});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.errors.find("no reader"), std::string::npos) << run.errors;

    run = RunPicconv({DataDir() + "\\p4.bmp", dir.File("missing\\out.bmp")});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.errors.find("cannot write"), std::string::npos) << run.errors;
}

TEST(Picconv, UsageErrorsGiveStatusTwo)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"only-one.bmp"},
        {"a.bmp", "b.bmp", "c.bmp"},
        {"a.bmp", "b.bmp", "--thumb"},
        {"a.bmp", "b.bmp", "--thumb", "0x10"},
        {"a.bmp", "b.bmp", "--thumb", "10x"},
        {"a.bmp", "b.bmp", "--thumb", "70000x10"},
        {"a.bmp", "b.bmp", "--colour"},
    };
    for (const auto& args : cases) {
        RunResult run = RunPicconv(args);
        EXPECT_EQ(run.exitCode, 2u) << args.size() << " arguments";
        EXPECT_NE(run.errors.find("usage: picconv"), std::string::npos);
    }
}
