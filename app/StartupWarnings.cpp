#include "app/StartupWarnings.h"

#include "app/FileAssoc.h"
#include "shell/LoadErrorDlg.h"
#include "shell/Settings.h"
#include "app/SplashWnd.h"
#include "app/TessarineApp.h"
#include "core/BusyCursor.h"
#include "core/FileUtil.h"
#include "core/ReaderOptions.h"
#include "core/SystemUtil.h"
#include "core/TextFormat.h"
#include "core/WindowUtil.h"
#include "formats/QuickTime.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

#include <string>

IMPLEMENT_DYNAMIC(CComponentsWarnDlg, CDialog)
IMPLEMENT_DYNAMIC(CVga16WarnDlg, CDialog)
IMPLEMENT_DYNAMIC(CColorDepthWarnDlg, CDialog)
IMPLEMENT_DYNAMIC(CAssocWarnDlg, CDialog)

namespace {

void SetItemFont(HWND hDlg, int id, CFont& font)
{
    HWND h = ::GetDlgItem(hDlg, id);
    if (h != nullptr && font.GetSafeHandle() != nullptr)
        ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
}

void EnableItem(HWND hDlg, int id, BOOL bEnable)
{
    HWND h = ::GetDlgItem(hDlg, id);
    if (h != nullptr)
        ::EnableWindow(h, bEnable);
}

// A dialog picture, loaded with the gauge off; 0 when the resource is missing.
PackedDIB LoadDialogPicture(LPCSTR name)
{
    CReaderOptionsScope quiet(CurrentReaderOptions().WithProgress(FALSE));
    return LoadDIBResource(AfxGetResourceHandle(), name);
}

void FreePicture(PackedDIB hDIB)
{
    if (hDIB != nullptr)
        GlobalFreeHandle(hDIB);
}

// The first "%s" of a control's text replaced by the value (the value is never read as a format).
void FillPlaceholder(HWND hDlg, int id, LPCSTR value)
{
    char text[257] = "";
    ::GetDlgItemTextA(hDlg, id, text, sizeof(text));
    std::string line = text;
    std::string::size_type at = line.find("%s");
    if (at != std::string::npos)
        line.replace(at, 2, value);
    ::SetDlgItemTextA(hDlg, id, line.c_str());
}

} // namespace

// ---- missing components ----

BEGIN_MESSAGE_MAP(CComponentsWarnDlg, CDialog)
    ON_BN_CLICKED(IDC_COMP_INSTALL, OnInstallComCtl)
END_MESSAGE_MAP()

CComponentsWarnDlg::CComponentsWarnDlg(CWnd* pParentWnd) : CDialog(IDD_COMPONENTS_WARNING, pParentWnd) {}

void CComponentsWarnDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_WARN_DONT_SHOW, m_bDontShow);
}

BOOL CComponentsWarnDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_btnPicture.AutoLoad(IDC_COMP_PICTURE, this);
    SetItemFont(m_hWnd, IDC_WARN_TITLE, g_fontArial16Bold);
    SetItemFont(m_hWnd, IDC_COMP_QT_LINE, g_fontSmallBold);
    SetItemFont(m_hWnd, IDC_COMP_COMCTL_LINE, g_fontSmallBold);
    // A component that is present is greyed out; the arrow points at each one that is missing.
    if (IsQuickTimeAvailable()) {
        EnableItem(m_hWnd, IDC_COMP_QT_LINE, FALSE);
        EnableItem(m_hWnd, IDC_COMP_QT_TEXT, FALSE);
    } else {
        m_btnQuickTimeArrow.AutoLoad(IDC_COMP_QT_ARROW, this);
    }
    if (IsComCtl32AtLeast472()) {
        EnableItem(m_hWnd, IDC_COMP_COMCTL_LINE, FALSE);
        EnableItem(m_hWnd, IDC_COMP_COMCTL_TEXT, FALSE);
        EnableItem(m_hWnd, IDC_COMP_INSTALL, FALSE);
    } else {
        m_btnComCtlArrow.AutoLoad(IDC_COMP_COMCTL_ARROW, this);
    }
    CenterWindowOnScreen(m_hWnd);
    return TRUE;
}

