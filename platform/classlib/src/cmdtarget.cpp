// Command targets: the search of message maps and the dispatch of commands, update requests and
// notifications to their handlers.
#include "classlib/cmdtarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

template <class Match>
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, Match match) {
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (match(*e)) {
                return e;
            }
        }
    }
    return nullptr;
}

}  // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage) const {
    return FindEntry(GetMessageMap(), [nMessage](const AFX_MSGMAP_ENTRY& e) {
        return e.nMessage == nMessage && e.nCode == 0 && e.nID == 0 && e.nLastID == 0;
    });
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The high word of a notification's code names its message (WM_NOTIFY or a reflected one).
    UINT nMsg = 0;
    UINT code = static_cast<UINT>(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(code);
        code = LOWORD(code);
    }
    if (nMsg == 0) {
        nMsg = WM_COMMAND;
    }
    // Every matching entry in turn, this class's first: an _EX handler that declines passes the
    // command on to the next one.
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
            if (entry->nMessage != nMsg || entry->nCode != code || nID < entry->nID ||
                nID > entry->nLastID) {
                continue;
            }
            if (pHandlerInfo != nullptr) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = entry;
                return TRUE;
            }
            BOOL handled = TRUE;
            AFX_MSGCALL call = {nMsg, 0, 0, nID, pExtra, nullptr, &handled};
            if (nCode == CN_UPDATE_COMMAND_UI) {
                CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
                pCmdUI->m_bContinueRouting = FALSE;
                entry->pfn(this, call);
                return !pCmdUI->m_bContinueRouting;
            }
            entry->pfn(this, call);
            if (handled) {
                return TRUE;
            }
        }
    }
    return FALSE;
}
