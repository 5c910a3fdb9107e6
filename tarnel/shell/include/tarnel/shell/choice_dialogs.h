// CChoiceDialogs: the documents' choices answered by the user through the choice dialogs; the
// application object holds one and hands it to the documents.
#pragma once

#include "tarnel/shell/document_host.h"

class CChoiceDialogs : public IDocumentChoices {
public:
    bool SelectChip(CString& chipName, AreaSizes& lengths) override;
    bool ChooseMemory(const AreaChoice& present, bool baseAllowed, BYTE& kind, UINT& base) override;
    bool ChooseDestination(bool boardLabels, AreaChoice& chosen) override;
    bool NewBinLength(UINT& length) override;
    // Intel HEX (0) when the dialog cannot be shown.
    int ChooseHexFormat() override;
    bool ChooseResidentLoader(int& index) override;
};
