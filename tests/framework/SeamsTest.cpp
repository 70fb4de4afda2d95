// The test seams of the common dialogs, pop-up menus and platform calls: scripted answers fill the
// structures as the real dialogs would, and nothing waits for a person while they are armed.
#include "tests/framework/WindowTestSupport.h"

#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/Menu.h"
#include "framework/TestSeams.h"
#include "tests/framework/WindowTestIds.h"
#include "tests/support/TestPaths.h"

#include <shlobj.h>

#include <cstring>

namespace {

const UINT ID_MENU_ON = 41001;
const UINT ID_MENU_OFF = 41002;

// An owner whose update handler greys one item and runs the other.
class CMenuOwner : public CWnd {
public:
    int m_nRan = 0;

protected:
    void OnOn() { m_nRan++; }
    void OnUpdateOff(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnOff() { m_nRan += 100; }
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL) { AfxUpdateMenuCmdUI(this, pPopupMenu, TRUE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwner, CWnd)
    ON_COMMAND(ID_MENU_ON, OnOn)
    ON_COMMAND(ID_MENU_OFF, OnOff)
    ON_UPDATE_COMMAND_UI(ID_MENU_OFF, OnUpdateOff)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

using Seams = WindowTest;

bool g_bHookRan = false;
bool g_bTemplateUsed = false;

// The caller's hook: notes what it sees and closes the real dialog at once.
UINT_PTR CALLBACK CancellingHook(HWND hDlg, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        g_bHookRan = true;
        g_bTemplateUsed = ::GetDlgItem(hDlg, IDC_TEST_HOOKLABEL) != nullptr;
        ::PostMessageA(::GetParent(hDlg), WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR lpszFile, LPCSTR, LPCSTR, INT)
{
    return reinterpret_cast<HINSTANCE>(lpszFile != nullptr && lpszFile[0] == 'h' ? 42 : 2);
}

int FakeDepth() { return 4; }

} // namespace

TEST_F(Seams, OpenDialogReturnsTheScriptedPathWithItsParts)
{
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, {true, "C:\\Images\\\xE9t\xE9.photo.jpg", 0});
    CFileDialog dlg(TRUE, "bmp", nullptr, OFN_HIDEREADONLY, "Images|*.jpg;*.bmp|Tous|*.*||");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.GetPathName(), "C:\\Images\\\xE9t\xE9.photo.jpg");
    EXPECT_STREQ(dlg.GetFileName(), "\xE9t\xE9.photo.jpg");
    EXPECT_STREQ(dlg.GetFileExt(), "jpg");
    EXPECT_STREQ(dlg.GetFileTitle(), "\xE9t\xE9.photo");
    EXPECT_TRUE(dlg.m_ofn.Flags & OFN_EXPLORER);
    // The filter reached the system's form: pairs of terminated strings, then an empty one.
    const char* p = dlg.m_ofn.lpstrFilter;
    EXPECT_STREQ(p, "Images");
    p += std::strlen(p) + 1;
    EXPECT_STREQ(p, "*.jpg;*.bmp");
    p += std::strlen(p) + 1;
    EXPECT_STREQ(p, "Tous");
    p += std::strlen(p) + 1;
    EXPECT_STREQ(p, "*.*");
    p += std::strlen(p) + 1;
    EXPECT_EQ(*p, '\0');
}

TEST_F(Seams, CancelledSaveDialogGivesCancelAndKeepsTheName)
{
    AfxScriptCommonDialog(AfxCommonDialogKind::Save, {false, "", 0});
    CFileDialog dlg(FALSE, "png", "image.png");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.GetPathName(), "image.png");
}

TEST_F(Seams, ScriptedPathLongerThanTheCallersBufferIsRefused)
{
    AfxScriptCommonDialog(AfxCommonDialogKind::Open, {true, std::string(300, 'a'), 0});
    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof(szFile);
    EXPECT_FALSE(AfxGetOpenFileName(&ofn));
}

