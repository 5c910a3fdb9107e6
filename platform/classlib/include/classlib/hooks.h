// Hooks through which a test driver stands in for the user at the library's interactive calls:
// modal dialogs, file dialogs, popup menus, the shell's open verb and warning beeps (message
// boxes have theirs beside AfxMessageBox). Each setter returns the hook it replaces; an empty
// hook restores the real behaviour.
#pragma once

#include <windows.h>

#include <functional>

class CDialog;
class CFileDialog;

// Called once for each modal dialog when its own message loop first runs out of messages (the
// dialog is shown and initialised). The hook drives the dialog's controls as a user would; the
// dialog's loop goes on until something ends it.
using AfxModalDialogHook = std::function<void(CDialog* pDialog)>;
AfxModalDialogHook AfxSetModalDialogHook(AfxModalDialogHook hook);
// The modal dialog whose hook call is due (for the library's loop).
void AfxCallModalDialogHook(CDialog* pDialog);

// Answers a file dialog instead of the system's dialog: the hook reads the dialog's request
// (m_ofn), may write the chosen path into m_ofn.lpstrFile and the filter into
// m_ofn.nFilterIndex, and returns IDOK or IDCANCEL.
using AfxFileDialogHook = std::function<INT_PTR(CFileDialog& dialog)>;
AfxFileDialogHook AfxSetFileDialogHook(AfxFileDialogHook hook);
const AfxFileDialogHook& AfxGetFileDialogHook();

// Chooses from a popup menu instead of the user: gets the menu (already updated through
// WM_INITMENUPOPUP), the tracking flags, the point and the owner, and returns the chosen
// command, 0 for none.
using AfxPopupMenuHook = std::function<UINT(HMENU hMenu, UINT nFlags, POINT point, HWND hWndOwner)>;
AfxPopupMenuHook AfxSetPopupMenuHook(AfxPopupMenuHook hook);
const AfxPopupMenuHook& AfxGetPopupMenuHook();

// ShellExecuteA, or the hook's answer in its place.
using AfxShellExecuteHook =
    std::function<HINSTANCE(HWND hWnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters,
                            LPCSTR lpDirectory, int nShowCmd)>;
AfxShellExecuteHook AfxSetShellExecuteHook(AfxShellExecuteHook hook);
HINSTANCE AfxShellExecute(HWND hWnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters,
                          LPCSTR lpDirectory, int nShowCmd);

// MessageBeep, or the hook in its place.
using AfxMessageBeepHook = std::function<void(UINT uType)>;
AfxMessageBeepHook AfxSetMessageBeepHook(AfxMessageBeepHook hook);
BOOL AfxMessageBeep(UINT uType);
