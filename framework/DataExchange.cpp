// Dialog data exchange and validation.
#include "framework/DataExchange.h"

#include "framework/Exceptions.h"
#include "framework/FrameworkTexts.h"
#include "framework/PathDoor.h"
#include "framework/TestSeams.h"
#include "framework/WideEdit.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <climits>
#include <cstdio>
#include <string>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Whole-field integer parsing: blanks around, an optional sign, digits, nothing else, no overflow.
bool ParseInteger(LPCSTR text, bool bSigned, long long minVal, long long maxVal, long long& result)
{
    const char* p = text;
    while (IsBlank(*p))
        p++;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        if (negative && !bSigned)
            return false;
        p++;
    }
    if (*p < '0' || *p > '9')
        return false;
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > maxVal + 1LL)
            return false;
        p++;
    }
    while (IsBlank(*p))
        p++;
    if (*p != '\0')
        return false;
    value = negative ? -value : value;
    if (value < minVal || value > maxVal)
        return false;
    result = value;
    return true;
}

CString WindowText(HWND hWnd)
{
    CString s;
    int nLen = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, s.GetBuffer(nLen), nLen + 1);
    s.ReleaseBuffer();
    return s;
}

// Reads or writes one integer field; the refusal message says what was expected.
void TextInteger(CDataExchange* pDX, int nIDC, long long& value, bool bSigned, long long minVal,
                 long long maxVal)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!ParseInteger(WindowText(hWndCtrl), bSigned, minVal, maxVal, parsed)) {
            AfxMessageBox(bSigned ? AFX_IDP_PARSE_INT : AFX_IDP_PARSE_UINT, MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = parsed;
    } else {
        char szText[32];
        std::snprintf(szText, sizeof(szText), "%lld", value);
        ::SetWindowTextA(hWndCtrl, szText);
    }
}

void FailRange(CDataExchange* pDX, LPCSTR lpszMin, LPCSTR lpszMax)
{
    CString strPrompt;
    strPrompt.FormatMessage(AfxFrameworkText(AFX_IDP_PARSE_INT_RANGE), lpszMin, lpszMax);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

bool IsRadio(HWND hWnd)
{
    if ((::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0)
        return true;
    LONG type = ::GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK;
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    return ::lstrcmpiA(cls, "Button") == 0 && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr) {
        // The dialog template lacks a control the code needs (or the window is gone); under test the
        // log says which.
        if (AfxTestArmed()) {
            std::string ids;
            for (HWND h = ::GetWindow(m_pDlgWnd->m_hWnd, GW_CHILD); h != nullptr;
                 h = ::GetWindow(h, GW_HWNDNEXT))
                ids += " " + std::to_string(::GetDlgCtrlID(h));
            std::fprintf(
                stderr, "no control %d in window %p (%s a window; error %lu; found again: %s; children:%s)\n",
                nIDC, static_cast<void*>(m_pDlgWnd->m_hWnd),
                ::IsWindow(m_pDlgWnd->m_hWnd) ? "still" : "no longer", ::GetLastError(),
                ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) != nullptr ? "yes" : "no", ids.c_str());
        }
        AfxThrowResourceException();
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWndCtrl);
    else
        ::SetWindowTextA(hWndCtrl, value);
}

namespace {

// A field of wide characters (made so as it is loaded): saving takes its text whole, or refuses it with
// the message refusal() makes of it (empty: taken).
template <class Refusal> void WideText(CDataExchange* pDX, int nIDC, CString& value, Refusal refusal)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_hWndLastControl = hWndCtrl = AfxMakeEditWide(hWndCtrl);
        ::SetWindowTextA(hWndCtrl, value);
        return;
    }
    const std::wstring typed = AfxGetWindowTextWide(hWndCtrl);
    const CString refused = refusal(typed.c_str());
    if (!refused.IsEmpty()) {
        AfxMessageBox(refused, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = CString(typed.c_str());
}

} // namespace

void DDX_PathText(CDataExchange* pDX, int nIDC, CString& value, BOOL bFolder)
{
    WideText(pDX, nIDC, value, [bFolder](LPCWSTR typed) { return AfxUnspelledPathRefusal(typed, bFolder); });
}

