// The choices between two pictures of a list view: CSelectFileTypeDlg ("Select File Type", the
// document type of File New) and its two kinds, CHexFormatDlg (the form of a stored .hex file,
// which cannot be cancelled) and CResidentLoaderDlg (the HC908 board chip's resident loader).
#pragma once

#include "tarnel/shell/choice_dlg.h"
#include "tarnel/shell/resource.h"

class CDocTemplate;

class CSelectFileTypeDlg : public CChoiceDlg {
public:
    // pTemplates: the document manager's templates in registration order (Bin File, Hex File),
    // the choices of File New; null for the other kinds.
    explicit CSelectFileTypeDlg(CPtrList* pTemplates, UINT nBitmapId = IDB_FILE_TYPES,
                                UINT nTemplateId = IDD_SELECT_FILE_TYPE);

    // Read after OK: the chosen item (0 or 1) and, for File New, the template at that place.
    int GetSelectedIndex() const { return m_nSelected; }
    CDocTemplate* GetSelectedTemplate() const { return m_pSelectedTemplate; }

    BOOL OnInitDialog() override;
    // Closes only with an item chosen.
    void OnOK() override;
    void OnItemDoubleClicked(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    CPtrList* m_pTemplates;
    CDocTemplate* m_pSelectedTemplate = nullptr;
    CListCtrl m_listCtrl;
    CImageList m_imageList;
    int m_nSelected = -1;
    // The items' texts and the title the dialog takes (empty: the template's).
    CString m_strFirst = "Bin File";
    CString m_strSecond = "Hex File";
    CString m_strTitle;

    DECLARE_MESSAGE_MAP()
};

class CHexFormatDlg : public CSelectFileTypeDlg {
public:
    CHexFormatDlg();
    // A format must be chosen: Escape and the close box do nothing.
    void OnCancel() override;
};

class CResidentLoaderDlg : public CSelectFileTypeDlg {
public:
    CResidentLoaderDlg();
};
