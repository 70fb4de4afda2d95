// The thumbnail list as a user sees it: the four views and the trash rows painted on a folder of
// generated pictures, the sort orders, and records that move instead of being copied.
#include "core/FileTypes.h"
#include "piclist/DelObject.h"
#include "piclist/ListCellLayout.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "tests/piclist/PicListTestSupport.h"

#include <algorithm>

namespace {

struct Sample {
    const char* name;
    int width;
    int height;
    COLORREF color;
};

const Sample kSamples[] = {
    {"Rouge.bmp", 80, 60, RGB(220, 30, 30)},
    {"vert.bmp", 40, 90, RGB(30, 200, 60)},
    {"BLEU.BMP", 120, 40, RGB(30, 60, 220)},
    {"jaune.bmp", 30, 30, RGB(240, 220, 20)},
};

// The colour at the centre of a rectangle.
COLORREF Centre(const ListPixels& px, const RECT& rc)
{
    return px.At((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

CPicObject* NewRecord(const char* base, const char* ext, DWORD dateTime, LONG size)
{
    CPicObject* p = new CPicObject;
    p->m_strBaseName = base;
    p->m_strExt = ext;
    p->m_strFileName = CString(base) + "." + ext;
    p->m_dwDateTime = dateTime;
    p->m_lFileSize = size;
    return p;
}

} // namespace

class PicListViewTest : public PicListTest {
protected:
    void WriteSamples()
    {
        for (const Sample& s : kSamples)
            WriteBmp(s.name, s.width, s.height, s.color);
        static const char notJpeg[] = "\xFF\xD8\xFF\xE0 this is not a photograph";
        WriteBytes("Cass\xe9"
                   "e.jpg",
                   std::string(notJpeg, sizeof(notJpeg) - 1));
    }
    const Sample* SampleOf(CPicObject* pRecord)
    {
        for (const Sample& s : kSamples) {
            if (AfxAnsiCompareNoCase(pRecord->m_strFileName, s.name) == 0)
                return &s;
        }
        return nullptr;
    }
};

// Every view on the same folder: the thumbnail is painted where the view's geometry puts it, in the
// picture's own colour; the unreadable picture gets no thumbnail; labels take the selection colours.
TEST_F(PicListViewTest, EachViewPaintsThumbnailsWhereTheyBelong)
{
    WriteSamples();
    static const char* shots[] = {"list-view0-large", "list-view1-medium", "list-view2-small",
                                  "list-view3-list"};
    for (int view = 0; view <= 3; view++) {
        SCOPED_TRACE(view);
        CPicListBox* pList = MakeList(view);
        ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
        ASSERT_EQ(pList->GetCount(), 5);
        EXPECT_EQ(BuildAll(pList), 5);
        EXPECT_EQ(m_pHost->m_changes, view + 1);
        ListPixels px = Paint(pList, shots[view]);
        int checked = 0;
        for (int i = 0; i < pList->GetCount(); i++) {
            CPicObject* pRecord = pList->GetRecord(i);
            RECT cell;
            pList->GetItemRect(i, &cell);
            if (cell.right > px.width || cell.bottom > px.height)
                continue;
            BOOL selected = pList->GetSel(i) > 0;
            const Sample* s = SampleOf(pRecord);
            if (s == nullptr) {
                EXPECT_EQ(pRecord->m_nThumbState, -1) << pRecord->m_strFileName;
                continue;
            }
            ASSERT_EQ(pRecord->m_nThumbState, 1) << pRecord->m_strFileName;
            int w = pRecord->m_nThumbWidth;
            int h = pRecord->m_nThumbHeight;
            if (view == kViewLarge) {
                EXPECT_TRUE(
                    NearColor(Centre(px, LargeThumbRect(cell.left, cell.top, w, h, selected)), s->color))
                    << s->name;
                // Name label: light grey, or grey when selected in a list without the focus.
                COLORREF label =
                    px.At(cell.left + (selected ? 3 : 0) + 10, cell.top + (selected ? 3 : 0) + 8);
                EXPECT_TRUE(NearColor(label, selected ? RGB(128, 128, 128) : RGB(192, 192, 192), 0)
                            || label == RGB(0, 0, 0))
                    << s->name;
                checked++;
            } else if (view == kViewMedium) {
                EXPECT_TRUE(
                    NearColor(Centre(px, MediumThumbRect(cell.left, cell.top, w, h, selected)), s->color))
                    << s->name;
                checked++;
            } else if (view == kViewSmall) {
                RECT pic = SmallThumbRect(SmallPictureBox(cell), w, h);
                EXPECT_TRUE(NearColor(Centre(px, pic), s->color)) << s->name;
                EXPECT_EQ(px.At(cell.right - 2, cell.bottom - 2),
                          selected ? RGB(128, 128, 128) : RGB(255, 255, 255));
                checked++;
            } else {
                // The list shows the type icon and the name on the row colour, never the thumbnail.
                EXPECT_EQ(px.At(cell.right - 2, cell.top + 1),
                          selected ? RGB(128, 128, 128) : RGB(255, 255, 255));
                checked++;
            }
        }
        EXPECT_GE(checked, 3);
    }
}

// A selected large card draws its picture, name and info three pixels further right and down.
TEST_F(PicListViewTest, SelectedLargeCardIsPressed)
{
    WriteBmp("a.bmp", 84, 68, RGB(200, 0, 200));
    WriteBmp("b.bmp", 84, 68, RGB(200, 0, 200));
    CPicListBox* pList = MakeList(kViewLarge);
    pList->LoadFolder(m_temp.Path().c_str());
    BuildAll(pList);
    ASSERT_GT(pList->GetSel(0), 0);
    ASSERT_EQ(pList->GetSel(1), 0);
    ListPixels px = Paint(pList);
    RECT c0, c1;
    pList->GetItemRect(0, &c0);
    pList->GetItemRect(1, &c1);
    // The picture's top-left pixel: the unselected card has it at +9, +22, the selected at +12, +25.
    EXPECT_TRUE(NearColor(px.At(c1.left + 9, c1.top + 22), RGB(200, 0, 200)));
    EXPECT_FALSE(NearColor(px.At(c0.left + 9, c0.top + 22), RGB(200, 0, 200)));
    EXPECT_TRUE(NearColor(px.At(c0.left + 12, c0.top + 25), RGB(200, 0, 200)));
    // With the focus the selected label turns navy.
    ::SetFocus(pList->m_hWnd);
    EXPECT_TRUE(m_pHost->m_hasFocus);
    px = Paint(pList, "list-view0-focused");
    EXPECT_EQ(px.At(c0.left + 3 + 10, c0.top + 3 + 8), RGB(0, 0, 128));
    // The owner finds items by point.
    EXPECT_EQ(pList->HitTestItem(CPoint(c1.left + 50, c1.top + 50)), 1);
    EXPECT_EQ(pList->HitTestItem(CPoint(c1.left + 50, c1.bottom + 200)), -1);
    ::SetFocus(m_pHost->m_hWnd);
    EXPECT_FALSE(m_pHost->m_hasFocus);
}

// A caption shows the accent of a capital: "\xC9" darkens more of its label than "E".
TEST_F(PicListViewTest, CaptionsShowTheAccentsOfCapitals)
{
    WriteBmp("E.bmp", 20, 20, RGB(0, 0, 200));
    WriteBmp("\xC9.bmp", 20, 20, RGB(0, 0, 200));
    CPicListBox* pList = MakeList(kViewLarge);
    pList->LoadFolder(m_temp.Path().c_str());
    pList->SetSel(-1, FALSE);
    ListPixels px = Paint(pList, "list-view0-accents");
    int ink[2] = {0, 0};
    for (int i = 0; i < 2; i++) {
        RECT cell;
        pList->GetItemRect(i, &cell);
        const int accented = pList->GetRecord(i)->m_strBaseName == "E" ? 0 : 1;
        for (int y = cell.top + 6; y < cell.top + 18; y++)
            for (int x = cell.left + 8; x < cell.left + 94; x++)
                ink[accented] += GetRValue(px.At(x, y)) < 110 ? 1 : 0;
    }
    EXPECT_GT(ink[0], 0);
    EXPECT_GT(ink[1], ink[0]);
}

// Trash rows: newest deletion first whatever the sort key, with the icon of the item's kind.
TEST_F(PicListViewTest, TrashRowsNewestFirst)
{
    struct Item {
        int kind;
        int fromProtected;
        const char* rel;
        DWORD date;
        DWORD time;
    } items[] = {
        {kTrashPicture, 0, "Images\\Vacances\\plage.jpg", 0x2B21, 0x6000},
        {kTrashFolder, 0, "Images\\Anciennes", 0x2B25, 0x1000},
        {kTrashPicture, 1,
         "Images Prot\xe9g\xe9"
         "es\\secret.png",
         0x2B23, 0x0100},
        {kTrashFolder, 1,
         "Images Prot\xe9g\xe9"
         "es\\Priv\xe9",
         0x2B21, 0x7000},
    };
    int n = 1;
    for (const Item& item : items) {
        CDelObject del;
        del.m_nKind = item.kind;
        del.m_bFromProtected = item.fromProtected;
        char name[16];
        wsprintfA(name, "file%04X", n++);
        del.m_strTrashName = name;
        del.m_strRelPath = item.rel;
        del.m_dwDelDate = item.date;
        del.m_dwDelTime = item.time;
        ASSERT_TRUE(del.SaveDel((m_temp.Path() + "\\" + name + ".del").c_str()));
    }
    WriteBytes("file0009.del", "broken");
    CPicListBox* pList = MakeList(kViewLarge, TRUE, FALSE, 700, 120);
    pList->m_nSortKey = 0;
    pList->m_nSortOrder = 1;
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    ASSERT_EQ(pList->GetCount(), 4);
    EXPECT_EQ(m_pHost->m_changes, 0); // only a library bar is told of a trash fill
    std::vector<std::string> order;
    for (int i = 0; i < 4; i++)
        order.push_back(
            static_cast<LPCSTR>(static_cast<CDelObject*>(pList->GetItemDataPtr(i))->m_strRelPath));
    EXPECT_EQ(order[0], "Images\\Anciennes");
    EXPECT_EQ(order[1], "Images Prot\xe9g\xe9"
                        "es\\secret.png");
    EXPECT_EQ(order[2], "Images Prot\xe9g\xe9"
                        "es\\Priv\xe9");
    EXPECT_EQ(order[3], "Images\\Vacances\\plage.jpg");
    EXPECT_EQ(pList->GetItemHeight(0), 16);
    ListPixels px = Paint(pList, "list-trash-rows");
    // The row of an unselected item is white beyond its texts; the icons are not blank.
    RECT row;
    pList->GetItemRect(3, &row);
    EXPECT_EQ(px.At(row.right - 2, row.top + 8), RGB(255, 255, 255));
    int coloured = 0;
    for (int y = row.top; y < row.bottom; y++) {
        for (int x = row.left + 1; x < row.left + 17; x++)
            coloured += px.At(x, y) != RGB(255, 255, 255);
    }
    EXPECT_GT(coloured, 20);
}

TEST(PicListSort, TableOfKeysAndOrders)
{
    CPicObject a, b;
    struct Row {
        const char *baseA, *extA, *baseB, *extB;
        DWORD dateA, dateB;
        LONG sizeA, sizeB;
        int key, order, expected;
    } rows[] = {
        {"Photo", "jpg", "photo", "png", 1, 1, 1, 1, 0, 0, 0},           // same name, other case: equal
        {"Abricot", "jpg", "Banane", "jpg", 1, 1, 1, 1, 0, 0, -1},       // A before B
        {"Abricot", "jpg", "Banane", "jpg", 1, 1, 1, 1, 0, 1, 1},        // reversed
        {"b", "gif", "a", "jpg", 1, 1, 1, 1, 1, 0, -1},                  // type: gif before jpg
        {"b", "jpg", "a", "JPG", 1, 1, 1, 1, 1, 0, 1},                   // same type: by name
        {"x", "jpg", "y", "jpg", 0x2B210000, 0x2B220000, 1, 1, 2, 0, 1}, // date: newest first
        {"x", "jpg", "y", "jpg", 0x2B210000, 0x2B220000, 1, 1, 2, 1, -1},
        {"x", "jpg", "y", "jpg", 0xF0000000, 0x10000000, 1, 1, 2, 0, -1}, // dates compare unsigned
        {"x", "jpg", "y", "jpg", 1, 1, 5000, 20, 3, 0, -1},               // size: largest first
        {"x", "jpg", "y", "jpg", 1, 1, 5000, 20, 3, 1, 1},
        {"x", "jpg", "y", "jpg", 1, 1, 5000, 20, 7, 0, 0},        // unknown key
        {"\xc9t\xe9", "jpg", "Zoo", "jpg", 1, 1, 1, 1, 0, 0, -1}, // accented E before Z
        {"\xe9"
         "cole",
         "jpg",
         "\xc9"
         "COLE",
         "jpg", 1, 1, 1, 1, 0, 0, 0}, // accents fold with case
        {"\xe9"
         "cole",
         "jpg", "Ete", "jpg", 1, 1, 1, 1, 0, 0, -1}, // e-acute sorts with e
    };
    for (const Row& r : rows) {
        a.m_strBaseName = r.baseA;
        a.m_strExt = r.extA;
        a.m_dwDateTime = r.dateA;
        a.m_lFileSize = r.sizeA;
        b.m_strBaseName = r.baseB;
        b.m_strExt = r.extB;
        b.m_dwDateTime = r.dateB;
        b.m_lFileSize = r.sizeB;
        EXPECT_EQ(ComparePicRecords(&a, &b, r.key, r.order), r.expected)
            << r.baseA << "." << r.extA << " / " << r.baseB << "." << r.extB << " key " << r.key << " order "
            << r.order;
    }
}

// Re-sorting keeps the very same records (nothing is copied), orders them by the new key and selects
// item 0 alone; accented names take their French places.
TEST_F(PicListViewTest, ResortMovesRecordsAndSelectsFirst)
{
    CPicListBox* pList = MakeList(kViewMedium);
    std::vector<CObject*> records = {
        NewRecord("Zoo", "jpg", 0x2B210000, 300),
        NewRecord("\xe9"
                  "cole",
                  "png", 0x2B250000, 100),
        NewRecord("Eau", "gif", 0x2B230000, 900),
        NewRecord("\xc9t\xe9", "bmp", 0x2B220000, 50),
        NewRecord("abricot", "tif", 0x2B240000, 700),
    };
    pList->AddRecords(records);
    EXPECT_EQ(Names(pList), (std::vector<std::string>{"abricot", "Eau",
                                                      "\xe9"
                                                      "cole",
                                                      "\xc9t\xe9", "Zoo"}));
    pList->SetSel(2, TRUE);
    pList->SetSel(4, TRUE);
    struct {
        int key, order;
        std::vector<std::string> names;
    } cases[] = {
        {1,
         0,
         {"\xc9t\xe9", "Eau", "Zoo",
          "\xe9"
          "cole",
          "abricot"}},
        {2,
         0,
         {"\xe9"
          "cole",
          "abricot", "Eau", "\xc9t\xe9", "Zoo"}},
        {2,
         1,
         {"Zoo", "\xc9t\xe9", "Eau", "abricot",
          "\xe9"
          "cole"}},
        {3,
         0,
         {"Eau", "abricot", "Zoo",
          "\xe9"
          "cole",
          "\xc9t\xe9"}},
        {0,
         1,
         {"Zoo", "\xc9t\xe9",
          "\xe9"
          "cole",
          "Eau", "abricot"}},
    };
    for (auto& c : cases) {
        pList->m_nSortKey = c.key;
        pList->m_nSortOrder = c.order;
        pList->Resort();
        EXPECT_EQ(Names(pList), c.names) << "key " << c.key << " order " << c.order;
        EXPECT_EQ(pList->GetSelCount(), 1);
        EXPECT_GT(pList->GetSel(0), 0);
        std::vector<CObject*> now;
        for (int i = 0; i < pList->GetCount(); i++)
            now.push_back(static_cast<CObject*>(pList->GetItemDataPtr(i)));
        EXPECT_TRUE(std::is_permutation(now.begin(), now.end(), records.begin()));
    }
    // A record renamed in place takes its new sorted place and is selected.
    pList->m_nSortKey = 0;
    pList->m_nSortOrder = 0;
    pList->Resort();
    CPicObject* pZoo = pList->GetRecord(4);
    pZoo->m_strBaseName = "Aardvark";
    pList->ResortItem(4);
    EXPECT_EQ(pList->GetRecord(0), pZoo);
    EXPECT_GT(pList->GetSel(0), 0);
}

// Records given up for a view change go to the new list as they are.
TEST_F(PicListViewTest, ViewChangeMovesRecords)
{
    WriteBmp("a.bmp", 20, 20, RGB(10, 20, 30));
    WriteBmp("b.bmp", 20, 20, RGB(10, 20, 30));
    CPicListBox* pList = MakeList(kViewLarge);
    pList->LoadFolder(m_temp.Path().c_str());
    BuildAll(pList);
    CPicObject* first = pList->GetRecord(0);
    std::vector<CObject*> records;
    pList->TakeRecords(records);
    EXPECT_EQ(pList->GetCount(), 0);
    ASSERT_EQ(records.size(), 2u);
    pList = MakeList(kViewSmall);
    pList->AddRecords(records);
    EXPECT_EQ(pList->GetRecord(0), first);
    EXPECT_EQ(first->m_nThumbState, 1);
}

TEST(PicListLayout, GeometryOfCells)
{
    EXPECT_EQ(ListCellSize(kViewLarge, FALSE).cx, 109);
    EXPECT_EQ(ListCellSize(kViewMedium, FALSE).cy, 90);
    EXPECT_EQ(ListCellSize(kViewSmall, TRUE).cx, 150);
    EXPECT_EQ(ListCellSize(kViewSmall, TRUE).cy, 16);
    RECT r = LargeThumbRect(0, 0, 84, 68, FALSE);
    EXPECT_EQ(r.left, 9);
    EXPECT_EQ(r.top, 22);
    r = LargeThumbRect(0, 0, 84, 68, TRUE);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 25);
    r = MediumThumbRect(0, 0, 84, 42, FALSE); // wide: 67 x 33
    EXPECT_EQ(r.right - r.left, 67);
    EXPECT_EQ(r.bottom - r.top, 33);
    r = MediumThumbRect(0, 0, 34, 68, FALSE); // tall: 29 x 58
    EXPECT_EQ(r.right - r.left, 29);
    EXPECT_EQ(r.bottom - r.top, 58);
    r = MediumThumbRect(0, 0, 0, 68, FALSE); // a damaged record's zero width draws 1 x 1
    EXPECT_EQ(r.right - r.left, 1);
    RECT box = SmallPictureBox({0, 0, 150, 40});
    EXPECT_EQ(box.right - box.left, 46);
    EXPECT_EQ(box.bottom - box.top, 35);
    EXPECT_EQ(StripCellForType(kFileTypeJPEG, TRUE), 2);
    EXPECT_EQ(StripCellForType(kFileTypePSD, TRUE), kStripCellPicturePage);
    CPicObject p;
    p.m_strBaseName = "Photo";
    p.m_strExt = "jpg";
    p.m_strFileName = "Photo.JPG";
    EXPECT_STREQ(PicListNameLabel(&p, FALSE), "Photo.JPG");
    EXPECT_STREQ(PicListNameLabel(&p, TRUE), "Photo");
    p.m_strFileName = ".Photo";
    EXPECT_STREQ(PicListNameLabel(&p, FALSE), ".Photo");
}

namespace {

int g_liveRecords = 0;

class CCountedRecord : public CPicObject {
public:
    CCountedRecord() { g_liveRecords++; }
    ~CCountedRecord() override { g_liveRecords--; }
};

} // namespace

// The list owns its records: deleting an item, emptying the list and destroying its window (even
// through its parent) destroy each record once.
TEST_F(PicListViewTest, RecordsAreDestroyedWithTheirItems)
{
    CPicListBox* pList = MakeList(kViewList);
    std::vector<CObject*> records;
    for (int i = 0; i < 5; i++) {
        CCountedRecord* p = new CCountedRecord;
        p->m_strBaseName.Format("r%d", i);
        records.push_back(p);
    }
    pList->AddRecords(records);
    EXPECT_EQ(g_liveRecords, 5);
    pList->DeleteString(0);
    EXPECT_EQ(g_liveRecords, 4);
    pList->Resort();
    EXPECT_EQ(g_liveRecords, 4);
    pList->ResetContent();
    EXPECT_EQ(g_liveRecords, 0);
    records.resize(4);
    for (auto& p : records)
        p = new CCountedRecord;
    pList->AddRecords(records);
    EXPECT_EQ(g_liveRecords, 4);
    m_pHost->DestroyWindow();
    EXPECT_EQ(g_liveRecords, 0);
    delete m_pHost;
    m_pHost = nullptr;
    delete m_pList;
    m_pList = nullptr;
}