void CComponentsWarnDlg::OnInstallComCtl()
{
    SetAppCursor(0);
    std::string command = std::string("\"") + static_cast<LPCSTR>(g_szModuleDir) + "40comupd.exe\" /r:n /q:a";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    DWORD exitCode = 1;
    std::string mutableCommand = command;
    if (::CreateProcessA(nullptr, &mutableCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                         &pi)) {
        ::WaitForSingleObject(pi.hProcess, INFINITE);
        ::GetExitCodeProcess(pi.hProcess, &exitCode);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    RestoreAppCursor();
    // Success is said only when the installer ran and reported it.
    if (exitCode == 0)
        AfxMessageBox(IDS_COMCTL_INSTALLED, MB_ICONINFORMATION);
    else
        AfxMessageBox(IDS_COMCTL_INSTALL_FAILED, MB_ICONEXCLAMATION);
}

void CheckComponents()
{
    if (!g_ShowWarnComponents)
        return;
    if (IsQuickTimeAvailable() && IsComCtl32AtLeast472())
        return;
    TakeSplashDown();
    CComponentsWarnDlg dlg;
    dlg.DoModal();
    g_ShowWarnComponents = !dlg.m_bDontShow;
}

// ---- 16-colour display ----

CVga16WarnDlg::CVga16WarnDlg(CWnd* pParentWnd) : CDialog(IDD_VGA16_WARNING, pParentWnd) {}

void CVga16WarnDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_WARN_DONT_SHOW, m_bDontShow);
    DDX_Control(pDX, IDC_WARN_PICTURE, m_btnPicture);
}

BOOL CVga16WarnDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemFont(m_hWnd, IDC_WARN_TITLE, g_fontArial14Bold);
    SetItemFont(m_hWnd, IDC_WARN_SUBTITLE, g_fontSmallBold);
    CenterWindow();
    return TRUE;
}

void CheckVga16()
{
    if (!g_ShowWarnColor16 || GetScreenBitsPerPixel() >= 5)
        return;
    TakeSplashDown();
    CVga16WarnDlg dlg;
    PackedDIB hPicture = LoadDialogPicture("WARNCOLOR16");
    dlg.m_btnPicture.m_hDIB = hPicture;
    dlg.DoModal();
    dlg.m_btnPicture.m_hDIB = nullptr;
    FreePicture(hPicture);
    g_ShowWarnColor16 = !dlg.m_bDontShow;
}

// ---- colour depth ----

CColorDepthWarnDlg::CColorDepthWarnDlg(CWnd* pParentWnd) : CDialog(IDD_COLOR_DEPTH_WARNING, pParentWnd) {}

void CColorDepthWarnDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_WARN_DONT_SHOW, m_bAlwaysShow);
    DDX_Control(pDX, IDC_WARN_PICTURE, m_btnPicture);
    DDX_Control(pDX, IDC_PICTURE_LOGO, m_btnLogo);
}

BOOL CColorDepthWarnDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemFont(m_hWnd, IDC_WARN_TITLE, g_fontArial16Bold);
    SetItemFont(m_hWnd, IDC_DEPTH_ADVICE, g_fontSmallBold);
    // Two inserts in one text: the first "%s" is the picture's depth, the second the screen's.
    FillPlaceholder(m_hWnd, IDC_DEPTH_TEXT, GetColorDepthName(m_nPictureBits));
    FillPlaceholder(m_hWnd, IDC_DEPTH_TEXT, GetColorDepthName(m_nScreenBits));
    CString recommended;
    if (m_nPictureBits == 24)
        recommended.LoadString(IDS_DEPTH_RECOMMENDED);
    else
        recommended = GetColorDepthName(m_nPictureBits);
    FillPlaceholder(m_hWnd, IDC_DEPTH_ADVICE, recommended);
    return TRUE;
}

