// CDocument: the data behind one or more views, with its path, title, modified flag, loading and
// saving, and its place in the command route (after its views, before its template).
#pragma once
#include "framework/CmdTarget.h"
#include "framework/Collections.h"
#include "framework/String.h"

class CDocTemplate;
class CView;
class CFrameWnd;
class CFile;
class CFileException;
class CException;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    // Leaves its template's list; views still attached forget it.
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and renames the frames that show the document.
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Stores the full form of the path (no disk access), takes the file's name as the title and, when
    // asked, puts the path at the top of the application's recent-file list.
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    virtual POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    virtual CView* GetNextView(POSITION& rPosition) const
    {
        return static_cast<CView*>(m_viewList.GetNext(rPosition));
    }
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);
    // Called when a view comes or goes: a document whose last view went closes itself (when
    // m_bAutoDelete is set).
    virtual void OnChangedViewList();
    // Numbers the frames ("title:1", "title:2") when there are several, then updates their titles.
    virtual void UpdateFrameCounts();

    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize; reports and returns FALSE on failure.
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    // Writes through Serialize into a temporary file beside the target, then replaces the target:
    // a failed save leaves the earlier file as it was.
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    // Destroys every frame showing the document, empties it and deletes it (when m_bAutoDelete).
    virtual void OnCloseDocument();
    // TRUE when the frame may close: another frame shows the document, or the user let it go.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Asks to save a modified document: FALSE when the user cancels or saving fails.
    virtual BOOL SaveModified();
    virtual void PreCloseFrame(CFrameWnd*) {}
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    virtual void ReportSaveLoadException(LPCSTR lpszPathName, const CException* e, BOOL bSaving,
                                         UINT nIDPDefault);
    virtual CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Brings the first frame showing the document to the front.
    void ActivateFirstFrame();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bAutoDelete = TRUE; // deleted when its last view goes
    BOOL m_bEmbedded = FALSE;

protected:
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();

    DECLARE_MESSAGE_MAP()
};
