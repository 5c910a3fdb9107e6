// Selected cells to the clipboard as text.
#include "tarnel/shell/cell_clipboard.h"

#include <cstring>

BOOL CopyCellsToClipboard(CWnd* pOwner, const BYTE* pCells, int nFirst, int nLast) {
    if (!::OpenClipboard(pOwner != nullptr ? pOwner->m_hWnd : nullptr)) {
        return FALSE;
    }
    ::EmptyClipboard();
    BOOL offered = TRUE;
    if (pCells != nullptr && nFirst >= 0 && nLast >= nFirst) {
        const size_t count = static_cast<size_t>(nLast - nFirst + 1);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, count + 1);
        void* text = memory != nullptr ? ::GlobalLock(memory) : nullptr;
        if (text != nullptr) {
            std::memcpy(text, pCells + nFirst, count);
            ::GlobalUnlock(memory);
            offered = ::SetClipboardData(CF_TEXT, memory) != nullptr;
            if (!offered) {
                ::GlobalFree(memory);
            }
        } else {
            if (memory != nullptr) {
                ::GlobalFree(memory);
            }
            offered = FALSE;
        }
    }
    ::CloseClipboard();
    return offered;
}
