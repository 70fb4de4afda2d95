// CDibDoc: the document of a still-picture window, one picture in memory with the file it came from.
#pragma once
#include "core/DIB.h"
#include "framework/Document.h"

class CDibDoc : public CDocument {
    DECLARE_DYNCREATE(CDibDoc)
public:
    CDibDoc();

    // Takes over the picture the application handed over for a new window (pasted or scanned), if any.
    BOOL OnNewDocument() override;
    // Reads the file; FALSE (after telling the user) when it cannot be read.
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    // The title is the file's title in upper case.
    void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE) override;
    void DeleteContents() override;

    CDIB* GetDIB() { return &m_dib; }
    HGLOBAL GetHDIB() const { return m_dib.GetHandle(); }
    CPalette* GetDocPalette() { return m_dib.GetPalette(); }
    CSize GetDocSize() const { return m_sizeDoc; }

    CString m_strLoadedPath; // the file actually read
    DWORD m_dwFileLength = 0; // 0 for a picture that exists only in memory
    int m_nWidth = 0;
    int m_nHeight = 0;
    WORD m_nBitCount = 0;

private:
    // Takes the measures of the picture now held.
    void TakeMeasures();

    CDIB m_dib;
    CSize m_sizeDoc;
};
