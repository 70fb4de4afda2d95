// The bounds-checked byte reader: reads inside the span succeed, anything reaching past it fails.
#include <gtest/gtest.h>

#include "core/ByteReader.h"

#include <cstdint>

TEST(ByteReader, ReadsByOffsetInBothByteOrders)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05};
    ByteReader r(bytes, sizeof(bytes));
    uint8_t b = 0;
    uint16_t w = 0;
    uint32_t d = 0;
    EXPECT_TRUE(r.U8At(4, &b));
    EXPECT_EQ(b, 0x05);
    EXPECT_TRUE(r.U16LEAt(3, &w));
    EXPECT_EQ(w, 0x0504);
    EXPECT_TRUE(r.U16BEAt(0, &w));
    EXPECT_EQ(w, 0x0102);
    EXPECT_TRUE(r.U32LEAt(1, &d));
    EXPECT_EQ(d, 0x05040302u);
    EXPECT_TRUE(r.U32BEAt(0, &d));
    EXPECT_EQ(d, 0x01020304u);
}

TEST(ByteReader, NeverReadsPastTheEnd)
{
    const uint8_t bytes[] = {0xAA, 0xBB, 0xCC};
    ByteReader r(bytes, sizeof(bytes));
    uint8_t b = 7;
    uint16_t w = 7;
    uint32_t d = 7;
    EXPECT_FALSE(r.U8At(3, &b));
    EXPECT_FALSE(r.U16LEAt(2, &w));
    EXPECT_FALSE(r.U32LEAt(0, &d));
    EXPECT_FALSE(r.U32BEAt(SIZE_MAX - 1, &d)) << "an offset that would wrap";
    EXPECT_EQ(b, 7);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(d, 7u) << "outputs untouched on failure";
    EXPECT_EQ(r.Span(1, 3), nullptr);
    EXPECT_EQ(r.Span(SIZE_MAX, 2), nullptr);
    EXPECT_NE(r.Span(1, 2), nullptr);
    EXPECT_TRUE(r.Has(3, 0));
    EXPECT_FALSE(r.Has(4, 0));
    char out[4] = {};
    EXPECT_FALSE(r.CopyAt(1, out, 3));
    EXPECT_TRUE(r.CopyAt(1, out, 2));
    EXPECT_EQ(out[1], char(0xCC));

    ByteReader none(nullptr, 100);
    EXPECT_EQ(none.Size(), 0u) << "no data means no bytes";
    EXPECT_FALSE(none.U8At(0, &b));
}

TEST(ByteReader, SequentialReadsFailStickily)
{
    const uint8_t bytes[] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    ByteReader r(bytes, sizeof(bytes));
    EXPECT_EQ(r.ReadU16BE(), 0x1020);
    EXPECT_EQ(r.ReadU8(), 0x30);
    EXPECT_EQ(r.Pos(), 3u);
    EXPECT_EQ(r.Remaining(), 3u);
    EXPECT_EQ(r.ReadU32LE(), 0u) << "only 3 bytes are left";
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.Pos(), 3u);
    EXPECT_EQ(r.ReadU8(), 0) << "once failed, reads give 0";

    ByteReader s(bytes, sizeof(bytes));
    EXPECT_TRUE(s.Skip(4));
    EXPECT_EQ(s.ReadU16LE(), 0x6050);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_TRUE(s.Ok());
    EXPECT_TRUE(s.Seek(1));
    const uint8_t* span = s.ReadSpan(2);
    ASSERT_NE(span, nullptr);
    EXPECT_EQ(span[1], 0x30);
    EXPECT_EQ(s.ReadSpan(10), nullptr);
    EXPECT_FALSE(s.Ok());

    ByteReader t(bytes, sizeof(bytes));
    EXPECT_FALSE(t.Seek(7));
    EXPECT_FALSE(t.Ok());
    ByteReader u(bytes, sizeof(bytes));
    EXPECT_FALSE(u.Skip(7));
    uint8_t dest[2];
    ByteReader v(bytes, sizeof(bytes));
    EXPECT_TRUE(v.ReadBytes(dest, 2));
    EXPECT_EQ(dest[1], 0x20);
    EXPECT_EQ(v.ReadU32BE(), 0x30405060u);
}
