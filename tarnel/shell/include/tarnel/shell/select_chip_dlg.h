// CSelectChipDlg: "Select chip", the chip and area lengths of a new or loaded .hex image.
#pragma once

#include "tarnel/images/memory_image.h"
#include "tarnel/shell/choice_dlg.h"

class CSelectChipDlg : public CChoiceDlg {
public:
    explicit CSelectChipDlg(CWnd* pParent = nullptr);

    // Read after OK: the chosen chip and its lengths in bytes.
    const CString& GetChipName() const { return m_strChipName; }
    AreaSizes GetLengths() const;

    BOOL OnInitDialog() override;
    // Closes only with a chip chosen and lengths that are whole numbers in range.
    void OnOK() override;
    void OnBoardChanged();
    void OnChipChanged();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The list shows one board's chips (or all) with none chosen and no lengths.
    void ListChipsOf(int boardId);
    void ShowLengthsOfChosenChip();

    CComboBox m_cbBoards;
    CListBox m_lbChips;
    CString m_strCurrentChip;
    CString m_strChipName;
    // As typed: the code in words while the current chip counts words, the special area in words.
    UINT m_nCodeLength = 0;
    UINT m_nDataLength = 0;
    UINT m_nSpecialLength = 0;

    DECLARE_MESSAGE_MAP()
};
