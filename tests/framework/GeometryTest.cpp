// CPoint, CSize and CRect arithmetic and set operations.
#include "framework/Geometry.h"

#include <gtest/gtest.h>

TEST(CRect, MeasuresAndCorners)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.Size(), CSize(100, 50));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    r.TopLeft() = CPoint(0, 0); // a reference into the rectangle
    EXPECT_EQ(r, CRect(0, 0, 110, 70));
    EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
}

TEST(CRect, EmptyNullAndContainment)
{
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 10).IsRectNull());
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 5))); // right and bottom edges are outside
    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());
}

TEST(CRect, InflateDeflateOffsetNormalize)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(8, 7, 22, 23));
    r.DeflateRect(2, 3);
    EXPECT_EQ(r, CRect(10, 10, 20, 20));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(9, 8, 23, 24));
    r.DeflateRect(1, 2, 3, 4);
    r.OffsetRect(5, -5);
    EXPECT_EQ(r, CRect(15, 5, 25, 15));
    r += CPoint(1, 1);
    EXPECT_EQ(r, CRect(16, 6, 26, 16));
    r -= CSize(1, 1);
    EXPECT_EQ(r, CRect(15, 5, 25, 15));
    CRect flipped(30, 40, 10, 20);
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(10, 20, 30, 40));
}

TEST(CRect, IntersectAndUnion)
{
    CRect a(0, 0, 10, 10);
    CRect b(5, 5, 20, 20);
    CRect r;
    EXPECT_TRUE(r.IntersectRect(a, b));
    EXPECT_EQ(r, CRect(5, 5, 10, 10));
    EXPECT_FALSE(r.IntersectRect(a, CRect(50, 50, 60, 60)));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_TRUE(r.UnionRect(a, b));
    EXPECT_EQ(r, CRect(0, 0, 20, 20));
    EXPECT_EQ(a & b, CRect(5, 5, 10, 10));
    EXPECT_EQ(a | b, CRect(0, 0, 20, 20));
    CRect c = a;
    c &= b;
    EXPECT_EQ(c, CRect(5, 5, 10, 10));
    c |= CRect(0, 0, 1, 1);
    EXPECT_EQ(c, CRect(0, 0, 10, 10));
    EXPECT_TRUE(c.EqualRect(&a));
    EXPECT_TRUE(c != b);
}

TEST(CRect, PassesAsWin32Rectangles)
{
    CRect r(1, 2, 3, 4);
    RECT plain;
    ::CopyRect(&plain, r);
    EXPECT_EQ(plain.right, 3);
    ::OffsetRect(r, 10, 10);
    EXPECT_EQ(r, CRect(11, 12, 13, 14));
    const CRect& cr = r;
    EXPECT_TRUE(::EqualRect(cr, &r));
    r.CopyRect(&plain);
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
}

TEST(CPoint, ArithmeticWithSizesAndPoints)
{
    CPoint p(3, 4);
    p += CSize(1, 1);
    EXPECT_EQ(p, CPoint(4, 5));
    p -= CPoint(4, 5);
    EXPECT_EQ(p, CPoint(0, 0));
    EXPECT_EQ(CPoint(5, 5) - CPoint(2, 3), CSize(3, 2));
    EXPECT_EQ(CPoint(5, 5) + CSize(1, 2), CPoint(6, 7));
    EXPECT_EQ(-CPoint(1, -2), CPoint(-1, 2));
    EXPECT_EQ(CPoint(static_cast<DWORD>(MAKELONG(-5, 7))), CPoint(-5, 7)); // signed words
    EXPECT_EQ(CPoint(10, 10) + CRect(0, 0, 5, 5), CRect(10, 10, 15, 15));
    CSize s(2, 3);
    s += CSize(1, 1);
    EXPECT_EQ(s, CSize(3, 4));
    EXPECT_EQ(s - CSize(3, 4), CSize(0, 0));
}
