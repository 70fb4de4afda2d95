#include "app/AboutDlg.h"

#include "app/TessarineApp.h"
#include "core/ReaderOptions.h"
#include "core/TextFormat.h"
#include "core/WindowUtil.h"
#include "formats/FormatJpeg.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

#include <string>

IMPLEMENT_DYNAMIC(CAboutDlg, CDialog)

CString FormatAboutMemory(ULONGLONG totalBytes)
{
    // The string's "%ld" takes the number formatted here: a 32-bit count of bytes overflows at 2 GiB.
    CString format;
    format.LoadString(IDS_ABOUT_MEMORY);
    std::string text = static_cast<LPCSTR>(format);
    std::string number = std::to_string(totalBytes / 1024);
    std::string::size_type at = text.find("%ld");
    if (at != std::string::npos)
        text.replace(at, 3, number);
    return CString(text.c_str());
}

CString FormatAboutVideo(int width, int height, int bitsPerPixel)
{
    CString text;
    text.Format(IDS_ABOUT_VIDEO, width, height, GetColorDepthName(bitsPerPixel));
    return text;
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

void CAboutDlg::FillSystemInformation()
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatusEx(&status);
    m_strMemory = FormatAboutMemory(status.ullTotalPhys);
    HDC hdc = ::GetDC(nullptr);
    int width = ::GetDeviceCaps(hdc, HORZRES);
    int height = ::GetDeviceCaps(hdc, VERTRES);
    int bits = ::GetDeviceCaps(hdc, PLANES) * ::GetDeviceCaps(hdc, BITSPIXEL);
    ::ReleaseDC(nullptr, hdc);
    m_strVideo = FormatAboutVideo(width, height, bits);
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ABOUT_MEMORY, m_strMemory);
    DDX_Control(pDX, IDC_ABOUT_PICTURE, m_btnPicture);
    DDX_Text(pDX, IDC_ABOUT_VIDEO, m_strVideo);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindowOnScreen(m_hWnd);
    HWND hProgram = ::GetDlgItem(m_hWnd, IDC_ABOUT_PROGRAM);
    if (hProgram != nullptr)
        ::SendMessageA(hProgram, WM_SETFONT, reinterpret_cast<WPARAM>(g_fontArial9Bold.GetSafeHandle()),
                       TRUE);
    if (m_tooltip.Create(this))
        m_tooltip.Activate(TRUE);
    return TRUE;
}

BOOL CAboutDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd() != nullptr)
        m_tooltip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CTessarineApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.FillSystemInformation();
    PackedDIB hPicture;
    {
        CReaderOptionsScope quiet(CurrentReaderOptions().WithProgress(FALSE));
        hPicture = LoadJPEGResourceById(AfxGetInstanceHandle(), IDJ_TITLE_PICTURE);
    }
    dlg.m_btnPicture.m_hDIB = hPicture;
    dlg.DoModal();
    dlg.m_btnPicture.m_hDIB = nullptr;
    if (hPicture != nullptr)
        GlobalFreeHandle(hPicture);
}
