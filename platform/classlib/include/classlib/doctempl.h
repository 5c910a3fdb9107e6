// Document templates and the document manager: which document, frame and view classes make up
// one kind of document, how its files are recognised and opened, and File New / File Open for
// all kinds.
#pragma once

#include "classlib/dialog.h"
#include "classlib/docview.h"

#include <memory>

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    ~CDocTemplate() override;

    // The pieces of the template's string resource, "\n"-separated in this order.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };
    // How well the path suits this template: yesAlreadyOpen (with the document) when one of its
    // documents has that file, yesAttemptNative for its own extension, else yesAttemptForeign.
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);

    // Reads the template's strings (and, for the multiple kind, its menu and accelerators).
    virtual void LoadTemplate();
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;

    virtual CDocument* CreateNewDocument();
    // A frame (with its view) for the document; null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    // Sends WM_INITIALUPDATE to the frame's views and shows it.
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // A new document (null path: untitled) in a new frame; null on failure, which the user has
    // been told about.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
};

// Any number of documents of one kind, each in frames of its own inside an MDI frame.
class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // "<document name><n>", n counting this template's untitled documents, else "Untitled".
    void SetDefaultTitle(CDocument* pDocument) override;

    // The menu and accelerators that the frames of these documents show (the template owns them).
    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;

protected:
    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
};

// The templates of the application and the commands that choose among them. Owns the templates.
class CDocManager : public CObject {
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager();
    ~CDocManager() override;
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    void Serialize(CArchive& ar) override;
    virtual void AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate);
    virtual POSITION GetFirstDocTemplatePosition() const;
    virtual CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual void RegisterShellFileTypes(BOOL bCompat);
    // Opens the file with the best-matching template; a file already open only activates its
    // frame. Null (after the box "Failed to open document.") when no template takes it.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();
    // The file dialog for File Open and Save As: the filters of the given template (or of all,
    // then every file), the title from the string nIDSTitle; TRUE when the user chose a file.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                  BOOL bOpenFileDialog, CDocTemplate* pTemplate);
    virtual BOOL OnDDECommand(LPTSTR lpszCommand);
    // A new untitled document; with several templates the user chooses the kind first.
    virtual void OnFileNew();
    virtual void OnFileOpen();

protected:
    CPtrList m_templateList;
};

// Appends "name\0*.ext\0" for the template's filter; the first template's extension becomes the
// dialog's default extension and filter.
void AfxAppendFilterSuffix(std::string& filter, OPENFILENAMEA& ofn, CDocTemplate* pTemplate,
                           CString* pstrDefaultExt);
