// The documents' choices through the modal choice dialogs, read only after OK.
#include "tarnel/shell/choice_dialogs.h"

#include "tarnel/shell/destination_memory_dlg.h"
#include "tarnel/shell/memory_options_dlg.h"
#include "tarnel/shell/new_bin_file_dlg.h"
#include "tarnel/shell/select_chip_dlg.h"
#include "tarnel/shell/select_file_type_dlg.h"

bool CChoiceDialogs::SelectChip(CString& chipName, AreaSizes& lengths) {
    CSelectChipDlg dlg;
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    chipName = dlg.GetChipName();
    lengths = dlg.GetLengths();
    return true;
}

bool CChoiceDialogs::ChooseMemory(const AreaChoice& present, bool baseAllowed, BYTE& kind,
                                  UINT& base) {
    CMemoryOptionsDlg dlg(present.data, present.code, present.special, baseAllowed);
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    kind = dlg.GetMemoryType();
    base = dlg.GetBaseAddress();
    return true;
}

bool CChoiceDialogs::ChooseDestination(bool boardLabels, AreaChoice& chosen) {
    CDestinationMemoryDlg dlg;
    if (boardLabels) {
        dlg.UseBoardLabels();
    }
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    chosen = dlg.GetChoices();
    return true;
}

bool CChoiceDialogs::NewBinLength(UINT& length) {
    CNewBinFileDlg dlg;
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    length = dlg.GetLength();
    return true;
}

int CChoiceDialogs::ChooseHexFormat() {
    CHexFormatDlg dlg;
    return dlg.DoModal() == IDOK ? dlg.GetSelectedIndex() : 0;
}

bool CChoiceDialogs::ChooseResidentLoader(int& index) {
    CResidentLoaderDlg dlg;
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    index = dlg.GetSelectedIndex();
    return true;
}
