// CTwain: the connection to a TWAIN scanner or camera through the source manager TWAIN_32.DLL of the
// Windows folder, loaded at run time: TWAIN states 1 to 7, the source chooser, the source's own dialog,
// and pictures taken as packed DIBs by native transfer. The records below are TWAIN 1.x's, 2-byte packed.
#pragma once
#include <windows.h>

class CWnd;

// ---- the TWAIN protocol's records and codes (the part this program uses) ----

#pragma pack(push, 2)

typedef char TW_STR32[34];

struct TW_VERSION {
    WORD MajorNum;
    WORD MinorNum;
    WORD Language;
    WORD Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    DWORD Id;
    TW_VERSION Version;
    WORD ProtocolMajor;
    WORD ProtocolMinor;
    DWORD SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_USERINTERFACE {
    WORD ShowUI;  // TW_BOOL
    WORD ModalUI; // TW_BOOL
    HANDLE hParent;
};

struct TW_PENDINGXFERS {
    WORD Count;
    DWORD Reserved;
};

struct TW_EVENT {
    void* pEvent; // the MSG
    WORD TWMessage;
};

#pragma pack(pop)

static_assert(sizeof(TW_IDENTITY) == 156, "TWAIN identity record");
static_assert(sizeof(TW_USERINTERFACE) == 4 + sizeof(HANDLE), "TWAIN user-interface record");
static_assert(sizeof(TW_PENDINGXFERS) == 6, "TWAIN pending-transfers record");
static_assert(sizeof(TW_EVENT) == sizeof(void*) + 2, "TWAIN event record");

// The entry points of the source manager and of a data source.
typedef WORD(WINAPI* DSMENTRYPROC)(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, DWORD DG, WORD DAT, WORD nMsg,
                                   void* pData);
typedef WORD(WINAPI* DSENTRYPROC)(TW_IDENTITY* pOrigin, DWORD DG, WORD DAT, WORD nMsg, void* pData);

const DWORD DG_CONTROL = 0x0001;
const DWORD DG_IMAGE = 0x0002;

const WORD DAT_EVENT = 0x0002;
const WORD DAT_IDENTITY = 0x0003;
const WORD DAT_PARENT = 0x0004;
const WORD DAT_PENDINGXFERS = 0x0005;
const WORD DAT_USERINTERFACE = 0x0009;
const WORD DAT_IMAGENATIVEXFER = 0x0104;

const WORD MSG_NULL = 0x0000;
const WORD MSG_GET = 0x0001;
const WORD MSG_GETDEFAULT = 0x0003;
const WORD MSG_RESET = 0x0007;
const WORD MSG_XFERREADY = 0x0101;
const WORD MSG_CLOSEDSREQ = 0x0102;
const WORD MSG_OPENDSM = 0x0301;
const WORD MSG_CLOSEDSM = 0x0302;
const WORD MSG_OPENDS = 0x0401;
const WORD MSG_CLOSEDS = 0x0402;
const WORD MSG_USERSELECT = 0x0403;
const WORD MSG_DISABLEDS = 0x0501;
const WORD MSG_ENABLEDS = 0x0502;
const WORD MSG_PROCESSEVENT = 0x0601;
const WORD MSG_ENDXFER = 0x0701;

const WORD TWRC_SUCCESS = 0;
const WORD TWRC_FAILURE = 1;
const WORD TWRC_CANCEL = 3;
const WORD TWRC_DSEVENT = 4;
const WORD TWRC_NOTDSEVENT = 5;
const WORD TWRC_XFERDONE = 6;

const WORD TWLG_USA = 13;
const WORD TWCY_USA = 1;

// ---- the connection ----

class CTwain {
public:
    CTwain();
    virtual ~CTwain();

    // The TWAIN state: 1 nothing loaded, 2 manager loaded, 3 manager open, 4 source open, 5 source
    // enabled, 6 transfer ready, 7 transferring. Every change goes through SetState.
    void SetState(int nState);
    int GetState() const { return m_nState; }
    void SetParentWnd(CWnd* pWnd) { m_pParentWnd = pWnd; }
    // The window given, else the stored parent, else the application's main window.
    CWnd* GetParentWnd(CWnd* pWnd = nullptr) const;

    // TRUE when the manager can be loaded (it then is). A load that failed once is never tried again
    // in this process.
    BOOL IsAvailable();
    // The manager must be loaded again before its folder is looked at anew (for tests that change it).
    static void ForgetAvailability();

    BOOL LoadSourceManager();
    BOOL UnloadSourceManager();
    BOOL OpenSourceManager(CWnd* pWnd = nullptr);
    BOOL CloseSourceManager(CWnd* pWnd = nullptr);
    // Opens the manager's default source.
    BOOL OpenSource();
    BOOL CloseSource();
    // Enables the open source with its own dialog.
    BOOL EnableSource(CWnd* pWnd = nullptr);
    BOOL DisableSource();
    BOOL EndXfer();
    BOOL CancelPendingXfers();
    // Steps down to nState; FALSE when a step fails.
    BOOL DropToState(int nState, CWnd* pWnd = nullptr);

    // The manager's source chooser; TRUE when a source was chosen. The state comes back to where it was.
    BOOL SelectSource(CWnd* pWnd = nullptr);
    // Opens the manager and the default source and enables it; TRUE when its dialog shows. The pictures
    // then arrive through ProcessMessage. On failure back to the state it started from (from state 3, a
    // source that refuses to close is closed with the manager, which opens again), then OnError.
    BOOL Acquire(CWnd* pWnd = nullptr);
    // Offers a message of the thread to the enabled source; TRUE when the source used it (it must not
    // be dispatched).
    BOOL ProcessMessage(MSG* pMsg);

protected:
    // The source has pictures: takes them all by native transfer.
    virtual void OnXferReady();
    // The source asks to be closed: closes it (the manager stays open).
    virtual void OnCloseDSReq();
    // A transferred picture (a packed DIB the receiver then owns); the base frees it.
    virtual void OnImage(HGLOBAL hDIB);
    virtual void OnStateChange(int nState);
    // A step that failed: 0 opening the manager, 1 opening the source, 2 enabling the source.
    virtual void OnError(int nStage);

private:
    BOOL CallSourceManager(DWORD DG, WORD DAT, WORD nMsg, void* pData);
    BOOL CallSource(DWORD DG, WORD DAT, WORD nMsg, void* pData);
    // The state that follows a call, from TWAIN's state table.
    void ApplyStateTable(DWORD DG, WORD DAT, WORD nMsg, void* pData);

    BOOL m_bTrace = 1;
    int m_nState = 1;
    int m_nSavedState = 1;
    TW_IDENTITY m_appIdentity;
    short m_nLastReturn = 0;
    TW_USERINTERFACE m_ui;
    BOOL m_bShowUI = 1;
    TW_PENDINGXFERS m_pending;
    CWnd* m_pParentWnd = nullptr;
};