TEST_F(Seams, ColourDialogReturnsTheScriptedColour)
{
    AfxScriptCommonDialog(AfxCommonDialogKind::Color, {true, "", RGB(1, 2, 3)});
    CColorDialog dlg(RGB(9, 9, 9));
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetColor(), RGB(1, 2, 3));
}

TEST_F(Seams, FolderPickerReturnsTheScriptedFolder)
{
    testpaths::TempDir dir;
    AfxScriptCommonDialog(AfxCommonDialogKind::Folder, {true, dir.Path(), 0});
    char szName[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.pszDisplayName = szName;
    LPITEMIDLIST pidl = AfxSHBrowseForFolder(&bi);
    ASSERT_NE(pidl, nullptr);
    char szPath[MAX_PATH] = "";
    EXPECT_TRUE(::SHGetPathFromIDListA(pidl, szPath));
    EXPECT_EQ(::lstrcmpiA(szPath, dir.Path().c_str()), 0);
    EXPECT_NE(szName[0], '\0');
    ::CoTaskMemFree(pidl);
}

TEST_F(Seams, UnscriptedCommonDialogIsCancelledAndReported)
{
    CFileDialog dlg(TRUE);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(AfxTestRecords().unexpected.size(), 1u);
    AfxTestRecords().unexpected.clear();
}

TEST_F(Seams, PopupMenuUpdatesItsItemsThenSendsTheScriptedCommand)
{
    CMenuOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "menu", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_MENU_ON, "Oui");
    menu.AppendMenu(MF_STRING, ID_MENU_OFF, "Non");
    AfxScriptPopupMenu(ID_MENU_ON);
    AfxScriptPopupMenu(ID_MENU_OFF);
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &owner));
    EXPECT_TRUE(menu.GetMenuState(ID_MENU_OFF, MF_BYCOMMAND) & MF_GRAYED);
    // A greyed item cannot be chosen.
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), 0);
    PumpPending();
    EXPECT_EQ(owner.m_nRan, 1);
    ASSERT_EQ(AfxTestRecords().popupMenus.size(), 2u);
    EXPECT_EQ(AfxTestRecords().popupMenus[0].firstItemId, ID_MENU_ON);
    owner.DestroyWindow();
}

TEST_F(Seams, PlatformCallsCanBeReplacedAndComeBack)
{
    AfxPlatform().pfnShellExecute = FakeShellExecute;
    AfxPlatform().pfnScreenBitsPerPixel = FakeDepth;
    EXPECT_EQ(reinterpret_cast<INT_PTR>(
                  AfxPlatform().pfnShellExecute(nullptr, "open", "http://x", nullptr, nullptr, 1)),
              42);
    EXPECT_EQ(AfxPlatform().pfnScreenBitsPerPixel(), 4);
    AfxResetPlatform();
    EXPECT_GE(AfxPlatform().pfnScreenBitsPerPixel(), 16);
}

TEST_F(Seams, DisarmedSeamsLetTheRealCallsThrough)
{
    AfxTestReset();
    EXPECT_FALSE(AfxTestArmed());
    int nAnswer = 0;
    EXPECT_FALSE(AfxTestTakeMessageBox("x", MB_OK, &nAnswer));
    AfxCommonDialogAnswer answer;
    EXPECT_FALSE(AfxTestTakeCommonDialog(AfxCommonDialogKind::Open, &answer));
}

TEST_F(Seams, RealFileDialogKeepsTheCallersHookAndTemplate)
{
    AfxTestReset(); // the real dialog
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "Tous|*.*||");
    dlg.m_ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    dlg.m_ofn.lpfnHook = CancellingHook;
    dlg.m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_TEST_FILEHOOK);
    dlg.m_ofn.hInstance = nullptr; // the framework fills in the resource module
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(g_bHookRan);
    EXPECT_TRUE(g_bTemplateUsed);
    EXPECT_EQ(dlg.m_ofn.lpfnHook, &CancellingHook);
}
