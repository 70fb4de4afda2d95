// The TWAIN connection: the source manager loaded from the Windows folder, the calls that move the
// TWAIN state, and the native transfer loop.
#include "viewers/Twain.h"

#include "framework/TestSeams.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <cstring>

namespace {

// One source manager per process.
HMODULE s_hModule = nullptr;
DSMENTRYPROC s_pfnEntry = nullptr;
int s_nAvailable = 0; // 0 not yet known, 1 available, -1 not available
TW_IDENTITY s_sourceIdentity;

void SetText(TW_STR32 field, const char* text) { ::lstrcpynA(field, text, sizeof(TW_STR32)); }

TW_IDENTITY MakeAppIdentity()
{
    TW_IDENTITY id;
    std::memset(&id, 0, sizeof(id));
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 0;
    id.Version.Language = TWLG_USA;
    id.Version.Country = TWCY_USA;
    SetText(id.Version.Info, "<?>");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 6;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    SetText(id.Manufacturer, "<?>");
    SetText(id.ProductFamily, "<?>");
    SetText(id.ProductName, "<?>");
    return id;
}

const TW_IDENTITY kAppIdentity = MakeAppIdentity();

} // namespace

CTwain::CTwain()
{
    m_appIdentity = kAppIdentity;
    std::memset(&m_ui, 0, sizeof(m_ui));
    std::memset(&m_pending, 0, sizeof(m_pending));
    SetState(1);
}

CTwain::~CTwain()
{
    CloseSourceManager(nullptr);
    UnloadSourceManager();
}

void CTwain::SetState(int nState)
{
    m_nState = nState;
    OnStateChange(nState);
}

CWnd* CTwain::GetParentWnd(CWnd* pWnd) const
{
    if (pWnd != nullptr)
        return pWnd;
    if (m_pParentWnd != nullptr)
        return m_pParentWnd;
    return AfxGetMainWnd();
}

BOOL CTwain::IsAvailable()
{
    if (s_pfnEntry != nullptr)
        return TRUE;
    if (s_nAvailable == 0)
        s_nAvailable = LoadSourceManager() ? 1 : -1;
    return s_nAvailable > 0;
}

void CTwain::ForgetAvailability()
{
    if (s_pfnEntry == nullptr)
        s_nAvailable = 0;
}

BOOL CTwain::LoadSourceManager()
{
    if (m_nState >= 2)
        return TRUE;
    char szPath[MAX_PATH + 16] = "";
    UINT n = AfxPlatform().pfnScannerFolder(szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return FALSE;
    if (szPath[n - 1] != '\\')
        ::lstrcatA(szPath, "\\");
    ::lstrcatA(szPath, "TWAIN_32.DLL");
    if (::GetFileAttributesA(szPath) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    HMODULE hModule = ::LoadLibraryA(szPath);
    if (hModule == nullptr)
        return FALSE;
    FARPROC pfn = ::GetProcAddress(hModule, "DSM_Entry");
    if (pfn == nullptr) {
        ::FreeLibrary(hModule);
        return FALSE;
    }
    s_hModule = hModule;
    s_pfnEntry = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(pfn));
    s_nAvailable = 1;
    SetState(2);
    return TRUE;
}

BOOL CTwain::UnloadSourceManager()
{
    m_nLastReturn = 0;
    if (m_nState == 2) {
        if (s_hModule != nullptr)
            ::FreeLibrary(s_hModule);
        s_hModule = nullptr;
        s_pfnEntry = nullptr;
        SetState(1);
    }
    return m_nState == 1;
}

BOOL CTwain::OpenSourceManager(CWnd* pWnd)
{
    if (!LoadSourceManager())
        return FALSE;
    // A manager already open is not opened twice.
    if (m_nState < 3) {
        // TWAIN takes the address of the parent window's handle.
        HWND hWnd = GetParentWnd(pWnd) != nullptr ? GetParentWnd(pWnd)->GetSafeHwnd() : nullptr;
        if (!CallSourceManager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &hWnd))
            TRACE("TWAIN: OPENDSM failed.\n");
    }
    return m_nState >= 3;
}

