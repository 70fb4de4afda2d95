// The list commands any library window shares: all / none / inverse, selection by pattern with and
// without replacing, the clipboard copy of a true-colour and of a palette picture, the external
// editor receiving the picture's name as one argument, and the export folder browser, which refuses
// a folder the code page cannot spell.
#include "tests/piclist/PicListTestSupport.h"

#include "core/PackedDib.h"
#include "core/BmpFile.h"
#include "framework/TestSeams.h"
#include "piclist/LibraryListCommands.h"

#include <string>
#include <vector>

namespace {

std::vector<int> Selected(CPicListBox* pList)
{
    std::vector<int> out;
    int count = static_cast<int>(::SendMessageA(pList->m_hWnd, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; i++)
        if (::SendMessageA(pList->m_hWnd, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            out.push_back(i);
    return out;
}

struct ShellCall {
    std::string file, params, folder;
};
ShellCall g_shell;
INT_PTR g_shellResult = 42;

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR params, LPCSTR folder, INT)
{
    g_shell = {file ? file : "", params ? params : "", folder ? folder : ""};
    return reinterpret_cast<HINSTANCE>(g_shellResult);
}

} // namespace

TEST_F(PicListTest, SelectionCommandsAndPatterns)
{
    WriteBmp("alpes.bmp", 8, 8, RGB(10, 200, 10));
    WriteBmp("bretagne.bmp", 8, 8, RGB(10, 10, 200));
    WriteBmp("Corse.png", 8, 8, RGB(200, 10, 10));
    WriteBmp("dunes.bmp", 8, 8, RGB(200, 200, 10));
    CPicListBox* pList = MakeList(3);
    ASSERT_EQ(pList->LoadFolder(m_temp.Path().c_str()), 1);
    ASSERT_EQ(Names(pList), (std::vector<std::string>{"alpes", "bretagne", "Corse", "dunes"}));

    EXPECT_TRUE(ChangeListSelection(*pList, kListSelectAll));
    EXPECT_EQ(Selected(pList), (std::vector<int>{0, 1, 2, 3}));
    ::SendMessageA(pList->m_hWnd, LB_SETSEL, FALSE, 1);
    EXPECT_TRUE(ChangeListSelection(*pList, kListInvertSelection));
    EXPECT_EQ(Selected(pList), (std::vector<int>{1}));

    // Replacing: only the PNG, case folded, and the caret on it.
    EXPECT_EQ(ApplyPatternToList(*pList, "*.PNG", TRUE, TRUE), 2);
    EXPECT_EQ(Selected(pList), (std::vector<int>{2}));
    EXPECT_EQ(::SendMessageA(pList->m_hWnd, LB_GETCARETINDEX, 0, 0), 2);
    // Adding to the selection, then taking some out.
    EXPECT_EQ(ApplyPatternToList(*pList, "?u*", TRUE, FALSE), 3);
    EXPECT_EQ(Selected(pList), (std::vector<int>{2, 3}));
    EXPECT_EQ(ApplyPatternToList(*pList, "c*", FALSE, FALSE), 2);
    EXPECT_EQ(Selected(pList), (std::vector<int>{3}));
    EXPECT_EQ(ApplyPatternToList(*pList, "*.gif", TRUE, FALSE), -1);
    EXPECT_EQ(Selected(pList), (std::vector<int>{3}));
    EXPECT_TRUE(ChangeListSelection(*pList, kListDeselectAll));
    EXPECT_TRUE(Selected(pList).empty());

    CPicListBox* pEmpty = MakeList(3);
    EXPECT_FALSE(ChangeListSelection(*pEmpty, kListSelectAll));
}

TEST_F(PicListTest, ClipboardEditorAndExportFolder)
{
    std::string truecolour = WriteBmp("vrai.bmp", 8, 8, RGB(10, 200, 10));
    ASSERT_TRUE(m_pHost != nullptr || MakeList(0) != nullptr);
    HWND hOwner = m_pHost->m_hWnd;
    ASSERT_TRUE(CopyPictureToClipboard(hOwner, truecolour.c_str()));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_PALETTE));

    // An 8-bit picture brings its palette along.
    PackedDIB hDIB = CreateDIB(8, 8, 8);
    ASSERT_TRUE(hDIB != nullptr);
    std::string palette = m_temp.Path() + "\\palette.bmp";
    ASSERT_EQ(SaveDIBFile(hDIB, palette.c_str()), kSaveDIBOk);
    GlobalFreeHandle(hDIB);
    ASSERT_TRUE(CopyPictureToClipboard(hOwner, palette.c_str()));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_PALETTE));
    // Something unreadable changes nothing.
    std::string broken = WriteBytes("casse.bmp", "BMnot a picture");
    EXPECT_FALSE(CopyPictureToClipboard(hOwner, broken.c_str()));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_PALETTE));

    AfxTestArm();
    AfxPlatform().pfnShellExecute = FakeShellExecute;
    g_shellResult = 42;
    std::string spaced = m_temp.Path() + "\\Vue du port.jpg";
    EXPECT_TRUE(OpenInExternalEditor(hOwner, "C:\\Outils\\editeur.exe", spaced.c_str()));
    EXPECT_EQ(g_shell.file, "C:\\Outils\\editeur.exe");
    EXPECT_EQ(g_shell.params, "\"Vue du port.jpg\"");
    EXPECT_EQ(g_shell.folder, m_temp.Path());
    g_shellResult = 2;
    AfxScriptMessageBox(IDOK);
    EXPECT_FALSE(OpenInExternalEditor(hOwner, "C:\\absent.exe", spaced.c_str()));
    EXPECT_EQ(AfxTestRecords().messageBoxes.size(), 1u);

    CString current;
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, m_temp.Path(), 0});
    EXPECT_STREQ(BrowseExportFolder(hOwner, &current), m_temp.Path().c_str());
    EXPECT_STREQ(current, m_temp.Path().c_str());
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {false, "", 0});
    EXPECT_STREQ(BrowseExportFolder(hOwner, &current), "");
    EXPECT_STREQ(current, m_temp.Path().c_str());
    // A folder whose name the code page cannot spell is refused, in the file dialogs' words.
    AfxCommonDialogAnswer unspelled;
    unspelled.ok = true;
    unspelled.widePath = testpaths::Wide(m_temp.Path())
                         + L"\\\x0141\xF3"
                           L"d\x017A";
    ASSERT_TRUE(::CreateDirectoryW(unspelled.widePath.c_str(), nullptr));
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, unspelled);
    AfxScriptMessageBox(IDOK);
    EXPECT_STREQ(BrowseExportFolder(hOwner, &current), "");
    EXPECT_STREQ(current, m_temp.Path().c_str());
    ASSERT_EQ(AfxTestRecords().messageBoxes.size(), 2u);
    // It is named, its missing letters as question marks.
    EXPECT_NE(AfxTestRecords().messageBoxes[1].text.find("Le nom du dossier '" + m_temp.Path()
                                                         + "\\?\xF3"
                                                           "d?' contient"),
              std::string::npos)
        << AfxTestRecords().messageBoxes[1].text;
    AfxTestReset();
}
