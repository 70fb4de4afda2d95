// The thumbnail builder's order (selected pictures, then those on screen, then the rest) and its idle
// step, which builds as many pictures as its time slice allows.
#include "framework/Collections.h"
#include "piclist/PicListBox.h"
#include "piclist/PicObject.h"
#include "tests/piclist/PicListTestSupport.h"

#include <algorithm>
#include <vector>

namespace {

// The index of the one record whose thumbnail the last step built.
int BuiltNow(CPicListBox* pList, std::vector<int>& states)
{
    int built = -1;
    for (int i = 0; i < pList->GetCount(); i++) {
        const int state = pList->GetRecord(i)->m_nThumbState;
        if (state != states[static_cast<size_t>(i)]) {
            EXPECT_EQ(built, -1) << "one picture per step";
            built = i;
        }
        states[static_cast<size_t>(i)] = state;
    }
    return built;
}

std::vector<int> OnScreen(CPicListBox* pList)
{
    std::vector<int> shown;
    CRect client;
    pList->GetClientRect(&client);
    for (int i = 0; i < pList->GetCount(); i++) {
        CRect item, both;
        if (pList->GetItemRect(i, &item) != LB_ERR && both.IntersectRect(&item, &client))
            shown.push_back(i);
    }
    return shown;
}

} // namespace

// Scrolled into the middle of a folder with two pictures selected, one above and one below the window:
// the selected ones are built first, then every picture on screen, then the others in list order.
TEST_F(PicListTest, BuilderTakesSelectedThenOnScreenThenTheRest)
{
    const int kCount = 80;
    for (int i = 0; i < kCount; i++) {
        char name[16];
        wsprintfA(name, "p%03d.bmp", i);
        WriteBmp(name, 8, 8, RGB(i, 0, 0));
    }
    struct Case {
        int view;
        int top;
        std::vector<int> selected;
    };
    const Case cases[] = {{0, 40, {3, 70}}, {2, 24, {60}}, {3, 50, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        CPicListBox* pList = MakeList(c.view);
        ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
        pList->SelItemRange(FALSE, 0, kCount - 1);
        for (int i : c.selected)
            pList->SetSel(i, TRUE);
        pList->SetTopIndex(c.top);
        const std::vector<int> shown = OnScreen(pList);
        ASSERT_FALSE(shown.empty());
        ASSERT_GT(shown.front(), 0); // the list starts out of sight

        std::vector<int> expected = c.selected;
        for (int i : shown)
            if (std::find(expected.begin(), expected.end(), i) == expected.end())
                expected.push_back(i);
        for (int i = 0; i < kCount; i++)
            if (std::find(expected.begin(), expected.end(), i) == expected.end())
                expected.push_back(i);

        // The status panes' sums, asked between the steps as the ticks do, follow every thumbnail
        // made, on screen or not.
        std::vector<int> states(kCount, 0), order;
        while (pList->BuildNextThumbnail() == 1) {
            order.push_back(BuiltNow(pList, states));
            ASSERT_EQ(pList->GetTotals().missingThumbnails, kCount - static_cast<int>(order.size()));
        }
        EXPECT_EQ(order, expected);
    }
}

// One idle step builds pictures for as long as its slice lasts: a slice that has not run out when
// the last one is built has built them all, a spent slice stops after one; a list with nothing to
// build answers at once.
TEST_F(PicListTest, IdleStepBuildsWhatItsSliceAllows)
{
    const int kCount = 400;
    for (int i = 0; i < kCount; i++) {
        char name[16];
        wsprintfA(name, "s%03d.bmp", i);
        WriteBmp(name, 16, 12, RGB(0, i % 256, 0));
    }
    CPicListBox* pList = MakeList(1);
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    auto builtCount = [&] {
        int n = 0;
        for (int i = 0; i < kCount; i++)
            n += pList->GetRecord(i)->m_nThumbState == 1;
        return n;
    };
    // The pointer of the shared display may pass over the list: only the slice ends these steps.
    pList->m_bYieldToInput = FALSE;
    pList->m_nBuildSliceMs = 0;
    pList->BuildThumbnailsForSlice();
    EXPECT_EQ(builtCount(), 1);
    pList->m_nBuildSliceMs = 600000;
    pList->BuildThumbnailsForSlice();
    const int built = builtCount();
    EXPECT_EQ(built, kCount);

    pList->m_bBuildThumbnails = FALSE;
    EXPECT_EQ(pList->BuildThumbnailsForSlice(), 1);
    int after = 0;
    for (int i = 0; i < kCount; i++)
        after += pList->GetRecord(i)->m_nThumbState == 1;
    EXPECT_EQ(after, built);
}

// Pictures that come in above the builder's place (added to the folder, or a busy file back from its
// wait) still get their turn once everything after that place is built.
TEST_F(PicListTest, BuilderComesBackForPicturesAboveItsPlace)
{
    const int kCount = 80;
    for (int i = 0; i < kCount; i++) {
        char name[16];
        wsprintfA(name, "p%03d.bmp", i);
        WriteBmp(name, 8, 8, RGB(i, 0, 0));
    }
    CPicListBox* pList = MakeList(0);
    m_pHost->m_folder = (m_temp.Path() + "\\").c_str();
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    pList->SelItemRange(FALSE, 0, kCount - 1);
    pList->SetTopIndex(40);
    EXPECT_EQ(BuildAll(pList), kCount);

    CStringArray lines;
    for (const char* name : {"a0.bmp", "a1.bmp"}) {
        WriteBmp(name, 8, 8, RGB(0, 0, 255));
        lines.Add(CString("N") + name);
    }
    ASSERT_EQ(pList->AddFiles(&lines), 1);
    pList->SelItemRange(FALSE, 0, pList->GetCount() - 1);
    pList->SetTopIndex(40);
    ASSERT_EQ(Names(pList)[1], "a1");
    ASSERT_GT(OnScreen(pList).front(), 1); // neither is on screen nor selected
    EXPECT_EQ(BuildAll(pList), 2);
    EXPECT_EQ(pList->GetRecord(0)->m_nThumbState, 1);
    EXPECT_EQ(pList->GetRecord(1)->m_nThumbState, 1);
}