void CheckColorDepth(int pictureBits)
{
    int screenBits = GetScreenBitsPerPixel();
    int compared = screenBits >= 16 ? 24 : screenBits;
    if (!g_ShowWarnColor || pictureBits <= compared)
        return;
    CColorDepthWarnDlg dlg;
    dlg.m_nPictureBits = pictureBits;
    dlg.m_nScreenBits = screenBits;
    dlg.m_bAlwaysShow = g_ShowWarnColor;
    PackedDIB hLogo = LoadDialogPicture("ORVANEL8");
    PackedDIB hPicture = LoadDialogPicture("WARNCOLOR");
    dlg.m_btnLogo.m_hDIB = hLogo;
    dlg.m_btnPicture.m_hDIB = hPicture;
    dlg.DoModal();
    dlg.m_btnLogo.m_hDIB = nullptr;
    dlg.m_btnPicture.m_hDIB = nullptr;
    FreePicture(hLogo);
    FreePicture(hPicture);
    g_ShowWarnColor = dlg.m_bAlwaysShow;
}

// ---- associations ----

BEGIN_MESSAGE_MAP(CAssocWarnDlg, CDialog)
    ON_BN_CLICKED(IDC_ASSOC_CLOSE, OnClose)
    ON_BN_CLICKED(IDC_ASSOC_DETAIL, OnDetail)
END_MESSAGE_MAP()

CAssocWarnDlg::CAssocWarnDlg(CWnd* pParentWnd) : CDialog(IDD_ASSOC_WARNING, pParentWnd) {}

void CAssocWarnDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_WARN_DONT_SHOW, m_bDontShow);
    DDX_Check(pDX, IDC_ASSOC_AUTO_CORRECT, m_bAutoCorrect);
    DDX_Control(pDX, IDC_WARN_PICTURE, m_btnPicture);
    DDX_Control(pDX, IDC_PICTURE_LOGO, m_btnLogo);
    DDX_Check(pDX, IDC_ASSOC_PICTURES, m_bAssocDib);
}

BOOL CAssocWarnDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemFont(m_hWnd, IDC_WARN_TITLE, g_fontArial14Bold);
    SetItemFont(m_hWnd, IDC_WARN_SUBTITLE, g_fontSmallBold);
    CenterWindow();
    return TRUE;
}

void CAssocWarnDlg::OnClose()
{
    m_bDontShow = ::IsDlgButtonChecked(m_hWnd, IDC_WARN_DONT_SHOW) == BST_CHECKED;
    m_bAutoCorrect = ::IsDlgButtonChecked(m_hWnd, IDC_ASSOC_AUTO_CORRECT) == BST_CHECKED;
    EndDialog(IDC_ASSOC_CLOSE);
}

void CAssocWarnDlg::OnDetail()
{
    CDocTypesDlg dlg(this);
    dlg.SetFromMask(m_nAssocDetail);
    if (dlg.DoModal() == IDOK)
        m_nAssocDetail = dlg.GetMask();
}

void CTessarineApp::CheckAssociationsAtStartup()
{
    if (CheckAssociations())
        return;
    if (g_TypesCorrectionAuto) {
        RegisterAssociations();
        return;
    }
    if (!g_ShowWarnAssoc)
        return;
    CAssocWarnDlg dlg;
    dlg.m_bDontShow = FALSE;
    dlg.m_bAutoCorrect = g_TypesCorrectionAuto;
    dlg.m_bAssocDib = g_AssocDib;
    dlg.m_nAssocDetail = g_AssocDetail;
    PackedDIB hLogo = LoadDialogPicture("ORVANEL8");
    PackedDIB hPicture = LoadDialogPicture("WARNING");
    dlg.m_btnLogo.m_hDIB = hLogo;
    dlg.m_btnPicture.m_hDIB = hPicture;
    TakeSplashDown();
    INT_PTR result = dlg.DoModal();
    dlg.m_btnLogo.m_hDIB = nullptr;
    dlg.m_btnPicture.m_hDIB = nullptr;
    FreePicture(hLogo);
    FreePicture(hPicture);
    g_ShowWarnAssoc = !dlg.m_bDontShow;
    g_TypesCorrectionAuto = dlg.m_bAutoCorrect;
    g_AssocDetail = dlg.m_nAssocDetail;
    g_AssocDib = dlg.m_bAssocDib;
    if (result == IDOK)
        RegisterAssociations();
}
