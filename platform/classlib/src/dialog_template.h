// Dialog templates from the resources and windows made from them, shared by dialogs and dialog
// bars (private to the library).
#pragma once

#include "classlib/classlib.h"

#include <string>

// The template's bytes, empty when the resource is missing.
std::string AfxLoadDialogTemplate(LPCTSTR lpszTemplateName);

// The style word of a template in memory (either template form).
DWORD* AfxDialogTemplateStyle(std::string& tmpl);

// Creates pWnd's window from a template in memory with the given parent or owner; the object is
// bound to the window before its first message. FALSE when creation failed.
BOOL AfxCreateDialogWindow(CWnd* pWnd, const void* lpDialogTemplate, HWND hWndParent);
