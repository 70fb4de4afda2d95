// CExplorerDoc: the document of a folder-explorer window; its path name is the folder shown.
#pragma once
#include "framework/Document.h"

class CExplorerDoc : public CDocument {
    DECLARE_DYNCREATE(CExplorerDoc)
public:
    // Stores the folder as the path name and succeeds without touching the disk.
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    // The folder becomes the path and the title; folders do not enter the recent-file list.
    void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE) override;
};
