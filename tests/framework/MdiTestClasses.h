// A small multiple-document program for the tests: a main frame, two document templates (A and B)
// with their documents, views and child frames, each recording the commands it sees in g_trace.
#pragma once
#include "framework/CmdUI.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIChildWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/View.h"
#include "tests/framework/WindowTestSupport.h"

#include <string>

class CTraceDoc : public CDocument {
public:
    virtual const char* Name() const = 0;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;

protected:
    BOOL OnTrace(UINT);
    DECLARE_MESSAGE_MAP()
};

class CDocA : public CTraceDoc {
    DECLARE_DYNCREATE(CDocA)
public:
    const char* Name() const override { return "docA"; }
};

class CDocB : public CTraceDoc {
    DECLARE_DYNCREATE(CDocB)
public:
    const char* Name() const override { return "docB"; }
};

class CTraceView : public CView {
public:
    virtual const char* Name() const = 0;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override;
    int m_nInitialUpdates = 0;

protected:
    BOOL OnTrace(UINT);
    void OnChildKey();
    DECLARE_MESSAGE_MAP()
};

class CViewA : public CTraceView {
    DECLARE_DYNCREATE(CViewA)
public:
    const char* Name() const override { return "viewA"; }
};

class CViewB : public CTraceView {
    DECLARE_DYNCREATE(CViewB)
public:
    const char* Name() const override { return "viewB"; }
};

class CTraceChild : public CMDIChildWnd {
public:
    virtual const char* Name() const = 0;

protected:
    BOOL OnTrace(UINT);
    DECLARE_MESSAGE_MAP()
};

class CChildA : public CTraceChild {
    DECLARE_DYNCREATE(CChildA)
public:
    const char* Name() const override { return "childA"; }
};

class CChildB : public CTraceChild {
    DECLARE_DYNCREATE(CChildB)
public:
    const char* Name() const override { return "childB"; }
};

class CTraceTemplate : public CMultiDocTemplate {
public:
    CTraceTemplate(const char* pszName, UINT nIDResource, CRuntimeClass* pDocClass,
                   CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
        : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_strName(pszName)
    {}
    std::string m_strName;

protected:
    BOOL OnTrace(UINT);
    DECLARE_MESSAGE_MAP()
};

class CTestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CTestMainFrame)
protected:
    BOOL OnTrace(UINT);
    void OnUpdateDisabled(CCmdUI* pCmdUI);
    void OnDisabled();
    DECLARE_MESSAGE_MAP()
};

// The two templates, registered with the application once per process (A first, then B).
CTraceTemplate* TemplateA();
CTraceTemplate* TemplateB();

// A main frame shown as the application's main window, with documents closed and the frame gone
// at the end of each test.
class MdiTest : public WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;
    CTestMainFrame* m_pMainFrame = nullptr;
};

// The frame and view of a document's first view.
CMDIChildWnd* ChildOf(CDocument* pDoc);
CTraceView* ViewOf(CDocument* pDoc);
