// CDocManager: the templates of the application, File New with its choice of document kind,
// File Open with the file dialog, and opening a file with the template that suits it best.
#include "classlib/classlib.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CDocManager, CObject)

namespace {

// The library's File New choice: the document kinds by name, in registration order.
class CNewTypeDlg : public CDialog {
public:
    explicit CNewTypeDlg(CPtrList* pList) : CDialog(AFX_IDD_NEWTYPEDLG), m_pList(pList) {}

    CDocTemplate* m_pSelectedTemplate = nullptr;

    BOOL OnInitDialog() override {
        CListBox* list = static_cast<CListBox*>(GetDlgItem(AFX_IDC_LISTBOX));
        for (POSITION pos = m_pList->GetHeadPosition(); pos != nullptr;) {
            auto* tmpl = static_cast<CDocTemplate*>(m_pList->GetNext(pos));
            CString name;
            if (tmpl->GetDocString(name, CDocTemplate::fileNewName) && !name.IsEmpty()) {
                int index = list->AddString(name);
                list->SetItemData(index, reinterpret_cast<DWORD_PTR>(tmpl));
            }
        }
        list->SetCurSel(0);
        return CDialog::OnInitDialog();
    }
    void OnOK() override {
        CListBox* list = static_cast<CListBox*>(GetDlgItem(AFX_IDC_LISTBOX));
        int index = list->GetCurSel();
        if (index < 0) {
            return;  // nothing chosen: the dialog stays
        }
        m_pSelectedTemplate = reinterpret_cast<CDocTemplate*>(list->GetItemData(index));
        CDialog::OnOK();
    }

protected:
    void OnDoubleClick() { OnOK(); }
    DECLARE_MESSAGE_MAP()

private:
    CPtrList* m_pList;
};

BEGIN_MESSAGE_MAP(CNewTypeDlg, CDialog)
ON_CONTROL(LBN_DBLCLK, AFX_IDC_LISTBOX, OnDoubleClick)
END_MESSAGE_MAP()

}  // namespace

void AfxAppendFilterSuffix(std::string& filter, OPENFILENAMEA& ofn, CDocTemplate* pTemplate,
                           CString* pstrDefaultExt) {
    CString filterExt;
    CString filterName;
    if (!pTemplate->GetDocString(filterExt, CDocTemplate::filterExt) || filterExt.IsEmpty() ||
        !pTemplate->GetDocString(filterName, CDocTemplate::filterName) || filterName.IsEmpty()) {
        return;
    }
    if (pstrDefaultExt != nullptr) {
        *pstrDefaultExt = filterExt.Mid(1);  // without the dot
        ofn.lpstrDefExt = *pstrDefaultExt;
        ofn.nFilterIndex = ofn.nMaxCustFilter + 1;  // 1-based
    }
    filter += filterName.str();
    filter.push_back('\0');
    filter += "*" + filterExt.str();
    filter.push_back('\0');
    ++ofn.nMaxCustFilter;
}

CDocManager::CDocManager() = default;

CDocManager::~CDocManager() {
    for (POSITION pos = m_templateList.GetHeadPosition(); pos != nullptr;) {
        delete static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
    }
    m_templateList.RemoveAll();
}

void CDocManager::Serialize(CArchive&) {}

void CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate) {
    if (pTemplate == nullptr) {
        return;
    }
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate.release());  // deleted by the destructor
}

