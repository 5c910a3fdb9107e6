// The application's document manager and the view of .hex images.
#include "pending_parts.h"

#include "tarnel/shell/bin_view.h"

void InstallDocManager(CWinApp&) {}

CRuntimeClass* HexViewClass() { return RUNTIME_CLASS(CBinView); }

void CheckModifiedDocuments(CWinApp&) {}
