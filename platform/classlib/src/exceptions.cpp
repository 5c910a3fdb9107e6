// The class library's exception classes and the functions that raise them.
#include "classlib/exceptions.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)

namespace {

BOOL CopyMessage(LPCTSTR text, LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
    if (pnHelpContext != nullptr) {
        *pnHelpContext = 0;
    }
    if (lpszError == nullptr || nMaxError == 0) {
        return FALSE;
    }
    std::snprintf(lpszError, nMaxError, "%s", text);
    return TRUE;
}

}  // namespace

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext != nullptr) {
        *pnHelpContext = 0;
    }
    if (lpszError != nullptr && nMaxError > 0) {
        lpszError[0] = '\0';
    }
    return FALSE;
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                       UINT* pnHelpContext) const {
    return CopyMessage("Out of memory.", lpszError, nMaxError, pnHelpContext);
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                         UINT* pnHelpContext) const {
    return CopyMessage("A required resource was unavailable.", lpszError, nMaxError, pnHelpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                             UINT* pnHelpContext) const {
    return CopyMessage("An unsupported operation was attempted.", lpszError, nMaxError,
                       pnHelpContext);
}

void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowResourceException() { throw CResourceException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowUserException() { throw CUserException(); }
