// Giving a dialog a new font and rescaling it to match.
#pragma once

#include "classlib/classlib.h"

// Sets the font on the dialog and on each of its child windows, and rescales the dialog's client
// area and every child's rectangle by the ratio of the new font's average character width and
// height to those of the font the dialog had (the system font when it had none); a combo box is
// measured by its dropped-down rectangle, so that its list keeps its length. The dialog keeps
// its position. Nothing happens without a dialog window or a font.
void XTChangeDialogFont(CWnd* pDialog, CFont* pFont);
