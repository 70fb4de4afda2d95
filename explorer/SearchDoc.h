// CSearchDoc: the document of a search-results window (the results themselves come with the search).
#pragma once
#include "framework/Document.h"

class CSearchDoc : public CDocument {
    DECLARE_DYNCREATE(CSearchDoc)
};
