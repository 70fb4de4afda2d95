// GDI wrappers: ownership of handles, temporary wrappers and their release, and the object kinds.
#define OEMRESOURCE // OBM_ bitmap ids
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "framework/HandleMap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

struct TempMapsCleared {
    TempMapsCleared() { AfxDeleteTempMaps(); }
    ~TempMapsCleared() { AfxDeleteTempMaps(); }
};

bool IsLiveGdiObject(HGDIOBJ h) { return ::GetObjectType(h) != 0; }

using GdiMap = CHandleMap<CGdiObject, HGDIOBJ>;

} // namespace

TEST(CGdiObject, DestructorDeletesTheHandleAndDetachKeepsIt)
{
    HGDIOBJ kept = nullptr;
    HGDIOBJ deleted = nullptr;
    {
        CPen a(PS_SOLID, 1, RGB(1, 2, 3));
        CPen b(PS_SOLID, 1, RGB(4, 5, 6));
        deleted = a.m_hObject;
        kept = b.Detach();
        EXPECT_EQ(b.m_hObject, nullptr);
    }
    EXPECT_FALSE(IsLiveGdiObject(deleted));
    EXPECT_TRUE(IsLiveGdiObject(kept));
    ::DeleteObject(kept);
}

TEST(CGdiObject, FromHandleGivesTheOwnerForAnAttachedHandle)
{
    TempMapsCleared guard;
    CBrush brush(RGB(10, 20, 30));
    EXPECT_EQ(CGdiObject::FromHandle(brush.m_hObject), &brush);
    EXPECT_EQ(CBrush::FromHandle(static_cast<HBRUSH>(brush.m_hObject)), &brush);
    EXPECT_EQ(CGdiObject::GetTempCount(), 0u);
    HGDIOBJ h = brush.m_hObject;
    brush.DeleteObject();
    EXPECT_EQ(GdiMap::LookupPermanent(h), nullptr);
}

TEST(CGdiObject, TemporaryWrappersHaveTheHandlesKindAndAreReleasedByTheTempMapDeletion)
{
    TempMapsCleared guard;
    HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HPALETTE hPal = static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
    HRGN hRgn = ::CreateRectRgn(0, 0, 4, 4);

    CGdiObject* pPen = CGdiObject::FromHandle(hPen);
    ASSERT_NE(pPen, nullptr);
    EXPECT_TRUE(pPen->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(pPen->m_hObject, hPen);
    EXPECT_EQ(CGdiObject::FromHandle(hPen), pPen); // the same wrapper until the next deletion
    CPalette* pPal = CPalette::FromHandle(hPal);
    ASSERT_NE(pPal, nullptr);
    EXPECT_TRUE(pPal->IsKindOf(RUNTIME_CLASS(CPalette)));
    EXPECT_GT(pPal->GetEntryCount(), 0);
    EXPECT_TRUE(CGdiObject::FromHandle(hRgn)->IsKindOf(RUNTIME_CLASS(CRgn)));
    EXPECT_EQ(CGdiObject::GetTempCount(), 3u);

    AfxDeleteTempMaps();
    EXPECT_EQ(CGdiObject::GetTempCount(), 0u);
    // Temporary wrappers never own their handles.
    EXPECT_TRUE(IsLiveGdiObject(hPen));
    EXPECT_TRUE(IsLiveGdiObject(hRgn));
    ::DeleteObject(hPen);
    ::DeleteObject(hRgn);
}

TEST(CGdiObject, FromHandleRefusesNullAndNonObjects)
{
    TempMapsCleared guard;
    EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);
    EXPECT_EQ(CGdiObject::FromHandle(reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(0x1234))), nullptr);
    EXPECT_EQ(CGdiObject::GetTempCount(), 0u);
}

TEST(CGdiObject, DetachingATemporaryLetsTheCallerKeepTheHandle)
{
    TempMapsCleared guard;
    HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 1, 1));
    CBrush* pTemp = CBrush::FromHandle(hBrush);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->Detach(), hBrush);
    // The handle now gets a fresh wrapper that holds it.
    CBrush* pAgain = CBrush::FromHandle(hBrush);
    ASSERT_NE(pAgain, nullptr);
    EXPECT_EQ(pAgain->m_hObject, hBrush);
    AfxDeleteTempMaps();
    EXPECT_EQ(CGdiObject::GetTempCount(), 0u);
    EXPECT_TRUE(IsLiveGdiObject(hBrush));
    CBrush owner;
    owner.Attach(hBrush); // ownership taken: deleted with the wrapper
}

TEST(CGdiObject, TemporaryWrappersBelongToTheirThread)
{
    TempMapsCleared guard;
    HPEN hPen = ::CreatePen(PS_DOT, 1, RGB(9, 9, 9));
    CGdiObject* mine = CGdiObject::FromHandle(hPen);
    CGdiObject* theirs = nullptr;
    size_t theirCount = 0;
    std::thread worker([&] {
        theirs = CGdiObject::FromHandle(hPen);
        theirCount = CGdiObject::GetTempCount();
    }); // the worker's wrappers go with the worker
    worker.join();
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(theirCount, 1u);
    EXPECT_EQ(CGdiObject::GetTempCount(), 1u);
    EXPECT_TRUE(IsLiveGdiObject(hPen));
    ::DeleteObject(hPen);
}

