// The two dialogs of the library search: the criteria (name, author, keyword, comment) and the
// progress of the worker, which the user may stop.
#pragma once
#include "explorer/SearchWorker.h"
#include "shell/SimpleDibButton.h"
#include "framework/CommonControls.h"
#include "framework/Dialog.h"

// Dialog 367. The caller sets the four texts and the two pictures; after OK the texts are as typed.
class CSearchLibraryDlg : public CDialog {
    DECLARE_DYNAMIC(CSearchLibraryDlg)
public:
    explicit CSearchLibraryDlg(CWnd* pParent = nullptr);

    // Each field holds at most this many characters.
    static const int kMaxCriterion = 100;

    CString m_strAuthor;
    CString m_strComment;
    CString m_strKeyword;
    CString m_strName;
    CSimpleDibButton m_btnPicture; // "SEARCHPIC", the caller's
    CSimpleDibButton m_btnLogo;    // "ORVANEL8", the caller's

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Dialog 271: started modally by the main frame; starts the worker, shows its progress every 5 ms
// and ends (posting WM_SEARCHFINISHED to the notify window) at the first tick after the worker is
// done. "Annuler" asks before stopping; the dialog never ends through it.
class CSearchProgressDlg : public CDialog {
    DECLARE_DYNAMIC(CSearchProgressDlg)
public:
    explicit CSearchProgressDlg(CWnd* pParent = nullptr);
    ~CSearchProgressDlg() override;

    CAnimateCtrl m_animation;
    CProgressCtrl m_progressBar;
    UINT_PTR m_nTimerId = 0;
    DWORD m_dwThreadId = 0;
    HANDLE m_hThread = nullptr;
    // The block of the current search, shared with its worker (a worker still running when the
    // dialog goes keeps it alive).
    SearchProgress& Block() { return *m_pBlock; }
    const SearchProgress& Block() const { return *m_pBlock; }
    BOOL m_bRangeSet = FALSE;
    // Where WM_SEARCHFINISHED goes; null: the application's main window.
    HWND m_hWndNotify = nullptr;

    // Clears the thread fields and the block's counters for a new search (the inputs stay; a block
    // that an earlier worker still holds is left to it and a new one made).
    void Prepare();
    // Stops the running search without asking (the program is closing): the dialog then ends at
    // its next tick as after a stop, with `cancel` set.
    void StopWithoutAsking();
    BOOL IsSearching() const { return m_hWnd != nullptr; }

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void OnTimer(UINT nIDEvent);
    void OnDestroy();
    LRESULT OnStartSearch(WPARAM wParam, LPARAM lParam);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    void Tick();
    void ShowIfChanged(int nID, const CString& text, BOOL skipEmpty);

    std::shared_ptr<SearchProgress> m_pBlock;
    BOOL m_bAsking = FALSE; // the stop question is shown
    CString m_strShownFolder;
    CString m_strShownFile;
    CString m_strShownFound;
};
