// CGifDoc: the document of an animated-GIF window, every frame of the file as a picture.
#pragma once
#include "framework/Collections.h"
#include "framework/Document.h"

class CDIB;

class CGifDoc : public CDocument {
    DECLARE_DYNCREATE(CGifDoc)
public:
    CGifDoc() = default;
    ~CGifDoc() override;

    // Decodes every frame; FALSE (after telling the user) when the file gives none.
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE) override;
    // Deletes every frame.
    void DeleteContents() override;

    int GetFrameCount() const { return static_cast<int>(m_arrFrames.GetSize()); }
    // Frame n (0 first), or null.
    CDIB* GetFrame(int n) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    WORD m_nBitCount = 0;

private:
    CObArray m_arrFrames; // CDIB objects, owned
};
