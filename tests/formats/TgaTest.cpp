// The Targa reader and its stream layer: files written by netpbm and ImageMagick, the twelve pixel
// forms built here, and the rules for maps, runs and row order.
#include "formats/FormatTga.h"

#include "core/FileTypes.h"
#include "core/LoadDispatch.h"
#include "formats/Readers.h"
#include "tests/formats/OwnFormatsTestUtil.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

using namespace owntest;

namespace {

std::string Header(int imageType, int depth, int width, int height, int descriptor = 0, int mapType = 0,
                   int mapLength = 0, int mapBits = 0, int mapFirst = 0, int idLength = 0)
{
    std::string h;
    PutU8(h, idLength);
    PutU8(h, mapType);
    PutU8(h, imageType);
    PutU16LE(h, mapFirst);
    PutU16LE(h, mapLength);
    PutU8(h, mapBits);
    PutU16LE(h, 0);
    PutU16LE(h, 0);
    PutU16LE(h, width);
    PutU16LE(h, height);
    PutU8(h, depth);
    PutU8(h, descriptor);
    return h + std::string(idLength, 'i');
}

// Raw pixel values of `bytes` bytes each, then run-length encoded as one raw packet per pixel
// pair and runs where values repeat.
std::string Pixels(const std::vector<uint32_t>& values, int bytes)
{
    std::string s;
    for (uint32_t v : values)
        for (int i = 0; i < bytes; ++i)
            PutU8(s, (v >> (8 * i)) & 255);
    return s;
}

std::string Rle(const std::vector<uint32_t>& values, int bytes)
{
    std::string s;
    size_t i = 0;
    while (i < values.size()) {
        size_t run = 1;
        while (i + run < values.size() && run < 128 && values[i + run] == values[i])
            ++run;
        if (run > 1) {
            PutU8(s, 0x80 | static_cast<unsigned>(run - 1));
            s += Pixels({values[i]}, bytes);
        } else {
            PutU8(s, 0);
            s += Pixels({values[i]}, bytes);
        }
        i += run;
    }
    return s;
}

PackedDIB Decode(const std::string& bytes) { return DecodeTGA(bytes.data(), bytes.size()); }

Image Rgb(PackedDIB dib)
{
    const Image img = DibToImage(dib);
    EXPECT_FALSE(img.Empty());
    return img;
}

std::string Map24(int entries)
{
    std::string s;
    for (int i = 0; i < entries; ++i) {
        PutU8(s, (i * 11) & 255); // blue
        PutU8(s, (i * 5 + 1) & 255);
        PutU8(s, (i * 3 + 2) & 255);
    }
    return s;
}

} // namespace

TEST(FormatTga, NetpbmAndImageMagickFilesMatchTheirSources)
{
    const auto entries = ReadManifest("TGA");
    ASSERT_GE(entries.size(), 25u) << "reference files missing: scripts/test.sh prepares them";
    for (const ManifestEntry& e : entries) {
        SCOPED_TRACE(e.file);
        DibHolder dib(LoadTGA(e.file.c_str()));
        ASSERT_TRUE(dib);
        const Image decoded = DibToImage(dib.Get());
        ASSERT_FALSE(decoded.Empty());
        Image reference;
        ASSERT_TRUE(ReadNetpbm(e.reference, &reference, 255));
        const Difference d = Compare(decoded, reference);
        EXPECT_GE(d.maxDiff, 0) << "size " << decoded.width << "x" << decoded.height;
        EXPECT_LE(d.maxDiff, e.tolerance) << "mean difference " << d.meanDiff;
    }
}

