// The stand-in hooks of the interactive calls and the calls that consult them.
#include "classlib/classlib.h"

#include <shellapi.h>

#include <utility>

namespace {

AfxModalDialogHook& ModalHook() {
    static AfxModalDialogHook hook;
    return hook;
}
AfxFileDialogHook& FileHook() {
    static AfxFileDialogHook hook;
    return hook;
}
AfxPopupMenuHook& PopupHook() {
    static AfxPopupMenuHook hook;
    return hook;
}
AfxShellExecuteHook& ShellHook() {
    static AfxShellExecuteHook hook;
    return hook;
}
AfxMessageBeepHook& BeepHook() {
    static AfxMessageBeepHook hook;
    return hook;
}

}  // namespace

AfxModalDialogHook AfxSetModalDialogHook(AfxModalDialogHook hook) {
    return std::exchange(ModalHook(), std::move(hook));
}

void AfxCallModalDialogHook(CDialog* pDialog) {
    // A copy: the hook may replace itself while it runs.
    AfxModalDialogHook hook = ModalHook();
    if (hook) {
        hook(pDialog);
    }
}

AfxFileDialogHook AfxSetFileDialogHook(AfxFileDialogHook hook) {
    return std::exchange(FileHook(), std::move(hook));
}
const AfxFileDialogHook& AfxGetFileDialogHook() { return FileHook(); }

AfxPopupMenuHook AfxSetPopupMenuHook(AfxPopupMenuHook hook) {
    return std::exchange(PopupHook(), std::move(hook));
}
const AfxPopupMenuHook& AfxGetPopupMenuHook() { return PopupHook(); }

AfxShellExecuteHook AfxSetShellExecuteHook(AfxShellExecuteHook hook) {
    return std::exchange(ShellHook(), std::move(hook));
}

HINSTANCE AfxShellExecute(HWND hWnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters,
                          LPCSTR lpDirectory, int nShowCmd) {
    if (ShellHook()) {
        return ShellHook()(hWnd, lpVerb, lpFile, lpParameters, lpDirectory, nShowCmd);
    }
    return ::ShellExecuteA(hWnd, lpVerb, lpFile, lpParameters, lpDirectory, nShowCmd);
}

AfxMessageBeepHook AfxSetMessageBeepHook(AfxMessageBeepHook hook) {
    return std::exchange(BeepHook(), std::move(hook));
}

BOOL AfxMessageBeep(UINT uType) {
    if (BeepHook()) {
        BeepHook()(uType);
        return TRUE;
    }
    return ::MessageBeep(uType);
}
