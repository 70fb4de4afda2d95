// CDibDoc: the document of a still-picture window, one picture in memory with the file it came from.
#pragma once
#include "core/DIB.h"
#include "framework/Document.h"

class CCmdUI;

class CDibDoc : public CDocument {
    DECLARE_DYNCREATE(CDibDoc)
public:
    CDibDoc();

    // Takes over the picture the application handed over for a new window (pasted or scanned), if any.
    // It starts modified, so that it is not lost without a question.
    BOOL OnNewDocument() override;
    // Reads the file; when it is missing or unreadable the load-error dialog offers another path,
    // as often as the user retries. FALSE when the user gives up.
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    // The title is the file's title in upper case, or names the library folder the picture was
    // opened from.
    void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE) override;

    // Save As: asks for a file and writes the picture as JPEG, PNG or BMP by its extension.
    void OnFileSaveAs();
    // The question before a pasted or scanned picture's window closes: "Oui" goes through Save As, and a
    // cancelled or failed save keeps the window.
    BOOL DoFileSave() override;
    void OnUpdateFileSaveAs(CCmdUI* pCmdUI);
    void OnUpdateFileSave(CCmdUI* pCmdUI);
    // Writes the picture to path in the format its extension names (jpg/jpe..., png, bmp). Only a
    // picture actually written moves the document's path, title and recent entry to the file; a
    // failure tells the user and changes nothing. TRUE when written.
    BOOL SavePictureAs(LPCSTR path);
    void DeleteContents() override;

    CDIB* GetDIB() { return &m_dib; }
    HGLOBAL GetHDIB() const { return m_dib.GetHandle(); }
    CPalette* GetDocPalette() { return m_dib.GetPalette(); }
    CSize GetDocSize() const { return m_sizeDoc; }

    CString m_strLoadedPath;  // the file actually read
    DWORD m_dwFileLength = 0; // 0 for a picture that exists only in memory
    int m_nWidth = 0;
    int m_nHeight = 0;
    WORD m_nBitCount = 0;
    CString m_strFolderTitle; // the library folder named in the title; empty elsewhere

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Takes the measures of the picture now held.
    void TakeMeasures();
    // Asks for a file and writes the picture there; TRUE when written.
    BOOL AskAndSave();

    CDIB m_dib;
    CSize m_sizeDoc;
    BOOL m_bTakeLoadedPath = FALSE; // the next SetPathName names the path actually read
};
