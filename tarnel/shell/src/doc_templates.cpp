// New documents by template name.
#include "tarnel/shell/doc_templates.h"

CDocument* OpenNewDocumentOfType(LPCTSTR lpszDocName) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || lpszDocName == nullptr) {
        return nullptr;
    }
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* tmpl = app->GetNextDocTemplate(pos);
        CString name;
        if (tmpl->GetDocString(name, CDocTemplate::docName) && name == lpszDocName) {
            return tmpl->OpenDocumentFile(nullptr);
        }
    }
    return nullptr;
}
