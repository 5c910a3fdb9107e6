// The clipboard text of selected image cells.
#pragma once

#include "classlib/classlib.h"

// Empties the clipboard and, when first..last is a range of cells, offers their bytes as they
// are, followed by a 0, as CF_TEXT (a 0 cell ends the text for a reader). FALSE when the
// clipboard could not be opened or the memory not had.
BOOL CopyCellsToClipboard(CWnd* pOwner, const BYTE* pCells, int nFirst, int nLast);
