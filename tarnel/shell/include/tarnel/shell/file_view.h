// CFileView: the view of a .hex document, a tab view with one hex editor per memory area of the
// image ("Code", "Data", "Special"; "ID" and "Config" on the Kestrix board), answering the
// document's questions about the area of the selected tab.
#pragma once

#include "docking/tab_view.h"
#include "tarnel/shell/area_views.h"

class CFileView : public CXTTabView, public CAreaViewSet {
    DECLARE_DYNCREATE(CFileView)
public:
    CFileView();
    ~CFileView() override;

    // The area of the selected tab (0 code, 1 data, 2 special): the tabs are the present areas
    // in that order; 0 when no tab is selected.
    int GetActiveArea() override;

    // Adds a tab per present area of the document's image, each editor set up for the current
    // chip, and shows the frame maximised.
    void OnInitialUpdate() override;
    // Gives every area editor the document's current area again (laying it out anew).
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

protected:
    // A hex editor on a new last tab; null when it could not be made.
    CHexView* AddAreaView(LPCTSTR lpszLabel);
};
