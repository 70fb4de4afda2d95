// CGifDoc: the document of an animated-GIF window: every image of the file decoded once into a
// frame (the whole logical screen after that image, with its delay and transparent index). The file
// is never written back; Save As writes the frame the window shows as JPEG, PNG or BMP.
#pragma once
#include "framework/Collections.h"
#include "framework/Document.h"
#include "framework/Geometry.h"

class CCmdUI;
class CDIB;
class CPalette;

class CGifDoc : public CDocument {
    DECLARE_DYNCREATE(CGifDoc)
public:
    CGifDoc();
    ~CGifDoc() override;

    // Decodes every frame; when the file is missing or gives no frame the load-error dialog offers
    // another path, as often as the user retries. FALSE when the user gives up.
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    // The title is the file's title in upper case, or names the library folder the file was opened
    // from. After a retry the path actually read is the one recorded.
    void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE) override;
    // Deletes every frame (each CDIB frees its picture and palette).
    void DeleteContents() override;

    int GetFrameCount() const { return static_cast<int>(m_arrFrames.GetSize()); }
    // Frame n (0 first), or null out of range.
    CDIB* GetFrame(int n) const;
    // The frame's packed DIB and palette; null out of range.
    HGLOBAL GetFrameDIB(int n) const;
    CPalette* GetFramePalette(int n) const;
    // Width and height of the first frame, (1, 1) while nothing is loaded.
    CSize GetSize() const { return m_sizeDoc; }

    // Save As: asks for a file and writes the frame the first view shows.
    void OnFileSaveAs();
    void OnUpdateFileSaveAs(CCmdUI* pCmdUI);
    void OnUpdateFileSave(CCmdUI* pCmdUI);
    // Writes frame n to path in the format its extension names (jpg/jpe..., png, bmp). Only a frame
    // actually written moves the document's path, title and recent entry to the file; a failure
    // tells the user and changes nothing. TRUE when written.
    BOOL SaveFrameAs(int n, LPCSTR path);
    // The frame the document's first view shows (0 without a view).
    int GetShownFrame() const;

    CString m_strLoadedPath;  // the file actually read
    DWORD m_dwFileLength = 0; // bytes of that file
    int m_nWidth = 0;         // first frame
    int m_nHeight = 0;
    WORD m_nBitCount = 0;
    CString m_strFolderTitle; // the library folder named in the title; empty elsewhere

protected:
    DECLARE_MESSAGE_MAP()

private:
    CObArray m_arrFrames; // CDIB objects, owned
    CSize m_sizeDoc;
    BOOL m_bTakeLoadedPath = FALSE; // the next SetPathName names the path actually read
};
