// The lookup that opens a new document of one kind by the document name of its template.
#pragma once

#include "classlib/classlib.h"

// The document names of the two image templates.
constexpr const char* kBinFileDocName = "Bin File";
constexpr const char* kHexFileDocName = "Hex File";

// The first registered template whose document name equals lpszDocName opens a new untitled
// document; that document, or null when no template has the name (or the new document failed).
CDocument* OpenNewDocumentOfType(LPCTSTR lpszDocName);
