// A folder of 10,000 pictures with their record files: the list fills from the records without
// decoding a picture, sorts and scrolls, and holds device bitmaps only for what is near the view.
#include "core/DIB.h"
#include "core/PackedDib.h"
#include "piclist/ListCellLayout.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "tests/piclist/PicListTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

const int kCount = 10000;

int ProcessGdiObjects() { return static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)); }

} // namespace

// The folder comes from tests/piclist/prepare-scale.sh: pictures that hold no picture at all (a fill
// that decoded one would mark it unreadable) and their records with thumbnails.
TEST_F(PicListTest, TenThousandRecordsFillSortAndScrollWithBoundedGdiObjects)
{
    std::string folder = testpaths::TestDataDir() + "\\piclist\\scale10k";
    ASSERT_NE(::GetFileAttributesA((folder + "\\done.txt").c_str()), INVALID_FILE_ATTRIBUTES)
        << "run tests/piclist/prepare-scale.sh (scripts/test.sh does)";
    std::string before = testpaths::ReadBytes(folder + "\\p00000.dai");
    CPicListBox* pList = MakeList(kViewLarge, FALSE, TRUE, 700, 400);
    int gdiBefore = ProcessGdiObjects();
    DWORD start = ::GetTickCount();
    ASSERT_EQ(pList->LoadFolder(folder.c_str()), 1);
    DWORD fillMs = ::GetTickCount() - start;
    ASSERT_EQ(pList->GetCount(), kCount);
    for (int i = 0; i < kCount; i++) {
        CPicObject* pRecord = pList->GetRecord(i);
        ASSERT_EQ(pRecord->m_nThumbState, 1) << i;
        ASSERT_EQ(pRecord->m_nThumbWidth, 48) << i;                  // the record's thumbnail, not a new one
        ASSERT_EQ(pRecord->m_bmThumb.GetSafeHandle(), nullptr) << i; // no GDI object before drawing
    }
    DWORD idleStart = ::GetTickCount();
    for (int k = 0; k < 20; k++)
        EXPECT_EQ(pList->BuildNextThumbnail(), 0); // nothing to build
    std::printf("20 idle builder steps with nothing to build: %lu ms\n",
                static_cast<unsigned long>(::GetTickCount() - idleStart));
    std::printf("fill of %d records: %lu ms\n", kCount, static_cast<unsigned long>(fillMs));

    // Sort both ways by every key, then scroll through the whole list painting each screen.
    for (int key = 0; key < 4; key++) {
        pList->m_nSortKey = key;
        pList->m_nSortOrder = key % 2;
        pList->Resort();
        ASSERT_EQ(pList->GetCount(), kCount);
    }
    pList->m_nSortKey = 0;
    pList->m_nSortOrder = 1;
    pList->Resort();
    EXPECT_STREQ(pList->GetRecord(0)->m_strBaseName, "p09999");
    int peakHolders = 0;
    int peakGdi = 0;
    for (int top = 0; top < kCount; top += 150) {
        pList->SetTopIndex(top);
        ::RedrawWindow(pList->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        peakHolders = std::max(peakHolders, pList->GetDeviceBitmapCount());
        peakGdi = std::max(peakGdi, ProcessGdiObjects());
    }
    ListPixels px = Paint(pList, "list-ten-thousand");
    int held = 0;
    for (int i = 0; i < kCount; i++)
        held += pList->GetRecord(i)->m_bmThumb.GetSafeHandle() != nullptr;
    std::printf("device bitmaps: peak %d held by the list, %d now; process GDI objects %d before, peak %d\n",
                peakHolders, held, gdiBefore, peakGdi);
    EXPECT_GT(peakHolders, 10);  // the screens were drawn
    EXPECT_LE(peakHolders, 400); // bounded by the view, not by the folder
    EXPECT_LE(held, 400);
    // Nothing was corrected or rebuilt: the record files are as they were.
    EXPECT_EQ(testpaths::ReadBytes(folder + "\\p00000.dai"), before);
    if (gdiBefore > 0) {
        EXPECT_LT(peakGdi - gdiBefore, 600);
    }
}
