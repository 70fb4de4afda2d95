#include "piclist/ReplaceConfirm.h"

#include "core/SystemUtil.h"
#include "core/TextFormat.h"
#include "framework/DataExchange.h"
#include "piclist/FittedText.h"
#include "piclist/PicObject.h"
#include "piclist/SafeFileOps.h"
#include "resources/library-store-ids.h"

#include <vector>

int g_nReplaceAnswer = 0;
BOOL g_bReplaceCancelled = FALSE;

namespace {

// The file that really clashes with existing: itself, or else the first file of its base name in
// its folder (any extension).
CString ClashingFile(const CString& existing)
{
    if (PathExists(existing))
        return existing;
    int slash = existing.ReverseFind('\\');
    int dot = existing.ReverseFind('.');
    if (dot <= slash)
        return existing;
    std::vector<CString> files = ListMatchingFiles(existing.Left(dot) + ".*");
    // The picture rather than its record file.
    for (const CString& file : files) {
        if (!IsRecordFile(file))
            return file;
    }
    return files.empty() ? existing : files.front();
}

// What the batch answers without asking: 1 or 0, or -1 to ask.
int AnswerWithoutAsking()
{
    if (g_nReplaceAnswer == kReplaceNoToAll)
        return 0;
    if (g_nReplaceAnswer == kReplaceYesToAll)
        return 1;
    return -1;
}

int TakeAnswer(INT_PTR result, const CString& newPath, const CString& existing)
{
    g_nReplaceAnswer = static_cast<int>(result);
    switch (result) {
    case IDNO:
    case kReplaceNoToAll:
        return 0;
    case IDYES:
    case kReplaceYesToAll:
        return 1;
    case kReplaceIfNewer:
        return IsFileNewer(newPath, existing);
    default:
        g_bReplaceCancelled = TRUE;
        return 0;
    }
}

} // namespace

void BeginReplaceBatch()
{
    g_nReplaceAnswer = 0;
    g_bReplaceCancelled = FALSE;
}

int IsFileNewer(const CString& a, const CString& b)
{
    WORD dateA = 0, timeA = 0, dateB = 0, timeB = 0;
    if (!PathExists(a))
        return 0;
    GetFileDosDateTime(a, &dateA, &timeA);
    GetFileDosDateTime(b, &dateB, &timeB);
    const DWORD stampA = (DWORD(dateA) << 16) | timeA, stampB = (DWORD(dateB) << 16) | timeB;
    return stampA > stampB ? 1 : 0;
}

int ConfirmFileReplace(const CString& newPath, const CString& existingPath)
{
    g_bReplaceCancelled = FALSE;
    int known = AnswerWithoutAsking();
    if (known >= 0)
        return known;
    const CString existing = ClashingFile(existingPath);
    CFileReplaceDlg dlg;
    CString folder, name;
    SplitPath(existing, &folder, &name);
    dlg.m_strExistingFolder = folder;
    dlg.m_strExistingName = name;
    GetFileSizeAndDateText(existing, &dlg.m_strExistingSize, &dlg.m_strExistingDate);
    GetFileSizeAndDateText(newPath, &dlg.m_strNewSize, &dlg.m_strNewDate);
    dlg.m_hExistingIcon = GetFileTypeIcon(name);
    dlg.m_hNewIcon = dlg.m_hExistingIcon ? CopyIcon(dlg.m_hExistingIcon) : nullptr;
    return TakeAnswer(dlg.DoModal(), newPath, existing);
}