TEST(CGdiObject, OwnerMadeOnOneThreadCanDieOnAnother)
{
    CBitmap* pBitmap = nullptr;
    std::thread worker([&] {
        pBitmap = new CBitmap;
        pBitmap->CreateBitmap(4, 4, 1, 1, nullptr);
    });
    worker.join();
    ASSERT_NE(pBitmap, nullptr);
    HGDIOBJ h = pBitmap->m_hObject;
    EXPECT_EQ(CGdiObject::FromHandle(h), pBitmap);
    delete pBitmap;
    EXPECT_EQ(GdiMap::LookupPermanent(h), nullptr);
    EXPECT_FALSE(IsLiveGdiObject(h));
}

TEST(CGdiObject, ThrowingConstructorsRefuseWhatCannotBeMade)
{
    EXPECT_THROW(CBrush(static_cast<CBitmap*>(nullptr)), CResourceException);
    CBitmap empty;
    EXPECT_THROW(CBrush brush(&empty), CResourceException);
}

TEST(CPalette, EntriesCountAndNearestIndex)
{
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[4];
    } logPal = {0x300, 4, {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}}};
    CPalette pal;
    ASSERT_TRUE(pal.CreatePalette(reinterpret_cast<LOGPALETTE*>(&logPal)));
    EXPECT_EQ(pal.GetEntryCount(), 4);
    PALETTEENTRY got[4] = {};
    EXPECT_EQ(pal.GetPaletteEntries(0, 4, got), 4u);
    EXPECT_EQ(got[2].peGreen, 255);
    EXPECT_EQ(pal.GetNearestPaletteIndex(RGB(250, 10, 10)), 1u);
    EXPECT_EQ(pal.GetNearestPaletteIndex(RGB(0, 0, 200)), 3u);
    PALETTEENTRY grey = {128, 128, 128, 0};
    EXPECT_EQ(pal.SetPaletteEntries(0, 1, &grey), 1u);
    EXPECT_EQ(pal.GetNearestPaletteIndex(RGB(120, 130, 128)), 0u);
    EXPECT_TRUE(pal.ResizePalette(8));
    EXPECT_EQ(pal.GetEntryCount(), 8);
    CPalette none;
    EXPECT_EQ(none.GetEntryCount(), 0);
}

TEST(CRgn, CombinesAndHitTests)
{
    CRgn a;
    CRgn b;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    CRect box(20, 0, 30, 10);
    ASSERT_TRUE(b.CreateRectRgnIndirect(&box));
    CRgn both;
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(5, 5));
    EXPECT_TRUE(both.PtInRegion(CPoint(25, 5)));
    EXPECT_FALSE(both.PtInRegion(15, 5));
    CRect bounds;
    both.GetRgnBox(&bounds);
    EXPECT_EQ(bounds, CRect(0, 0, 30, 10));
    both.SetRectRgn(100, 100, 110, 110);
    EXPECT_TRUE(both.PtInRegion(105, 105));
    EXPECT_FALSE(both.PtInRegion(5, 5));
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(copy.CopyRgn(&both), SIMPLEREGION);
    EXPECT_TRUE(copy.EqualRgn(&both));
    CRgn round;
    EXPECT_TRUE(round.CreateEllipticRgn(0, 0, 20, 20));
    EXPECT_FALSE(round.PtInRegion(1, 1));
    EXPECT_TRUE(round.PtInRegion(10, 10));
}

TEST(CFont, CreatesAndReportsItsLogFont)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
    LOGFONT lf = {};
    ASSERT_GT(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, "Arial");

    CFont points;
    ASSERT_TRUE(points.CreatePointFont(120, "Arial"));
    ASSERT_GT(points.GetLogFont(&lf), 0);
    HDC screen = ::GetDC(nullptr);
    int expected = -::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), 12, 72);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfHeight, expected);
}

TEST(CBitmap, CreatesAndMeasures)
{
    CBitmap bitmap;
    BYTE bits[16] = {0xFF, 0x00};
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 1, bits));
    BITMAP bm = {};
    ASSERT_GT(bitmap.GetBitmap(&bm), 0);
    EXPECT_EQ(bm.bmWidth, 8);
    EXPECT_EQ(bm.bmHeight, 8);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    BYTE back[16] = {};
    EXPECT_EQ(bitmap.GetBitmapBits(sizeof(back), back), sizeof(back));
    EXPECT_EQ(back[0], 0xFF);
    EXPECT_TRUE(CBitmap().GetSafeHandle() == nullptr);
    CBitmap oem;
    EXPECT_TRUE(oem.LoadOEMBitmap(OBM_CHECK));
    EXPECT_FALSE(CBitmap().LoadBitmap(61299u)); // no such resource
}

TEST(CBrush, KindsOfBrushes)
{
    CBrush solid;
    ASSERT_TRUE(solid.CreateSolidBrush(RGB(1, 2, 3)));
    LOGBRUSH lb = {};
    ASSERT_GT(solid.GetLogBrush(&lb), 0);
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
    CBrush hatch(HS_CROSS, RGB(0, 0, 0));
    ASSERT_GT(hatch.GetLogBrush(&lb), 0);
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
    CBitmap pattern;
    WORD bits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    pattern.CreateBitmap(8, 8, 1, 1, bits);
    CBrush patterned(&pattern);
    EXPECT_NE(patterned.m_hObject, nullptr);
    CBrush sys;
    EXPECT_TRUE(sys.CreateSysColorBrush(COLOR_BTNFACE));
}

TEST(CGdiObject, GetSafeHandleAnswersNullForEmptyAndNullWrappers)
{
    CPalette empty;
    EXPECT_EQ(empty.GetSafeHandle(), nullptr);
    CPalette* volatile missing = nullptr;
    EXPECT_EQ(missing->GetSafeHandle(), nullptr);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    EXPECT_EQ(pen.GetSafeHandle(), pen.m_hObject);
}
