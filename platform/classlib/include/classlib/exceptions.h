// The class library's exceptions: thrown by value, caught as `CException&`.
#pragma once

#include "classlib/object.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    // The text for the user; FALSE when the exception has none.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                 UINT* pnHelpContext = nullptr) const;
};

// Memory ran out inside the class library or in a creation it was asked to do.
class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

// A window, GDI object or other resource could not be created or loaded.
class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
public:
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

// An operation the user has already been told about failed: whoever catches it reports nothing
// more (a dialog's failed validation, a document that refused its file).
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowNotSupportedException();
