// The zoom steps and the drawing rectangles of the picture views.
#include "viewers/ZoomGeometry.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ZoomSteps, ZoomInFollowsTheBandsFromTen)
{
    std::vector<int> expected = {10,  20,  30,  40,   50,   70,   90,   110,  150,  200,  300,  400,
                                 500, 700, 900, 1100, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000};
    int z = 10;
    for (size_t i = 1; i < expected.size(); i++) {
        z = ZoomInBand(z);
        EXPECT_EQ(z, expected[i]) << "step " << i;
    }
    EXPECT_EQ(ZoomInBand(45), 50);
    EXPECT_EQ(ZoomInBand(95), 110);
    EXPECT_EQ(ZoomInBand(4900), 5000);
}

TEST(ZoomSteps, ZoomOutSnapsAndNeverEnlarges)
{
    EXPECT_EQ(ZoomOutBand(100), 50);
    EXPECT_EQ(ZoomOutBand(50), 20);
    EXPECT_EQ(ZoomOutBand(20), 10);
    EXPECT_EQ(ZoomOutBand(10), 10);
    EXPECT_EQ(ZoomOutBand(55), 20);
    EXPECT_EQ(ZoomOutBand(150), 100);
    // Reached by the fine steps: "out" must not jump up to 10.
    EXPECT_EQ(ZoomOutBand(6), 6);
    EXPECT_EQ(ZoomOutBand(1), 1);
}

TEST(ZoomSteps, FineStepsAreAboutFivePercent)
{
    EXPECT_EQ(ZoomInFine(100), 105);
    EXPECT_EQ(ZoomInFine(105), 110);
    EXPECT_EQ(ZoomInFine(4990), 5000);
    EXPECT_EQ(ZoomInFine(10), 11);
    EXPECT_EQ(ZoomOutFine(100), 95);
    EXPECT_EQ(ZoomOutFine(2), 1);
    EXPECT_EQ(ZoomOutFine(1), 1);
}

TEST(ZoomRects, ProportionalFitsAndCentres)
{
    RECT r = ProportionalRect(300, 300, 400, 100);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 112);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 187);
    r = ProportionalRect(300, 300, 100, 400);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 300);
    EXPECT_EQ(r.right - r.left, 75);
    // A picture without area draws nothing instead of dividing by zero.
    EXPECT_TRUE(IsRectEmpty(&(r = ProportionalRect(300, 300, 0, 100))));
}

TEST(ZoomRects, LayoutCentresOnlyWhatIsSmaller)
{
    ZoomLayout l = ComputeZoomLayout(200, 100, 10, 10, 100);
    EXPECT_EQ(l.ox, 95);
    EXPECT_EQ(l.oy, 45);
    l = ComputeZoomLayout(200, 100, 10, 10, 5000);
    EXPECT_EQ(l.zw, 500);
    EXPECT_EQ(l.ox, 0);
    EXPECT_EQ(l.oy, 0);
    // 12 megapixels at the largest zoom do not overflow.
    l = ComputeZoomLayout(800, 600, 4000, 3000, 5000);
    EXPECT_EQ(l.zw, 200000);
    EXPECT_EQ(l.zh, 150000);
}

TEST(ZoomRects, DamagedPartMapsInsideThePicture)
{
    ZoomLayout l = ComputeZoomLayout(200, 100, 10, 10, 5000);
    RECT src, dest;
    RECT update = {0, 0, 200, 100};
    ASSERT_TRUE(ZoomedSourceRect(update, POINT{250, 400}, l, 10, 10, 5000, &src, &dest));
    EXPECT_GE(src.left, 0);
    EXPECT_GE(src.top, 0);
    EXPECT_LE(src.right, 10);
    EXPECT_LE(src.bottom, 10);
    // The destination covers the update rectangle.
    EXPECT_LE(dest.left, 0);
    EXPECT_LE(dest.top, 0);
    EXPECT_GE(dest.right, 200);
    EXPECT_GE(dest.bottom, 100);
    // The source pixel at the window's corner is the one the scroll position names.
    EXPECT_LE(src.left, 250 / 50);
    EXPECT_GE(src.left, 250 / 50 - 1);
    // An update rectangle beside a small centred picture needs nothing.
    l = ComputeZoomLayout(200, 100, 10, 10, 100);
    RECT beside = {0, 0, 20, 20};
    EXPECT_FALSE(ZoomedSourceRect(beside, POINT{0, 0}, l, 10, 10, 100, &src, &dest));
}
