// The search-results document.
#include "explorer/SearchDoc.h"

IMPLEMENT_DYNCREATE(CSearchDoc, CDocument)
