// CSettingsBar: the frame's bar with the serial port and chip lists, whose selections are the
// CommPort and ChipName settings.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/programming/app_settings.h"

class CSettingsBar : public CDialogBar {
    DECLARE_DYNAMIC(CSettingsBar)
public:
    // settings: where the user's choices of port and chip are kept.
    explicit CSettingsBar(CAppSettings& settings);
    ~CSettingsBar() override;

    // Selects the port listed under exactly that name when it is one the program offers (the
    // list stays as it is when none matches); any other name is refused with the box "Port can
    // not be opened." and leaves the list without a selection.
    void SelectPort(LPCTSTR lpszName);
    // Selects the chip listed under exactly that name when it is a chip-table name; any other
    // name changes nothing.
    void SelectChip(LPCTSTR lpszName);
    // The current chip: the selected chip's name, empty when none is selected.
    CString GetSelectedChip();
    void EnableChipCombo();
    void DisableChipCombo();

    CComboBox* PortCombo();
    CComboBox* ChipCombo();

protected:
    void OnSelChangePort();
    void OnSelChangeChip();

    CAppSettings& m_settings;

    DECLARE_MESSAGE_MAP()
};
