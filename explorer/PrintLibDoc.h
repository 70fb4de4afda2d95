// CPrintLibDoc: the document of a picture-list print window; it has no file of its own.
#pragma once
#include "framework/Document.h"

class CPrintLibDoc : public CDocument {
    DECLARE_DYNCREATE(CPrintLibDoc)
};
