// Rows of a dock bar's array: finding, inserting and removing entries with the row ends kept
// right.
#include "classlib/dock_rows.h"

INT_PTR AfxFindDockEntry(const CPtrArray& arr, const void* pEntry, INT_PTR nPosExclude) {
    for (INT_PTR i = 1; i < arr.GetSize(); ++i) {
        if (i != nPosExclude && arr[i] == pEntry) {
            return i;
        }
    }
    return -1;
}

INT_PTR AfxDockRowStart(const CPtrArray& arr, INT_PTR nPos) {
    while (nPos > 0 && arr[nPos - 1] != nullptr) {
        --nPos;
    }
    return nPos;
}

INT_PTR AfxDockRowEnd(const CPtrArray& arr, INT_PTR nPos) {
    while (nPos < arr.GetSize() && arr[nPos] != nullptr) {
        ++nPos;
    }
    return nPos;
}

void AfxRemoveDockEntry(CPtrArray& arr, INT_PTR nPos) {
    if (nPos <= 0 || nPos >= arr.GetSize()) {
        return;
    }
    arr.RemoveAt(nPos);
    // The entry was a row on its own when nulls now meet where it was.
    if (nPos < arr.GetSize() && arr[nPos - 1] == nullptr && arr[nPos] == nullptr) {
        arr.RemoveAt(nPos);
    }
}

INT_PTR AfxInsertDockEntry(CPtrArray& arr, INT_PTR nPos, void* pEntry) {
    arr.InsertAt(nPos, pEntry);
    return nPos;
}

INT_PTR AfxInsertDockRow(CPtrArray& arr, INT_PTR nRowStart, void* pEntry) {
    if (nRowStart >= arr.GetSize()) {
        // After the last row; an array whose last row lacks its end gets it first.
        if (arr.GetSize() == 0 || arr[arr.GetSize() - 1] != nullptr) {
            arr.Add(nullptr);
        }
        INT_PTR at = arr.Add(pEntry);
        arr.Add(nullptr);
        return at;
    }
    arr.InsertAt(nRowStart, nullptr);
    arr.InsertAt(nRowStart, pEntry);
    return nRowStart;
}

void AfxTidyDockArray(CPtrArray& arr) {
    if (arr.GetSize() == 0 || arr[0] != nullptr) {
        arr.InsertAt(0, nullptr);
    }
    for (INT_PTR i = 1; i < arr.GetSize();) {
        if (arr[i] == nullptr && arr[i - 1] == nullptr) {
            arr.RemoveAt(i);
        } else {
            ++i;
        }
    }
    if (arr[arr.GetSize() - 1] != nullptr) {
        arr.Add(nullptr);
    }
}
