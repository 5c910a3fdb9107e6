// The array in which a dock bar keeps its docked bars: rows of entries, each row ended by a null
// entry, behind a null at index 0. An entry is a bar (a pointer) or a placeholder: the control id
// of a bar that left, kept where the bar was so that it can come back there.
#pragma once

#include "classlib/collections.h"

// Placeholders are control ids (below 0x10000) stored in the pointer's place.
inline BOOL AfxIsDockPlaceholder(const void* pEntry) {
    UINT_PTR value = reinterpret_cast<UINT_PTR>(pEntry);
    return value != 0 && value <= 0xFFFF;
}
inline void* AfxDockPlaceholder(UINT nID) {
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(nID & 0xFFFF));
}
inline UINT AfxDockPlaceholderID(const void* pEntry) {
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(pEntry));
}

// The first index from 1 on that holds the entry, skipping nPosExclude; -1 when none does.
INT_PTR AfxFindDockEntry(const CPtrArray& arr, const void* pEntry, INT_PTR nPosExclude = -1);

// The index of the row's first entry and of the null that ends the row holding nPos.
INT_PTR AfxDockRowStart(const CPtrArray& arr, INT_PTR nPos);
INT_PTR AfxDockRowEnd(const CPtrArray& arr, INT_PTR nPos);

// Takes out the entry at nPos; a row left empty goes with it.
void AfxRemoveDockEntry(CPtrArray& arr, INT_PTR nPos);

// Puts the entry at index nPos (1 to the last index): into the row that holds nPos, before the
// entry there (after the row's last one when nPos is the null that ends it). Returns nPos.
INT_PTR AfxInsertDockEntry(CPtrArray& arr, INT_PTR nPos, void* pEntry);

// Puts the entry into a new row of its own that starts at nRowStart: the first index of a row,
// or the array's size for a last row. Returns the entry's index.
INT_PTR AfxInsertDockRow(CPtrArray& arr, INT_PTR nRowStart, void* pEntry);

// Makes the array well formed: a null at index 0, no empty rows, a null at the end.
void AfxTidyDockArray(CPtrArray& arr);
