// Documents and views: a document holds the data, reads and writes its file through an archive,
// keeps its views and asks the user before its changes are lost; a view draws its document in a
// frame. CCtrlView is a view that is itself a control.
#pragma once

#include "classlib/archive.h"
#include "classlib/collections.h"
#include "classlib/frame.h"

class CDC;
class CDocTemplate;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    virtual void AddView(CView* pView);
    virtual void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& rPosition) const;
    // Calls OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Takes the full form of the path, the file's name as title, and (bAddToMRU) puts the path
    // on the application's recent-file list.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // The document's life: a new empty document, one read from a file, one written to a file;
    // FALSE on failure (the user has been told).
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Closes every frame showing the document, empties it and (when auto-deleting) deletes it.
    virtual void OnCloseDocument();
    // Frees the document's data (before a new, an open and a close).
    virtual void DeleteContents();
    // Reads or writes the document's data; the default stores and loads nothing.
    void Serialize(CArchive& ar) override;
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, const CException* e, BOOL bSaving,
                                         UINT nIDPDefault);
    virtual CFile* GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    // Asks "Save changes to ...?" when modified: Yes saves (FALSE when that fails), No drops the
    // changes, Cancel answers FALSE.
    virtual BOOL SaveModified();
    // Whether the frame may close: yes when another frame still shows the document, else
    // SaveModified.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Save to lpszPathName, or (null) ask for a name first; a new file that could not be written
    // is removed. bReplace: the document takes the new name.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    // Save under the document's name (asking for one when it has none or the file is read-only).
    virtual BOOL DoFileSave();
    // A menu of the document's own for its frames; none by default.
    virtual HMENU GetDefaultMenu();

    virtual void OnChangedViewList();
    // Numbers the frames that show the document (":1", ":2" in their titles) and retitles them.
    void UpdateFrameCounts();

    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();

    BOOL m_bAutoDelete = TRUE;  // deleted when its last view goes
    BOOL m_bEmbedded = FALSE;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    CPtrList m_viewList;
    CDocTemplate* m_pDocTemplate = nullptr;
    friend class CDocTemplate;

    DECLARE_MESSAGE_MAP()
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // Commands go to the view first, then to its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;  // a view owns itself: deleted with its window

    virtual void OnDraw(CDC* pDC) = 0;
    // Once, when the frame first shows the view (WM_INITIALUPDATE); the default updates it.
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

protected:
    CDocument* m_pDocument = nullptr;
    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};

// A view that is a common or standard control of the given window class: the control paints
// itself, the view takes part in routing, activation and updates.
class CCtrlView : public CView {
    DECLARE_DYNAMIC(CCtrlView)
public:
    CCtrlView(LPCTSTR lpszClass, DWORD dwStyle);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(CDC* pDC) override;
    void OnPaint();

protected:
    CString m_strClass;
    DWORD m_dwDefaultStyle;

    DECLARE_MESSAGE_MAP()
};
