// CPrintLibView: the view of a picture-list print window. Printing the library bar's list comes with
// the printing of picture lists; until then the window closes itself as soon as it is up, as it does
// once a print run ends.
#pragma once
#include "framework/View.h"

class CPrintLibView : public CView {
    DECLARE_DYNCREATE(CPrintLibView)
public:
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
};
