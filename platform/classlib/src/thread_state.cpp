// Per-thread state of the window part and the cleanup of its temporary objects.
#include "classlib/thread_state.h"

AFX_THREAD_STATE::~AFX_THREAD_STATE() {
    if (m_hHookOldCbtFilter != nullptr) {
        ::UnhookWindowsHookEx(m_hHookOldCbtFilter);
    }
}

void AFX_THREAD_STATE::DeleteTempMaps() {
    m_windows.DeleteTemp();
    m_dcs.DeleteTemp();
    m_gdiObjects.DeleteTemp();
    m_pens.DeleteTemp();
    m_brushes.DeleteTemp();
    m_fonts.DeleteTemp();
    m_bitmaps.DeleteTemp();
    m_regions.DeleteTemp();
    m_menus.DeleteTemp();
    m_imageLists.DeleteTemp();
}

size_t AFX_THREAD_STATE::TemporaryCount() const {
    return m_windows.TemporaryCount() + m_dcs.TemporaryCount() + m_gdiObjects.TemporaryCount() +
           m_pens.TemporaryCount() + m_brushes.TemporaryCount() + m_fonts.TemporaryCount() +
           m_bitmaps.TemporaryCount() + m_regions.TemporaryCount() + m_menus.TemporaryCount() +
           m_imageLists.TemporaryCount();
}

AFX_THREAD_STATE* AfxGetThreadState() {
    // Kept for the life of the process: objects of static lifetime (the application, shared
    // fonts of the toolkits) detach from these maps while the process exits, after any
    // thread-local object would be gone. Only the UI thread and threads that use windows get
    // one.
    thread_local AFX_THREAD_STATE* state = new AFX_THREAD_STATE;
    return state;
}
