// CChildWnd: the child frame of both image documents, which answers the active-document
// question with the document it was created for.
#pragma once

#include "classlib/classlib.h"
#include "frames/mdi_child.h"

class CChildWnd : public CXTMDIChildWnd {
    DECLARE_DYNCREATE(CChildWnd)
public:
    CChildWnd();
    ~CChildWnd() override;

    CDocument* GetActiveDocument() override { return m_pDocument; }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    CDocument* m_pDocument = nullptr;
};
