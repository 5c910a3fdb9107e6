// The button records of a toolbar control, its image well and its resource, as every bar over
// the control reads and changes them. The bar's window is the control itself; writes go to the
// control's own procedure (DefWindowProc), past the bar's message map.
#pragma once

#include "classlib/toolbar_resource.h"
#include "classlib/wnd.h"

#include <optional>

// The control's record of the button at nIndex (all zeros where there is none).
void AfxGetToolBarButton(HWND hWndBar, int nIndex, TBBUTTON* pButton);

// Writes a changed record back: a change of state alone by command, where the command names
// this button only; anything else replaces the button without drawing in between.
void AfxSetToolBarButton(CWnd& bar, int nIndex, const TBBUTTON& button);

// Replaces every button by one per command (nIDCount buttons without images where lpIDArray is
// null); a command 0 is a separator cxSeparator wide. FALSE when the control refuses one.
BOOL AfxSetToolBarButtons(CWnd& bar, const UINT* lpIDArray, int nIDCount, int cxSeparator);

// Gives the control hbmNew as its images, cxImage wide each, in place of hbmCurrent (which is
// deleted then, and set to hbmNew). FALSE, and nothing changed, when the control refuses it.
BOOL AfxSetToolBarBitmap(CWnd& bar, HBITMAP& hbmCurrent, HBITMAP hbmNew, int cxImage);

// The toolbar resource (type 241) lpszResourceName of hInst, read; nothing where it is missing
// or not a toolbar resource.
std::optional<AFX_TOOLBARRESOURCE> AfxLoadToolBarResource(HINSTANCE hInst,
                                                          LPCTSTR lpszResourceName);

// The idle update of the bar's buttons, one at a time in state (its m_pOther the bar): each
// button but the separators is offered to the bar's own update handlers first, then to
// pTarget's route; the controls placed on the bar follow.
void AfxUpdateToolBarButtons(CWnd& bar, CCmdUI& state, CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
