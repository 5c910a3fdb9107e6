// Per-thread state of the window part: handle maps, the window being created, the message being
// handled and the thread's creation hook.
#pragma once

#include "classlib/gdi.h"
#include "classlib/handle_map.h"
#include "classlib/imagelist.h"
#include "classlib/menu.h"
#include "classlib/wnd.h"

class CWinThread;

struct AFX_THREAD_STATE {
    // The message being handled by the innermost window procedure of this thread.
    MSG m_lastSentMsg = {};
    // The window object whose CreateEx is running and that waits for its handle.
    CWnd* m_pWndInit = nullptr;
    HHOOK m_hHookOldCbtFilter = nullptr;
    CWinThread* m_pCurrentWinThread = nullptr;
    // The bar whose status-bar help shows now, and the command it shows (-1: none).
    class CControlBar* m_pLastStatus = nullptr;
    INT_PTR m_nLastStatus = -1;

    CHandleMap<CWnd, HWND, CWnd, &CWnd::m_hWnd> m_windows;
    CHandleMap<CDC, HDC, CDC, &CDC::m_hDC> m_dcs;
    CHandleMap<CGdiObject, HGDIOBJ, CGdiObject, &CGdiObject::m_hObject> m_gdiObjects;
    CHandleMap<CPen, HGDIOBJ, CGdiObject, &CGdiObject::m_hObject> m_pens;
    CHandleMap<CBrush, HGDIOBJ, CGdiObject, &CGdiObject::m_hObject> m_brushes;
    CHandleMap<CFont, HGDIOBJ, CGdiObject, &CGdiObject::m_hObject> m_fonts;
    CHandleMap<CBitmap, HGDIOBJ, CGdiObject, &CGdiObject::m_hObject> m_bitmaps;
    CHandleMap<CRgn, HGDIOBJ, CGdiObject, &CGdiObject::m_hObject> m_regions;
    CHandleMap<CMenu, HMENU, CMenu, &CMenu::m_hMenu> m_menus;
    CHandleMap<CImageList, HIMAGELIST, CImageList, &CImageList::m_hImageList> m_imageLists;

    ~AFX_THREAD_STATE();
    // Deletes every temporary object of this thread (idle time).
    void DeleteTempMaps();
    size_t TemporaryCount() const;
};

AFX_THREAD_STATE* AfxGetThreadState();