void DDX_NameText(CDataExchange* pDX, int nIDC, CString& value, BOOL bFolder)
{
    WideText(pDX, nIDC, value, [bFolder](LPCWSTR typed) { return AfxUnspelledNameRefusal(typed, bFolder); });
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    long long v = value;
    TextInteger(pDX, nIDC, v, true, INT_MIN, INT_MAX);
    value = static_cast<int>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    long long v = value;
    TextInteger(pDX, nIDC, v, true, LONG_MIN, LONG_MAX);
    value = static_cast<long>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    long long v = value;
    TextInteger(pDX, nIDC, v, false, 0, UINT_MAX);
    value = static_cast<UINT>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    long long v = value;
    TextInteger(pDX, nIDC, v, false, 0, 0xFFFFFFFFLL);
    value = static_cast<DWORD>(v);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from its first button to the next control that starts a group.
    int nButton = 0;
    for (HWND h = hWndCtrl; h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h != hWndCtrl && (::GetWindowLongA(h, GWL_STYLE) & WS_GROUP))
            break;
        if (!IsRadio(h))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(h, BM_GETCHECK, 0, 0) != 0)
                value = nButton;
        } else {
            ::SendMessageA(h, BM_SETCHECK, nButton == value, 0);
        }
        nButton++;
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        // A drop-down list has no edit: its text is the selected item's.
        int nIndex = static_cast<int>(::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
        if ((::GetWindowLongA(hWndCtrl, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST && nIndex != CB_ERR) {
            int nLen =
                static_cast<int>(::SendMessageA(hWndCtrl, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0));
            ::SendMessageA(hWndCtrl, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                           reinterpret_cast<LPARAM>(value.GetBuffer(nLen)));
            value.ReleaseBuffer();
        } else {
            value = WindowText(hWndCtrl);
        }
    } else {
        // Select the item starting with the text, or just show the text.
        if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)))
            == CB_ERR)
            ::SetWindowTextA(hWndCtrl, value);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nIndex = static_cast<int>(::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0));
        value.Empty();
        if (nIndex != LB_ERR) {
            int nLen =
                static_cast<int>(::SendMessageA(hWndCtrl, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0));
            ::SendMessageA(hWndCtrl, LB_GETTEXT, static_cast<WPARAM>(nIndex),
                           reinterpret_cast<LPARAM>(value.GetBuffer(nLen)));
            value.ReleaseBuffer();
        }
    } else {
        ::SendMessageA(hWndCtrl, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)));
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return; // already done by an earlier exchange
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowResourceException();
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[16];
    char szMax[16];
    std::snprintf(szMin, sizeof(szMin), "%d", minVal);
    std::snprintf(szMax, sizeof(szMax), "%d", maxVal);
    FailRange(pDX, szMin, szMax);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[16];
    char szMax[16];
    std::snprintf(szMin, sizeof(szMin), "%ld", minVal);
    std::snprintf(szMax, sizeof(szMax), "%ld", maxVal);
    FailRange(pDX, szMin, szMax);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[16];
    char szMax[16];
    std::snprintf(szMin, sizeof(szMin), "%u", minVal);
    std::snprintf(szMax, sizeof(szMax), "%u", maxVal);
    FailRange(pDX, szMin, szMax);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        // The field itself refuses more.
        if (pDX->m_hWndLastControl != nullptr && pDX->m_bEditLastControl)
            ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() <= nChars)
        return;
    char szMax[16];
    std::snprintf(szMax, sizeof(szMax), "%d", nChars);
    CString strPrompt;
    strPrompt.FormatMessage(AfxFrameworkText(AFX_IDP_PARSE_STRING_SIZE), szMax);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

void DDV_MaxPath(CDataExchange* pDX, const CString& value)
{
    if (!pDX->m_bSaveAndValidate || value.GetLength() <= MAX_PATH - 1)
        return;
    CString strPrompt;
    strPrompt.Format(AfxLoadText(AFX_IDP_FILE_NAME_TOO_LONG), static_cast<unsigned>(MAX_PATH - 1));
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}
