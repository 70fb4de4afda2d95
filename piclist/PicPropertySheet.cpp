#include "piclist/PicPropertySheet.h"

#include "framework/DataExchange.h"
#include "framework/Dc.h"
#include "resources/library-cmds-ids.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CPicPropImage, CPropertyPage)
IMPLEMENT_DYNCREATE(CPicPropSelection, CPropertyPage)
IMPLEMENT_DYNCREATE(CPicPropIdentite, CPropertyPage)
IMPLEMENT_DYNCREATE(CPicPropCommentaire, CPropertyPage)
IMPLEMENT_DYNCREATE(CPicPropApercu, CPropertyPage)
IMPLEMENT_DYNAMIC(CPicPropertySheet, CPropertySheet)

namespace {
int s_nRememberedPage = 0;

void SetEditReadOnly(CWnd* pPage, int id)
{
    ::SendDlgItemMessageA(pPage->GetSafeHwnd(), id, EM_SETREADONLY, TRUE, 0);
}

// A read-only edit is painted in the colour of read-only fields: the page's own background (white
// on a themed tab) would make it look editable. Null for every other control.
HBRUSH ReadOnlyEditBrush(CDC* pDC, CWnd* pWnd)
{
    HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    char cls[8] = "";
    if (hWnd == nullptr || !::GetClassNameA(hWnd, cls, sizeof(cls)) || lstrcmpiA(cls, "Edit") != 0
        || !(::GetWindowLongA(hWnd, GWL_STYLE) & ES_READONLY))
        return nullptr;
    pDC->SetBkColor(::GetSysColor(COLOR_3DFACE));
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    return ::GetSysColorBrush(COLOR_3DFACE);
}
} // namespace

BEGIN_MESSAGE_MAP(CPicPropIdentite, CPropertyPage)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CPicPropCommentaire, CPropertyPage)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPicPropImage::CPicPropImage() : CPropertyPage(IDD_PICPROP_IMAGE) {}

void CPicPropImage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PICPROP_DIMENSIONS, m_strDimensions);
    DDX_Text(pDX, IDC_PICPROP_DEPTH, m_strDepth);
    DDX_Text(pDX, IDC_PICPROP_FOLDER, m_strFolder);
    DDX_Text(pDX, IDC_PICPROP_FORMAT, m_strFormat);
    DDX_Text(pDX, IDC_PICPROP_MEMORY, m_strMemory);
    DDX_Text(pDX, IDC_PICPROP_FILE_NAME, m_strFileName);
    DDX_Text(pDX, IDC_PICPROP_FILE_SIZE, m_strFileSize);
    DDX_Text(pDX, IDC_PICPROP_MODIFIED, m_strModified);
}

CPicPropSelection::CPicPropSelection() : CPropertyPage(IDD_PICPROP_SELECTION) {}

void CPicPropSelection::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PICPROP_COUNT, m_strCount);
    DDX_Text(pDX, IDC_PICPROP_TOTAL_SIZE, m_strTotalSize);
}

CPicPropIdentite::CPicPropIdentite() : CPropertyPage(IDD_PICPROP_IDENTITY) {}

void CPicPropIdentite::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PICPROP_AUTHOR, m_strAuthor);
    DDX_Text(pDX, IDC_PICPROP_KEYWORDS, m_strKeywords);
    DDX_NameText(pDX, IDC_PICPROP_NAME, m_strName);
}

HBRUSH CPicPropIdentite::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = ReadOnlyEditBrush(pDC, pWnd);
    return brush != nullptr ? brush : CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL CPicPropIdentite::OnInitDialog()
{
    BOOL result = CPropertyPage::OnInitDialog();
    if (m_bNameReadOnly || m_bAllReadOnly)
        SetEditReadOnly(this, IDC_PICPROP_NAME);
    if (m_bAllReadOnly) {
        SetEditReadOnly(this, IDC_PICPROP_AUTHOR);
        SetEditReadOnly(this, IDC_PICPROP_KEYWORDS);
    }
    return result;
}

CPicPropCommentaire::CPicPropCommentaire() : CPropertyPage(IDD_PICPROP_COMMENT) {}

void CPicPropCommentaire::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PICPROP_COMMENT, m_strComment);
}

HBRUSH CPicPropCommentaire::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = ReadOnlyEditBrush(pDC, pWnd);
    return brush != nullptr ? brush : CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL CPicPropCommentaire::OnInitDialog()
{
    BOOL result = CPropertyPage::OnInitDialog();
    if (m_bReadOnly)
        SetEditReadOnly(this, IDC_PICPROP_COMMENT);
    return result;
}

CPicPropApercu::CPicPropApercu() : CPropertyPage(IDD_PICPROP_PREVIEW) {}

void CPicPropApercu::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICTURE_PREVIEW, m_preview);
}

int CPicPropertySheet::GetRememberedPage() { return s_nRememberedPage; }
void CPicPropertySheet::SetRememberedPage(int nPage) { s_nRememberedPage = nPage; }

CPicPropertySheet::CPicPropertySheet(int nMode, CWnd* pParentWnd)
    : CPropertySheet(nMode == kPicPropOne ? IDS_PICTURE_PROPERTIES : IDS_SELECTION_PROPERTIES, pParentWnd)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    if (nMode == kPicPropOne) {
        AddPage(&m_pageImage);
        AddPage(&m_pageIdentite);
        AddPage(&m_pageCommentaire);
        AddPage(&m_pageApercu);
    } else if (nMode == kPicPropSeveral) {
        AddPage(&m_pageSelection);
        AddPage(&m_pageIdentite);
        AddPage(&m_pageCommentaire);
        // Positions 1 and 2 are the same pages in both modes; the preview page has no match here.
        if (s_nRememberedPage >= 3)
            s_nRememberedPage = 2;
    } else {
        AddPage(&m_pageSelection);
        s_nRememberedPage = 0;
    }
    if (s_nRememberedPage < 0 || s_nRememberedPage >= GetPageCount())
        s_nRememberedPage = 0;
    SetActivePage(s_nRememberedPage);
}

CPicPropertySheet::~CPicPropertySheet() = default;

INT_PTR CPicPropertySheet::DoModal()
{
    m_nPageAtOK = -1;
    INT_PTR result = CPropertySheet::DoModal();
    if (result == IDOK && m_nPageAtOK >= 0)
        s_nRememberedPage = m_nPageAtOK;
    return result;
}

BOOL CPicPropertySheet::OnInitDialog()
{
    BOOL result = CPropertySheet::OnInitDialog();
    if (m_bShowOnly) {
        HWND hOK = ::GetDlgItem(m_hWnd, IDOK);
        ::EnableWindow(hOK, FALSE);
        ::ShowWindow(hOK, SW_HIDE);
        CString close;
        close.LoadString(IDS_PROPERTIES_CLOSE);
        ::SetDlgItemTextA(m_hWnd, IDCANCEL, close);
        ::SendMessageA(m_hWnd, DM_SETDEFID, IDCANCEL, 0);
    }
    return result;
}

BOOL CPicPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A sheet that only shows has no OK, whatever sends it.
    if (m_bShowOnly && LOWORD(wParam) == IDOK)
        return TRUE;
    if (LOWORD(wParam) == IDOK)
        m_nPageAtOK = GetActiveIndex();
    return CPropertySheet::OnCommand(wParam, lParam);
}