TEST(FormatTga, EveryPixelFormDecodes)
{
    // A 3 x 2 picture in every form; the expected colours are worked out from each form's rule.
    const std::vector<uint32_t> indices = {0, 1, 2, 3, 1, 1};
    const std::string map = Map24(4);
    auto mapColour = [&map](int i) {
        return std::vector<int>{uint8_t(map[3 * i + 2]), uint8_t(map[3 * i + 1]), uint8_t(map[3 * i])};
    };
    for (int rle = 0; rle < 2; ++rle) {
        for (int depth : {8, 16}) {
            SCOPED_TRACE("mapped, depth " + std::to_string(depth) + (rle ? " rle" : ""));
            std::vector<uint32_t> v = indices;
            if (depth == 16)
                for (auto& x : v)
                    x |= 0x100; // the high byte of a 16-bit index is dropped
            const std::string body = rle ? Rle(v, depth / 8) : Pixels(v, depth / 8);
            DibHolder dib(Decode(Header(rle ? 9 : 1, depth, 3, 2, 0x20, 1, 4, 24) + map + body));
            ASSERT_TRUE(dib);
            EXPECT_EQ(ShapeOf(dib.Get()).bits, 8);
            const Image img = Rgb(dib.Get());
            for (int i = 0; i < 6; ++i) {
                const auto c = mapColour(indices[i]);
                EXPECT_EQ(img.At(i % 3, i / 3)[0], c[0]);
                EXPECT_EQ(img.At(i % 3, i / 3)[2], c[2]);
            }
        }
        {
            SCOPED_TRACE(std::string("grey") + (rle ? " rle" : ""));
            const std::vector<uint32_t> grey = {0, 80, 255, 17, 17, 200};
            DibHolder dib(
                Decode(Header(rle ? 11 : 3, 8, 3, 2, 0x20) + (rle ? Rle(grey, 1) : Pixels(grey, 1))));
            ASSERT_TRUE(dib);
            const Image img = Rgb(dib.Get());
            EXPECT_EQ(img.At(1, 0)[1], 80);
            EXPECT_EQ(img.At(2, 1)[2], 200);
        }
        for (int depth : {15, 16, 24, 32}) {
            SCOPED_TRACE("true colour, depth " + std::to_string(depth) + (rle ? " rle" : ""));
            std::vector<uint32_t> v;
            const int bytes = depth == 15 ? 2 : depth / 8;
            for (int i = 0; i < 6; ++i) {
                const int r = i * 40, g = 255 - i * 30, b = i * 9;
                if (bytes == 2)
                    v.push_back(0x8000 | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
                else
                    v.push_back(0xAA000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b));
            }
            DibHolder dib(
                Decode(Header(rle ? 10 : 2, depth, 3, 2, 0x20) + (rle ? Rle(v, bytes) : Pixels(v, bytes))));
            ASSERT_TRUE(dib);
            EXPECT_EQ(ShapeOf(dib.Get()).bits, 24);
            const Image img = Rgb(dib.Get());
            for (int i = 0; i < 6; ++i) {
                const int r = i * 40, g = 255 - i * 30, b = i * 9;
                const uint16_t* p = img.At(i % 3, i / 3);
                if (bytes == 2) {
                    EXPECT_EQ(p[0], (r >> 3) * 255 / 31);
                    EXPECT_EQ(p[1], (g >> 3) * 255 / 31);
                    EXPECT_EQ(p[2], (b >> 3) * 255 / 31);
                } else {
                    EXPECT_EQ(p[0], r);
                    EXPECT_EQ(p[1], g);
                    EXPECT_EQ(p[2], b);
                }
            }
        }
    }
}

TEST(FormatTga, TopFirstAndBottomFirstRowsGiveTheSamePicture)
{
    std::vector<uint32_t> rows = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203};
    std::vector<uint32_t> flipped = {0xA0B0C0, 0xD0E0F0, 0x010203, 0x102030, 0x405060, 0x708090};
    DibHolder top(Decode(Header(2, 24, 3, 2, 0x20) + Pixels(rows, 3)));
    DibHolder bottom(Decode(Header(2, 24, 3, 2, 0x00) + Pixels(flipped, 3)));
    ASSERT_TRUE(top);
    ASSERT_TRUE(bottom);
    EXPECT_EQ(Compare(Rgb(top.Get()), Rgb(bottom.Get())).maxDiff, 0);
    EXPECT_EQ(Rgb(top.Get()).At(0, 0)[0], 0x10);
}

TEST(FormatTga, RightToLeftRowsAreMirroredBack)
{
    DibHolder dib(Decode(Header(3, 8, 3, 1, 0x30) + Pixels({1, 2, 3}, 1)));
    ASSERT_TRUE(dib);
    EXPECT_EQ(Rgb(dib.Get()).At(0, 0)[0], 3);
    EXPECT_EQ(Rgb(dib.Get()).At(2, 0)[0], 1);
}

TEST(FormatTga, FiveBitWhiteIsFullWhiteRawOrRunLength)
{
    DibHolder raw(Decode(Header(2, 16, 1, 1) + Pixels({0x7FFF}, 2)));
    DibHolder rle(Decode(Header(10, 16, 1, 1) + Rle({0x7FFF}, 2)));
    ASSERT_TRUE(raw);
    ASSERT_TRUE(rle);
    EXPECT_EQ(Rgb(raw.Get()).At(0, 0)[0], 255);
    EXPECT_EQ(Rgb(rle.Get()).At(0, 0)[0], 255);
    EXPECT_EQ(Rgb(rle.Get()).At(0, 0)[2], 255);
}

