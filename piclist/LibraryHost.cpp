#include "piclist/LibraryHost.h"

#include "resources/library-cmds-ids.h"
#include "shell/MainFrameHost.h"
#include "shell/Settings.h"
#include "shell/SharedUi.h"

CString LibraryRoot()
{
    CString root = g_strLibraryRoot;
    if (!root.IsEmpty() && root.Right(1) != "\\")
        root += "\\";
    return root;
}

CString RelativeToRoot(const CString& path)
{
    const CString root = LibraryRoot();
    if (!root.IsEmpty() && path.GetLength() >= root.GetLength()
        && path.Left(root.GetLength()).CompareNoCase(root) == 0)
        return path.Mid(root.GetLength());
    return path;
}

CPalette* LibraryPalette() { return g_pAppPalette; }

int GetShowDeleteNotice() { return g_ShowInfoSuppress; }

void SetShowDeleteNotice(int value) { g_ShowInfoSuppress = value; }

void TellTextsNotKept(const CString& name)
{
    if (g_pMainFrameHost == nullptr)
        return;
    CString text;
    AfxFormatString1(text, IDS_TEXTS_NOT_KEPT, name);
    g_pMainFrameHost->SetStatusText0(text);
}