BOOL CTwain::CloseSourceManager(CWnd* pWnd)
{
    CloseSource();
    if (m_nState >= 3) {
        HWND hWnd = GetParentWnd(pWnd) != nullptr ? GetParentWnd(pWnd)->GetSafeHwnd() : nullptr;
        CallSourceManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &hWnd);
    }
    return m_nState < 3;
}

BOOL CTwain::OpenSource()
{
    if (m_nState != 3)
        return FALSE;
    // Id 0 and no product name: the manager's default source.
    std::memset(&s_sourceIdentity, 0, sizeof(s_sourceIdentity));
    CallSourceManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &s_sourceIdentity);
    return m_nState == 4;
}

BOOL CTwain::CloseSource()
{
    m_nLastReturn = 0;
    if (m_nState == 5)
        DisableSource();
    if (m_nState == 4)
        CallSourceManager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &s_sourceIdentity);
    return m_nState < 4;
}

BOOL CTwain::EnableSource(CWnd* pWnd)
{
    if (m_nState != 4)
        return FALSE;
    m_ui.ShowUI = static_cast<WORD>(m_bShowUI);
    // The source's dialog is modeless: the pictures come through the main window's message loop.
    m_ui.ModalUI = FALSE;
    m_ui.hParent = GetParentWnd(pWnd) != nullptr ? GetParentWnd(pWnd)->GetSafeHwnd() : nullptr;
    CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &m_ui);
    return m_nState == 5;
}

BOOL CTwain::DisableSource()
{
    if (m_nState == 5)
        CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &m_ui);
    return m_nState < 5;
}

BOOL CTwain::EndXfer()
{
    if (m_nState == 7)
        CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &m_pending);
    return m_nState < 7;
}

BOOL CTwain::CancelPendingXfers()
{
    EndXfer();
    if (m_nState == 6)
        CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &m_pending);
    return m_nState < 6;
}

BOOL CTwain::DropToState(int nState, CWnd* pWnd)
{
    while (m_nState > nState) {
        BOOL bStepped = FALSE;
        switch (m_nState) {
        case 7:
            bStepped = EndXfer();
            break;
        case 6:
            bStepped = CancelPendingXfers();
            break;
        case 5:
            bStepped = DisableSource();
            break;
        case 4:
            bStepped = CloseSource();
            break;
        case 3:
            bStepped = CloseSourceManager(pWnd);
            break;
        case 2:
            bStepped = UnloadSourceManager();
            break;
        default:
            return FALSE;
        }
        if (!bStepped)
            return FALSE;
    }
    return TRUE;
}

BOOL CTwain::SelectSource(CWnd* pWnd)
{
    int nFrom = m_nState;
    BOOL bChosen = FALSE;
    if (OpenSourceManager(pWnd)) {
        TW_IDENTITY id;
        std::memset(&id, 0, sizeof(id));
        CallSourceManager(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &id);
        bChosen = CallSourceManager(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &id);
    } else {
        OnError(0);
    }
    DropToState(nFrom, pWnd);
    return bChosen;
}

BOOL CTwain::Acquire(CWnd* pWnd)
{
    m_nSavedState = m_nState;
    int nStage = -1;
    if (m_nState < 3 && !OpenSourceManager(pWnd))
        nStage = 0;
    else if (m_nState < 4 && !OpenSource())
        nStage = 1;
    else if (m_nState >= 5)
        return TRUE;
    else if (!EnableSource(pWnd))
        nStage = 2;
    if (nStage < 0)
        return TRUE;
    TRACE("TWAIN: Error(%d)\n", nStage);
    // Back where it started before anything is said, so that the commands are there again.
    if (!DropToState(m_nSavedState, nullptr) && m_nSavedState == 3 && m_nState > 3) {
        // A source that will not close is closed with the manager, which is then opened anew.
        CloseSourceManager(nullptr);
        OpenSourceManager(nullptr);
    }
    OnError(nStage);
    return FALSE;
}