TEST(FormatTga, ColourTableHoldsTheMapAndBlackEvenAfterAnotherFile)
{
    // A full 256-entry map first, then a 16-entry one: entries 16-255 must not keep the old colours.
    std::vector<uint32_t> idx = {0, 255};
    DibHolder full(Decode(Header(1, 8, 2, 1, 0, 1, 256, 24) + Map24(256) + Pixels(idx, 1)));
    ASSERT_TRUE(full);
    DibHolder small(Decode(Header(1, 8, 2, 1, 0, 1, 16, 24) + Map24(16) + Pixels(idx, 1)));
    ASSERT_TRUE(small);
    EXPECT_EQ(ShapeOf(small.Get()).colors, 256);
    const Image img = Rgb(small.Get());
    EXPECT_EQ(img.At(1, 0)[0] | img.At(1, 0)[1] | img.At(1, 0)[2], 0);
    EXPECT_EQ(img.At(0, 0)[0], 2);
}

TEST(FormatTga, FifteenBitMapEntriesTakeTwoBytes)
{
    std::string map;
    PutU16LE(map, 0x7C00); // red
    PutU16LE(map, 0x001F); // blue
    DibHolder dib(Decode(Header(1, 8, 2, 1, 0, 1, 2, 15) + map + Pixels({1, 0}, 1)));
    ASSERT_TRUE(dib);
    const Image img = Rgb(dib.Get());
    EXPECT_EQ(img.At(0, 0)[2], 255);
    EXPECT_EQ(img.At(1, 0)[0], 255);
    EXPECT_EQ(img.At(1, 0)[2], 0);
}

TEST(FormatTga, MapEntriesStartAtTheMapsFirstIndex)
{
    DibHolder dib(Decode(Header(1, 8, 2, 1, 0, 1, 2, 24, 10) + Map24(2) + Pixels({10, 11}, 1)));
    ASSERT_TRUE(dib);
    const Image img = Rgb(dib.Get());
    EXPECT_EQ(img.At(0, 0)[0], 2); // entry 0 of the stored map: red 2
    EXPECT_EQ(img.At(1, 0)[0], 5); // entry 1: red 5
}

TEST(FormatTga, GreyPicturesGetAGreyRamp)
{
    DibHolder dib(Decode(Header(3, 8, 1, 1) + Pixels({7}, 1)));
    ASSERT_TRUE(dib);
    const Image img = Rgb(dib.Get());
    EXPECT_EQ(img.At(0, 0)[0], 7);
    EXPECT_EQ(img.At(0, 0)[2], 7);
}

TEST(FormatTga, RunLengthPacketsGoOnAcrossRows)
{
    std::string body;
    PutU8(body, 0x80 | 3); // four pixels of value 9: the rest of row 0 and the start of row 1
    PutU8(body, 9);
    PutU8(body, 1); // two raw pixels
    PutU8(body, 4);
    PutU8(body, 5);
    DibHolder dib(Decode(Header(11, 8, 3, 2, 0x20) + body));
    ASSERT_TRUE(dib);
    const Image img = Rgb(dib.Get());
    EXPECT_EQ(img.At(2, 0)[0], 9);
    EXPECT_EQ(img.At(0, 1)[0], 9);
    EXPECT_EQ(img.At(1, 1)[0], 4);
    EXPECT_EQ(img.At(2, 1)[0], 5);
}

TEST(FormatTga, RunLengthDataThatEndsEarlyLeavesZeros)
{
    std::string file = Header(10, 24, 4, 4, 0x20) + Rle({0x112233, 0x445566, 0x778899, 0x112233}, 3);
    DibHolder dib(Decode(file));
    ASSERT_TRUE(dib);
    const Image img = Rgb(dib.Get());
    EXPECT_EQ(img.At(3, 0)[0], 0x11);
    EXPECT_EQ(img.At(0, 1)[0] | img.At(3, 3)[1], 0);
}

TEST(FormatTga, RowsWiderThanTheStreamChunkDecode)
{
    for (int depth : {24, 32}) {
        const int width = depth == 24 ? 3000 : 2000;
        std::vector<uint32_t> v(width);
        for (int x = 0; x < width; ++x)
            v[x] = (uint32_t(x) * 2654435761u) & 0xFFFFFF;
        for (int rle = 0; rle < 2; ++rle) {
            SCOPED_TRACE(std::to_string(depth) + (rle ? " rle" : " raw"));
            const std::string body = rle ? Rle(v, depth / 8) : Pixels(v, depth / 8);
            testpaths::TempDir dir;
            ASSERT_TRUE(
                testpaths::WriteBytes(dir.File("wide.tga"), Header(rle ? 10 : 2, depth, width, 1) + body));
            DibHolder dib(LoadTGA(dir.File("wide.tga").c_str()));
            ASSERT_TRUE(dib);
            const Image img = Rgb(dib.Get());
            for (int x = 0; x < width; x += 97)
                ASSERT_EQ(img.At(x, 0)[0], (v[x] >> 16) & 255) << x;
            EXPECT_EQ(img.At(width - 1, 0)[2], v[width - 1] & 255);
        }
    }
}

