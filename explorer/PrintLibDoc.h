// CPrintLibDoc: the document of a picture-list print window; it has no file of its own.
#pragma once
#include "framework/Document.h"

class CPrintLibDoc : public CDocument {
    DECLARE_SERIAL(CPrintLibDoc)
public:
    // Stores and reads nothing: the list printed is the library bar's.
    void Serialize(CArchive& ar) override;
};
