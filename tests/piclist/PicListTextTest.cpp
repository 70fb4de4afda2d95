// Texts of the thumbnail cells that are longer than their room: cut at their end with an ellipsis,
// never at both ends, and the small view's measures line kept whole where a shorter form fits.
#include "piclist/ListCellLayout.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "tests/piclist/PicListTestSupport.h"

#include <string>

namespace {

// The pixels of one rectangle of a painting, row by row.
std::vector<COLORREF> Region(const ListPixels& px, const RECT& rc)
{
    std::vector<COLORREF> out;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            out.push_back(px.At(x, y));
    return out;
}

RECT Offset(const RECT& cell, int left, int top, int right, int bottom)
{
    return {cell.left + left, cell.top + top, cell.left + right, cell.top + bottom};
}

// The column of the first dark pixel in rc, or -1.
int FirstInkColumn(const ListPixels& px, const RECT& rc)
{
    for (int x = rc.left; x < rc.right; x++)
        for (int y = rc.top; y < rc.bottom; y++)
            if (GetRValue(px.At(x, y)) < 96 && GetGValue(px.At(x, y)) < 96)
                return x;
    return -1;
}

} // namespace

// Two long names that begin alike show the same beginning: the cut is at their end. Cut at both
// ends (centred and clipped), each would show a different middle part. The same holds for the
// large view's info line.
TEST_F(PicListTest, LongNamesAndInfoLinesAreCutAtTheirEnd)
{
    const std::string first = "S\xe9jour \xe0 Nice 01 au bord de la mer en ao\xfbt.bmp";
    const std::string second = "S\xe9jour \xe0 Nice 01 au bord de la mer et du port de p\xea"
                               "che.bmp";
    struct Row {
        int view;
        RECT name; // the name's text room, from the cell's corner
    };
    const Row rows[] = {
        {kViewLarge, {9, 7, 93, 17}},
        {kViewMedium, {7, 69, 77, 79}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.view);
        const std::string sub = "vue" + std::to_string(row.view);
        ::CreateDirectoryA(m_temp.File(sub).c_str(), nullptr);
        WriteBmp(sub + "\\" + first, 40, 30, RGB(200, 40, 40));
        WriteBmp(sub + "\\" + second, 40, 30, RGB(200, 40, 40));
        CPicListBox* pList = MakeList(row.view);
        ASSERT_EQ(pList->LoadFolder(m_temp.File(sub).c_str()), 1);
        ASSERT_EQ(pList->GetCount(), 2);
        BuildAll(pList);
        pList->SetSel(-1, FALSE);
        for (int i = 0; i < 2; i++)
            pList->GetRecord(i)->m_strInfo = "1 234 567 octets - le 14/07/2001 \xe0 10:20:30 et la suite";
        ListPixels px =
            Paint(pList, row.view == kViewLarge ? "list-long-names-large" : "list-long-names-medium");
        RECT c0, c1;
        pList->GetItemRect(0, &c0);
        pList->GetItemRect(1, &c1);
        RECT n0 = Offset(c0, row.name.left, row.name.top, row.name.right, row.name.bottom);
        RECT n1 = Offset(c1, row.name.left, row.name.top, row.name.right, row.name.bottom);
        EXPECT_EQ(Region(px, n0), Region(px, n1)) << "the names differ only past what fits";
        // The first letter is drawn, near the left of the room.
        int ink = FirstInkColumn(px, n0);
        EXPECT_GE(ink, n0.left);
        EXPECT_LE(ink, n0.left + 6);
        if (row.view == kViewLarge) {
            pList->GetRecord(1)->m_strInfo = "1 234 567 octets - le 14/07/2001 \xe0 10:20:30 et autre chose";
            px = Paint(pList);
            RECT i0 = Offset(c0, 9, 95, 93, 105), i1 = Offset(c1, 9, 95, 93, 105);
            EXPECT_EQ(Region(px, i0), Region(px, i1)) << "the info lines differ only past what fits";
            EXPECT_LE(FirstInkColumn(px, i0), i0.left + 6);
        }
    }
}

// The small view's third line: "W x H - depth" where it fits; shorter forms where only they fit, so
// that the depth is not cut inside a word; what does not fit at all is left to the drawing's ellipsis.
TEST(PicListSmallView, MeasuresLineKeepsTheDepthWhole)
{
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontA(MulDiv(-7, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
    HGDIOBJ old = ::SelectObject(hdc, font);
    auto width = [hdc](const CString& text) {
        SIZE size = {};
        ::GetTextExtentPoint32A(hdc, text, text.GetLength(), &size);
        return static_cast<int>(size.cx);
    };
    // The room of the small view's text: from the picture box's right + 4 to the cell's right - 4.
    RECT cell = {0, 0, 150, 40};
    RECT box = SmallPictureBox(cell);
    const int room = static_cast<int>(cell.right - 4 - (box.right + 4));

    CString small = SmallViewMeasuresText(hdc, 80, 60, 24, room);
    EXPECT_STREQ(small, "80x60 - 16M coul.");
    // A photograph of 12 megapixels: the first of the forms that fits; the depth is never cut.
    const char* forms[] = {"4000x3000 - 16M coul.", "4000x3000 16M coul.", "4000x3000 16M"};
    CString photo = SmallViewMeasuresText(hdc, 4000, 3000, 24, room);
    CString expected = forms[2];
    for (const char* form : forms) {
        if (width(form) <= room) {
            expected = form;
            break;
        }
    }
    EXPECT_STREQ(photo, expected);
    EXPECT_LE(width(photo), room);
    // No room at all: the shortest form, cut by the drawing.
    EXPECT_STREQ(SmallViewMeasuresText(hdc, 4000, 3000, 8, 10), "4000x3000 256");
    EXPECT_STREQ(SmallViewMeasuresText(hdc, 4000, 3000, 1, 10), "4000x3000 Mono");
    ::SelectObject(hdc, old);
    ::DeleteObject(font);
    ::DeleteDC(hdc);
}
