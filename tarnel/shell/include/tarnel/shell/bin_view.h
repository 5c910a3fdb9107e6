// CBinView: the view of a .bin document, one hex editor over the whole image.
#pragma once

#include "tarnel/shell/hex_view.h"

class CBinView : public CHexView {
    DECLARE_DYNCREATE(CBinView)
public:
    // The hex editor's first update, then the frame is shown maximised.
    void OnInitialUpdate() override;
    // Takes the document's image whenever it has one and repaints at once.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
};