POSITION CDocManager::GetFirstDocTemplatePosition() const {
    return m_templateList.GetHeadPosition();
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const {
    return static_cast<CDocTemplate*>(const_cast<CPtrList&>(m_templateList).GetNext(pos));
}

void CDocManager::RegisterShellFileTypes(BOOL) {
    // The program registers no file types with the shell.
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName) {
    // A quoted name is taken up to its closing quote.
    CString name(lpszFileName);
    if (!name.IsEmpty() && name[0] == '"') {
        name = name.Mid(1);
        int quote = name.Find('"');
        if (quote >= 0) {
            name = name.Left(quote);
        }
    }
    if (name.GetLength() >= MAX_PATH) {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
        return nullptr;
    }
    CString path;
    if (!AfxFullPath(path, name)) {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
        return nullptr;
    }

    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* tmpl = GetNextDocTemplate(pos);
        CDocument* match = nullptr;
        CDocTemplate::Confidence confidence = tmpl->MatchDocType(path, match);
        if (confidence > bestMatch) {
            bestMatch = confidence;
            best = tmpl;
        }
        if (confidence == CDocTemplate::yesAlreadyOpen) {
            open = match;
            break;
        }
    }

    if (open != nullptr) {
        // Already open: its frame comes to the front instead of a second copy.
        POSITION pos = open->GetFirstViewPosition();
        if (pos != nullptr) {
            CFrameWnd* frame = open->GetNextView(pos)->GetParentFrame();
            if (frame != nullptr) {
                frame->ActivateFrame();
            }
            CWinApp* app = AfxGetApp();
            auto* mainFrame =
                app != nullptr ? DYNAMIC_DOWNCAST(CFrameWnd, app->m_pMainWnd) : nullptr;
            if (mainFrame != nullptr && mainFrame != frame) {
                mainFrame->ActivateFrame();
            }
        }
        return open;
    }
    if (best == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
        return nullptr;
    }
    return best->OpenDocumentFile(path);
}

BOOL CDocManager::SaveAllModified() {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        if (!GetNextDocTemplate(pos)->SaveAllModified()) {
            return FALSE;
        }
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
    }
}

int CDocManager::GetOpenDocumentCount() {
    int count = 0;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* tmpl = GetNextDocTemplate(pos);
        for (POSITION doc = tmpl->GetFirstDocPosition(); doc != nullptr;) {
            tmpl->GetNextDoc(doc);
            ++count;
        }
    }
    return count;
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                   BOOL bOpenFileDialog, CDocTemplate* pTemplate) {
    CFileDialog dialog(bOpenFileDialog);
    CString title;
    title.LoadString(nIDSTitle);
    dialog.m_ofn.Flags |= lFlags;

    std::string filter;
    CString defaultExt;
    if (pTemplate != nullptr) {
        AfxAppendFilterSuffix(filter, dialog.m_ofn, pTemplate, &defaultExt);
    } else {
        bool first = true;
        for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
            AfxAppendFilterSuffix(filter, dialog.m_ofn, GetNextDocTemplate(pos),
                                  first ? &defaultExt : nullptr);
            first = false;
        }
    }
    CString allFilter;
    allFilter.LoadString(AFX_IDS_ALLFILTER);
    filter += allFilter.str();
    filter.push_back('\0');
    filter += "*.*";
    filter.push_back('\0');
    filter.push_back('\0');
    ++dialog.m_ofn.nMaxCustFilter;
    dialog.m_ofn.lpstrFilter = filter.data();
    dialog.m_ofn.lpstrTitle = title;

    char buffer[MAX_PATH] = {};
    std::strncpy(buffer, fileName, MAX_PATH - 1);
    dialog.m_ofn.lpstrFile = buffer;
    dialog.m_ofn.nMaxFile = MAX_PATH;
    INT_PTR result = dialog.DoModal();
    fileName = buffer;
    return result == IDOK;
}

BOOL CDocManager::OnDDECommand(LPTSTR) { return FALSE; }

void CDocManager::OnFileNew() {
    if (m_templateList.IsEmpty()) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return;
    }
    auto* tmpl = static_cast<CDocTemplate*>(m_templateList.GetHead());
    if (m_templateList.GetCount() > 1) {
        CNewTypeDlg dialog(&m_templateList);
        if (dialog.DoModal() != IDOK || dialog.m_pSelectedTemplate == nullptr) {
            return;
        }
        tmpl = dialog.m_pSelectedTemplate;
    }
    tmpl->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen() {
    CString newName;
    if (!DoPromptFileName(newName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE,
                          nullptr)) {
        return;
    }
    CWinApp* app = AfxGetApp();
    if (app != nullptr) {
        app->OpenDocumentFile(newName);
    }
}
