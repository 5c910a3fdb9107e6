// Base types of the class library: Win32's own on Windows, the few the portable part needs
// elsewhere.
#pragma once

#include "w32/types.h"

#include <cstdarg>
#include <cstddef>

#if !defined(_WIN32)
// The portable part (strings, collections, geometry) is also built natively for its tests; these
// are the Win32 records it is defined over.
typedef DWORD COLORREF;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef char TCHAR;
struct tagSIZE {
    LONG cx;
    LONG cy;
};
struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef tagSIZE SIZE;
typedef tagRECT RECT;
typedef POINT* LPPOINT;
typedef SIZE* LPSIZE;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;
#endif

// Opaque iteration position of the lists and maps.
struct __POSITION {};
typedef __POSITION* POSITION;

#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))