BOOL CTwain::ProcessMessage(MSG* pMsg)
{
    if (m_nState < 5)
        return FALSE;
    TW_EVENT event;
    event.pEvent = pMsg;
    event.TWMessage = MSG_NULL;
    CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    BOOL bUsed = m_nLastReturn == TWRC_DSEVENT;
    switch (event.TWMessage) {
    case MSG_XFERREADY:
        OnXferReady();
        break;
    case MSG_CLOSEDSREQ:
        OnCloseDSReq();
        break;
    default:
        break;
    }
    return bUsed;
}

void CTwain::OnXferReady()
{
    while (m_nState == 6) {
        HGLOBAL hDIB = nullptr;
        CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &hDIB);
        if (m_nLastReturn != TWRC_XFERDONE)
            hDIB = nullptr;
        if (m_nState == 6) {
            // The transfer failed and nothing is transferring: asking again would only fail again,
            // so the pending pictures are dropped and the source's dialog stays for another try.
            CancelPendingXfers();
            break;
        }
        // Acknowledged before the picture is handed on.
        EndXfer();
        if (hDIB != nullptr)
            OnImage(hDIB);
    }
}

void CTwain::OnCloseDSReq() { CloseSource(); }

void CTwain::OnImage(HGLOBAL hDIB) { ::GlobalFree(hDIB); }

void CTwain::OnStateChange(int) {}

void CTwain::OnError(int) {}

BOOL CTwain::CallSourceManager(DWORD DG, WORD DAT, WORD nMsg, void* pData)
{
    if (s_pfnEntry == nullptr)
        return FALSE;
    m_nLastReturn = static_cast<short>(s_pfnEntry(&m_appIdentity, nullptr, DG, DAT, nMsg, pData));
    ApplyStateTable(DG, DAT, nMsg, pData);
    return m_nLastReturn == TWRC_SUCCESS;
}

BOOL CTwain::CallSource(DWORD DG, WORD DAT, WORD nMsg, void* pData)
{
    if (s_pfnEntry == nullptr)
        return FALSE;
    m_nLastReturn = static_cast<short>(s_pfnEntry(&m_appIdentity, &s_sourceIdentity, DG, DAT, nMsg, pData));
    ApplyStateTable(DG, DAT, nMsg, pData);
    return m_nLastReturn == TWRC_SUCCESS;
}

void CTwain::ApplyStateTable(DWORD DG, WORD DAT, WORD nMsg, void* pData)
{
    const BOOL bSuccess = m_nLastReturn == TWRC_SUCCESS;
    if (DG == DG_IMAGE) {
        if (DAT == DAT_IMAGENATIVEXFER && nMsg == MSG_GET)
            SetState(m_nLastReturn == TWRC_XFERDONE || m_nLastReturn == TWRC_CANCEL ? 7 : 6);
        return;
    }
    if (DG != DG_CONTROL)
        return;
    switch (DAT) {
    case DAT_PARENT:
        if (bSuccess && nMsg == MSG_OPENDSM)
            SetState(3);
        else if (bSuccess && nMsg == MSG_CLOSEDSM)
            SetState(2);
        break;
    case DAT_IDENTITY:
        if (bSuccess && nMsg == MSG_OPENDS)
            SetState(4);
        else if (bSuccess && nMsg == MSG_CLOSEDS)
            SetState(3);
        break;
    case DAT_USERINTERFACE:
        if (bSuccess && nMsg == MSG_ENABLEDS)
            SetState(5);
        else if (bSuccess && nMsg == MSG_DISABLEDS)
            SetState(4);
        break;
    case DAT_EVENT:
        if (nMsg == MSG_PROCESSEVENT) {
            WORD nMessage = static_cast<const TW_EVENT*>(pData)->TWMessage;
            if (nMessage == MSG_XFERREADY)
                SetState(6);
            else if (nMessage == MSG_CLOSEDSREQ)
                SetState(5);
        }
        break;
    case DAT_PENDINGXFERS:
        if (bSuccess && nMsg == MSG_ENDXFER)
            SetState(static_cast<const TW_PENDINGXFERS*>(pData)->Count != 0 ? 6 : 5);
        else if (bSuccess && nMsg == MSG_RESET)
            SetState(5);
        break;
    default:
        break;
    }
}
