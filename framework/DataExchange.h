// Dialog data exchange and validation: CDataExchange and the DDX_/DDV_ functions. A refused value
// is reported in French, the focus goes back to the field and the dialog stays open.
#pragma once
#include "framework/String.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members (and validation), FALSE: members to controls
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr; // the field the next DDV checks
    BOOL m_bEditLastControl = FALSE;

    // The control's handle, remembered for validation; throws CResourceException when the dialog has
    // no such control.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // After the user was told: focus (and selection) back on the field, then a CUserException.
    [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A field where a path is typed or pasted: loading makes it a window of wide characters (see
// framework/WideEdit.h); saving reads it in wide characters and refuses, with the file dialogs' message
// naming it, a path with a letter the code page lacks (its look-alike would name another file);
// bFolder: the path names a folder.
void DDX_PathText(CDataExchange* pDX, int nIDC, CString& value, BOOL bFolder = FALSE);
// Likewise a field where the name of a file (or, bFolder, of a folder) is typed, which the program
// then makes, renames or keeps: a letter the code page lacks refuses the name, named with a question
// mark for it, the name staying typed and selected.
void DDX_NameText(CDataExchange* pDX, int nIDC, CString& value, BOOL bFolder = FALSE);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first button of a group; value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Subclasses the dialog's control into rControl (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
// Loading limits the edit to nChars; saving refuses a longer text.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
// Saving refuses a path longer than a full path can be (MAX_PATH - 1 characters), with the message
// of the file dialogs.
void DDV_MaxPath(CDataExchange* pDX, const CString& value);