TEST(FormatTga, RefusesUnknownFormsAndShortData)
{
    const std::string good = Header(1, 8, 2, 1, 0, 1, 4, 24) + Map24(4) + Pixels({1, 2}, 1);
    {
        DibHolder dib(Decode(good));
        ASSERT_TRUE(dib);
    }
    const std::string mapped24 = Header(1, 24, 2, 1, 0, 1, 4, 24) + Map24(4) + Pixels({1, 2}, 3);
    const std::string type32 = Header(32, 8, 2, 1) + Pixels({1, 2}, 1);
    const std::string shortMap = Header(1, 8, 2, 1, 0, 1, 4, 24) + Map24(3);
    const std::string eightBitMap = Header(1, 8, 2, 1, 0, 1, 4, 8) + std::string(4, '\1') + Pixels({1, 2}, 1);
    const std::string shortRow = Header(2, 24, 2, 2) + Pixels({1, 2, 3}, 3);
    for (const std::string& bad : {mapped24, type32, shortMap, eightBitMap, shortRow, good.substr(0, 17)}) {
        DibHolder dib(Decode(bad));
        EXPECT_FALSE(dib);
    }
}

TEST(FormatTga, ReportsOneProgressStepPerRow)
{
    ProgressRecorder progress;
    DibHolder dib(Decode(Header(3, 8, 2, 7) + std::string(14, '\x20')));
    ASSERT_TRUE(dib);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.sets, 7);
    EXPECT_EQ(progress.ends, 1);
}

TEST(FormatTga, TgaFilesGoThroughTheDispatcher)
{
    InstallPictureReaders();
    EXPECT_EQ(GetPictureReader(kFileTypeTGA), &LoadTGA);
    EXPECT_FALSE(LoadTGA("Z:\\no\\such\\file.tga"));
}

TEST(TgaStream, ThreeSlotsAtMostAndRequestsCappedAtTheChunk)
{
    testpaths::TempDir dir;
    std::string content;
    for (int i = 0; i < 1000; ++i)
        PutU8(content, i & 255);
    ASSERT_TRUE(testpaths::WriteBytes(dir.File("s.bin"), content));
    BYTE buffers[4][16 + 8];
    int slots[4];
    for (int i = 0; i < 4; ++i)
        slots[i] = StreamOpen(dir.File("s.bin").c_str(), buffers[i], 16, 8, kStreamRead);
    EXPECT_EQ(slots[0], 0);
    EXPECT_EQ(slots[1], 1);
    EXPECT_EQ(slots[2], 2);
    EXPECT_EQ(slots[3], -1);
    EXPECT_EQ(StreamRead(slots[0], 100), 8); // more than the chunk: the chunk
    EXPECT_EQ(StreamData(slots[0])[7], 7);
    EXPECT_EQ(StreamRead(slots[0], 3), 3);
    EXPECT_EQ(StreamData(slots[0])[0], 8);
    EXPECT_EQ(StreamGetByte(slots[0]), 11);
    EXPECT_EQ(StreamSeek(slots[0], 998), 1);
    EXPECT_EQ(StreamGetByte(slots[0]), 998 & 255);
    EXPECT_EQ(StreamGetByte(slots[0]), 999 & 255);
    EXPECT_EQ(StreamGetByte(slots[0]), -1);
    EXPECT_EQ(StreamRead(slots[0], 0), 0);
    for (int i = 0; i < 3; ++i)
        StreamClose(slots[i]);
    EXPECT_EQ(StreamOpen(dir.File("s.bin").c_str(), buffers[3], 16, 0, kStreamRead), -1);
    EXPECT_EQ(StreamOpen(dir.File("none.bin").c_str(), buffers[3], 16, 8, kStreamRead), -1);
}

TEST(TgaStream, WritesWhatIsPutInItsBuffer)
{
    testpaths::TempDir dir;
    BYTE buffer[4 + 3];
    const int slot = StreamOpen(dir.File("w.bin").c_str(), buffer, 4, 3, kStreamWrite);
    ASSERT_GE(slot, 0);
    for (int i = 0; i < 5; ++i) {
        BYTE* p = StreamData(slot);
        p[0] = static_cast<BYTE>('a' + 2 * i);
        p[1] = static_cast<BYTE>('b' + 2 * i);
        EXPECT_EQ(StreamWrite(slot, 2), 2);
    }
    EXPECT_EQ(StreamRead(slot, 1), 0); // not a read slot
    EXPECT_EQ(GetFileAttributesA(dir.File("w.bin").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the file appears only once complete";
    StreamClose(slot);
    EXPECT_EQ(testpaths::ReadBytes(dir.File("w.bin")), "abcdefghij");
}

TEST(FormatTga, ToolFilesConvertThroughPicconv) { EXPECT_GE(CheckThroughPicconv("TGA"), 25); }
