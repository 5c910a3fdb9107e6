// The rules by which dialog data exchange reads whole numbers from a field's text, and the
// %1..%9 insertion of the library's prompts.
#pragma once

#include "classlib/cstring.h"

// The kinds of whole number a dialog field can be exchanged with.
enum class AfxWholeKind { Int, Long, Short, UInt, DWord, Byte };

// Reads a decimal whole number: blanks, an optional sign, digits, blanks, nothing else. FALSE
// (and *pValue unchanged) when the text is no number of that kind: not a number, negative for
// the unsigned kinds, or beyond the kind's range.
BOOL AfxParseWholeNumber(LPCTSTR lpszText, AfxWholeKind kind, long long* pValue);

// Replaces %1 to %9 in the format with the given texts (a missing one with nothing); any other
// character after % stays as it is.
void AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString);
