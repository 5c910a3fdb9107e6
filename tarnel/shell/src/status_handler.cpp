// The main frame's handling of an operation status: the meaning of the status carried out on
// the Messages window, the progress dialog and the active document.
#include "tarnel/shell/status_handler.h"

#include "tarnel/programming/operation_status.h"
#include "tarnel/frame_rules/status_actions.h"
#include "tarnel/shell/bin_doc.h"
#include "tarnel/shell/hex_doc.h"
#include "tarnel/shell/progress_dlg.h"
#include "tarnel/shell/quillet_document.h"

namespace {

// The file the progress dialog names: the document's path, its title when it has none (an image
// read from the chip), nothing without a document.
CString ProgressFileName(CQuilletDocument* document) {
    if (document == nullptr) {
        return CString();
    }
    return !document->GetPathName().IsEmpty() ? document->GetPathName() : document->GetTitle();
}

void MarkMismatch(CQuilletDocument* document, int nKind, int nCell) {
    if (auto* bin = dynamic_cast<CBinDoc*>(document)) {
        bin->MarkMismatch(nCell, nKind);
    } else if (auto* hex = dynamic_cast<CHexDoc*>(document)) {
        hex->MarkMismatch(nCell, nKind);
    }
}

void Carry(IStatusTarget& target, const StatusAction& action) {
    switch (action.step) {
        case StatusStep::kLine:
            if (action.stringId != 0) {
                target.PostMessageId(action.stringId, action.kind);
            } else {
                target.PostMessageText(action.text.c_str(), action.kind);
            }
            break;
        case StatusStep::kShowProgress:
            target.GetProgressDialog().ShowWindow(SW_SHOW);
            break;
        case StatusStep::kHideProgress:
            target.GetProgressDialog().ShowWindow(SW_HIDE);
            break;
        case StatusStep::kSetMode:
            target.GetProgressDialog().SetMode(action.number);
            break;
        case StatusStep::kSetFileLine:
            target.GetProgressDialog().SetFileLine(
                ProgressFileName(target.GetActiveQuilletDocument()));
            break;
        case StatusStep::kSetStatus:
            target.GetProgressDialog().SetStatus(action.text.c_str());
            break;
        case StatusStep::kSetPos:
            target.GetProgressDialog().SetPos(action.number);
            break;
        case StatusStep::kSetRange:
            target.GetProgressDialog().SetRange(action.number);
            break;
        case StatusStep::kEnableExit:
            target.GetProgressDialog().EnableExit();
            break;
        case StatusStep::kDisableExit:
            target.GetProgressDialog().DisableExit();
            break;
        case StatusStep::kClearCancel:
            target.ClearCancelRequest();
            break;
        case StatusStep::kMarkMismatch:
            MarkMismatch(target.GetActiveQuilletDocument(), action.kind, action.number);
            break;
        case StatusStep::kRedrawViews:
            if (CQuilletDocument* document = target.GetActiveQuilletDocument()) {
                document->UpdateAllViews(nullptr);
            }
            break;
    }
}

}  // namespace

void HandleOperationStatus(IStatusTarget& target, WPARAM code, LPARAM value) {
    if (static_cast<unsigned>(code) != code) {
        return;  // no status is this wide; taking its low bits would give it another meaning
    }
    const StatusActions actions = DescribeOperationStatus(static_cast<unsigned>(code), value);
    // The actions hold copies of the block's contents, so it goes before anything else can fail.
    if (actions.freesBlock) {
        FreeStatusBlock(value);
    }
    for (const StatusAction& action : actions.actions) {
        Carry(target, action);
    }
}
