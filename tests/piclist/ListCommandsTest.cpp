// The list commands the three list windows share: each window's sort and view commands reach the
// values its settings store, and a copy or move failure names the file its cause is about.
#include "framework/TestSeams.h"
#include "piclist/ListCommands.h"
#include "tests/piclist/PicListTestSupport.h"

#include <windows.h>

TEST_F(PicListTest, SortAndViewCommandsGiveTheStoredValues)
{
    struct Row {
        const ListChoiceIds* ids;
        UINT id;
        int key;   // -1: not a sort key command
        int order; // -1: not an order command
        int view;  // -1: not a view command
    };
    const ListChoiceIds& e = kExplorerChoiceIds;
    const ListChoiceIds& l = kLibraryChoiceIds;
    const Row rows[] = {
        {&e, e.sortByName, 0, -1, -1}, {&e, e.sortByType, 1, -1, -1}, {&e, e.sortByDate, 2, -1, -1},
        {&e, e.sortBySize, 3, -1, -1}, {&e, e.ascending, -1, 0, -1},  {&e, e.descending, -1, 1, -1},
        {&e, e.viewLarge, -1, -1, 0},  {&e, e.viewMedium, -1, -1, 1}, {&e, e.viewSmall, -1, -1, 2},
        {&e, e.viewList, -1, -1, 3},   {&l, l.sortByName, 0, -1, -1}, {&l, l.sortBySize, 3, -1, -1},
        {&l, l.descending, -1, 1, -1}, {&l, l.viewSmall, -1, -1, 2},  {&l, l.viewList, -1, -1, 3},
    };
    CPicListBox* pList = MakeList(kViewLarge);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(ViewOfCommand(*row.ids, row.id), row.view);
        EXPECT_EQ(IsSortOrderCommand(*row.ids, row.id) != FALSE, row.order >= 0);
        if (row.key >= 0) {
            pList->m_nSortKey = (row.key + 1) % 4;
            int setting = -1;
            EXPECT_TRUE(ApplySortKey(*pList, SortKeyOfCommand(*row.ids, row.id), &setting));
            EXPECT_EQ(pList->m_nSortKey, row.key);
            EXPECT_EQ(setting, row.key);
            // A choice already made changes neither the list nor the setting.
            setting = -1;
            EXPECT_FALSE(ApplySortKey(*pList, SortKeyOfCommand(*row.ids, row.id), &setting));
            EXPECT_EQ(setting, -1);
        }
        if (row.order >= 0) {
            pList->m_nSortOrder = 1 - row.order;
            int setting = -1;
            EXPECT_TRUE(ApplySortOrder(*pList, SortOrderOfCommand(*row.ids, row.id), &setting));
            EXPECT_EQ(pList->m_nSortOrder, row.order);
            EXPECT_EQ(setting, row.order);
        }
    }
}

// Each window names its own file (the explorer the source, the search window the target) when the
// failure is about it, else the file that failed: the cause said is always about the file named.
TEST_F(PicListTest, CopyFailureNamesTheFileItsCauseIsAbout)
{
    struct Row {
        ListTransferStyle style;
        bool sourceGone; // else the target's folder is gone
    };
    const Row rows[] = {
        {{FALSE, TRUE}, true}, {{TRUE, FALSE}, true}, {{FALSE, TRUE}, false}, {{TRUE, FALSE}, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.style.bFailureNamesTarget) + std::to_string(row.sourceGone));
        testpaths::TempDir source, target;
        const std::string picture = source.File("gone.bmp");
        CPicListBox* pList = MakeList(kViewList);
        AfxTestArm();
        std::string written = WriteBmp("gone.bmp", 8, 8, RGB(200, 0, 0));
        ASSERT_TRUE(::MoveFileA(written.c_str(), picture.c_str()));
        ASSERT_EQ(pList->LoadFolder(source.Path().c_str()), 1);
        pList->SetSel(0, TRUE);
        // The file or the folder leaves after the list was filled.
        ASSERT_TRUE(row.sourceGone ? ::DeleteFileA(picture.c_str())
                                   : ::RemoveDirectoryA(target.Path().c_str()));
        EXPECT_TRUE(TransferSelectedPictures(*pList, target.Path().c_str(), TRUE, row.style));
        ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 1u);
        EXPECT_EQ(AfxTestRecords().messageBoxes.back().text,
                  "Erreur lors de la copie du fichier "
                      + (row.sourceGone
                             ? picture + ". Le fichier est introuvable."
                             : target.File("gone.bmp") + ". Le chemin d'acc\xE8s est introuvable."));
        AfxTestReset();
    }
}
