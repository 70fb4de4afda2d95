// CSearchDoc: the document of a search-results window (the results themselves come with the search).
#pragma once
#include "framework/Document.h"

class CSearchDoc : public CDocument {
    DECLARE_SERIAL(CSearchDoc)
public:
    // A path given to open is kept as the document's path; nothing is read, the results come with the
    // search.
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
};
