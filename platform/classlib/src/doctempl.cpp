// Document templates: their strings, matching files to them, and making documents with frames.
#include "classlib/classlib.h"

#include <memory>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource),
      m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty()) {
        m_strDocStrings.LoadString(m_nIDResource);
    }
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
        CDocument* doc = GetNextDoc(pos);
        if (!doc->GetPathName().IsEmpty() && AfxComparePath(doc->GetPathName(), lpszPathName)) {
            rpDocMatch = doc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty()) {
        CString path(lpszPathName);
        int dot = path.ReverseFind('.');
        if (dot >= 0 && path.Mid(dot).CompareNoCase(ext) == 0) {
            return yesAttemptNative;
        }
    }
    return yesAttemptForeign;
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

CDocument* CDocTemplate::CreateNewDocument() {
    if (m_pDocClass == nullptr) {
        return nullptr;
    }
    CObject* made = m_pDocClass->CreateObject();
    if (made == nullptr) {
        return nullptr;
    }
    if (!made->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete made;
        return nullptr;
    }
    auto* doc = static_cast<CDocument*>(made);
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (m_pFrameClass == nullptr) {
        return nullptr;
    }
    CObject* made = m_pFrameClass->CreateObject();
    if (made == nullptr) {
        return nullptr;
    }
    if (!made->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete made;
        return nullptr;
    }
    // The frame owns itself from here: a failed creation deletes it.
    auto* frame = static_cast<CFrameWnd*>(made);
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
        if (!GetNextDoc(pos)->SaveModified()) {
            return FALSE;
        }
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    // Closing deletes the document and takes it off the list: always start again at the head.
    POSITION pos;
    while ((pos = GetFirstDocPosition()) != nullptr) {
        CDocument* doc = GetNextDoc(pos);
        BOOL autoDelete = doc->m_bAutoDelete;
        doc->OnCloseDocument();
        if (!autoDelete) {
            RemoveDocument(doc);  // a document that stays alive leaves the template
        }
    }
}

namespace {

// Destroying the frame takes the document with it when the document has a view there;
// a document without views goes by itself.
void DiscardFrame(CFrameWnd* frame, CDocument* doc) {
    bool hasViews = doc->GetFirstViewPosition() != nullptr;
    frame->DestroyWindow();
    if (!hasViews) {
        delete doc;
    }
}

}  // namespace

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                     CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    if (m_hMenuShared != nullptr) {
        ::DestroyMenu(m_hMenuShared);
    }
    if (m_hAccelTable != nullptr) {
        ::DestroyAcceleratorTable(m_hAccelTable);
    }
}

void CMultiDocTemplate::LoadTemplate() {
    CDocTemplate::LoadTemplate();
    HINSTANCE module = AfxGetResourceHandle();
    if (m_hMenuShared == nullptr) {
        m_hMenuShared = ::LoadMenuA(module, MAKEINTRESOURCEA(m_nIDResource));
    }
    if (m_hAccelTable == nullptr) {
        m_hAccelTable = ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(m_nIDResource));
    }
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    POSITION pos = m_docList.Find(pDoc);
    if (pos != nullptr) {
        m_docList.RemoveAt(pos);
    }
    CDocTemplate::RemoveDocument(pDoc);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const {
    return static_cast<CDocument*>(const_cast<CPtrList&>(m_docList).GetNext(rPos));
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString title;
    if (GetDocString(title, docName) && !title.IsEmpty()) {
        CString number;
        number.Format("%u", m_nUntitledCount + 1);
        title += number;
    } else {
        title.LoadString(AFX_IDS_UNTITLED);
    }
    pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* doc = CreateNewDocument();
    if (doc == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    // The frame's creation must not delete the document should its view come and go.
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (frame == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        delete doc;
        return nullptr;
    }
    if (lpszPathName == nullptr) {
        SetDefaultTitle(doc);
        if (!bMakeVisible) {
            doc->m_bEmbedded = TRUE;
        }
        if (!doc->OnNewDocument()) {
            DiscardFrame(frame, doc);
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        if (!doc->OnOpenDocument(lpszPathName)) {
            DiscardFrame(frame, doc);
            return nullptr;
        }
        doc->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}