int ConfirmFolderReplace(const CString& newPath, const CString& existingPath)
{
    g_bReplaceCancelled = FALSE;
    int known = AnswerWithoutAsking();
    if (known >= 0)
        return known;
    CFolderReplaceDlg dlg;
    CString path = existingPath;
    while (path.GetLength() > 3 && path.Right(1) == "\\")
        path = path.Left(path.GetLength() - 1);
    CString folder, name;
    SplitPath(path, &folder, &name);
    dlg.m_strExistingFolder = folder;
    dlg.m_strExistingName = name;
    CString unusedSize;
    GetFileSizeAndDateText(path, &unusedSize, &dlg.m_strExistingDate);
    GetFileSizeAndDateText(newPath, &unusedSize, &dlg.m_strNewDate);
    return TakeAnswer(dlg.DoModal(), newPath, path);
}

// ---- CFileReplaceDlg ----

IMPLEMENT_DYNAMIC(CFileReplaceDlg, CDialog)

BEGIN_MESSAGE_MAP(CFileReplaceDlg, CDialog)
    ON_WM_DRAWITEM()
    ON_COMMAND_RANGE(IDYES, IDNO, OnAnswer)
    ON_COMMAND_RANGE(kReplaceIfNewer, kReplaceNoToAll, OnAnswer)
END_MESSAGE_MAP()

CFileReplaceDlg::CFileReplaceDlg(CWnd* pParentWnd) : CDialog(IDD_FILE_REPLACE, pParentWnd) {}

CFileReplaceDlg::~CFileReplaceDlg()
{
    if (m_hExistingIcon)
        DestroyIcon(m_hExistingIcon);
    if (m_hNewIcon)
        DestroyIcon(m_hNewIcon);
}

void CFileReplaceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        FillFittedTemplateText(m_hWnd, IDC_REPLACE_TEXT, {&m_strExistingFolder, &m_strExistingName});
        FillTemplateText(m_hWnd, IDC_REPLACE_EXISTING_TEXT, {&m_strExistingSize, &m_strExistingDate});
        FillTemplateText(m_hWnd, IDC_REPLACE_NEW_TEXT, {&m_strNewSize, &m_strNewDate});
    }
}

BOOL CFileReplaceDlg::OnInitDialog() { return CDialog::OnInitDialog(); }

void CFileReplaceDlg::OnAnswer(UINT nID) { EndDialog(static_cast<int>(nID)); }

void CFileReplaceDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    HICON icon = nIDCtl == IDC_REPLACE_EXISTING_ICON ? m_hExistingIcon
                 : nIDCtl == IDC_REPLACE_NEW_ICON    ? m_hNewIcon
                                                     : nullptr;
    if (!icon || !lpDrawItemStruct) {
        Default();
        return;
    }
    const RECT& r = lpDrawItemStruct->rcItem;
    FillRect(lpDrawItemStruct->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawIconEx(lpDrawItemStruct->hDC, r.left, r.top, icon, r.right - r.left, r.bottom - r.top, 0, nullptr,
               DI_NORMAL);
}

// ---- CFolderReplaceDlg ----

IMPLEMENT_DYNAMIC(CFolderReplaceDlg, CDialog)

BEGIN_MESSAGE_MAP(CFolderReplaceDlg, CDialog)
    ON_COMMAND_RANGE(IDYES, IDNO, OnAnswer)
    ON_COMMAND_RANGE(kReplaceIfNewer, kReplaceNoToAll, OnAnswer)
END_MESSAGE_MAP()

CFolderReplaceDlg::CFolderReplaceDlg(CWnd* pParentWnd) : CDialog(IDD_FOLDER_REPLACE, pParentWnd) {}

void CFolderReplaceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        FillFittedTemplateText(m_hWnd, IDC_REPLACE_TEXT, {&m_strExistingFolder, &m_strExistingName});
        FillTemplateText(m_hWnd, IDC_REPLACE_EXISTING_TEXT, {&m_strExistingDate});
        FillTemplateText(m_hWnd, IDC_REPLACE_NEW_TEXT, {&m_strNewDate});
    }
}

BOOL CFolderReplaceDlg::OnInitDialog() { return CDialog::OnInitDialog(); }

void CFolderReplaceDlg::OnAnswer(UINT nID) { EndDialog(static_cast<int>(nID)); }
