// Loading texts from the string table of the resource module.
#include "classlib/classlib.h"

BOOL CString::LoadString(UINT nID) {
    // LoadString gives no length: grow the buffer until the text fits with room to spare.
    std::string buffer(256, '\0');
    for (;;) {
        int length =
            ::LoadStringA(AfxGetResourceHandle(), nID, &buffer[0], static_cast<int>(buffer.size()));
        if (length <= 0) {
            return FALSE;
        }
        if (length < static_cast<int>(buffer.size()) - 1) {
            text_.assign(buffer.data(), static_cast<size_t>(length));
            return TRUE;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
}

BOOL AfxLoadStandardString(CString& rString, UINT nID) {
    if (rString.LoadString(nID)) {
        return TRUE;
    }
    // Texts that programs usually give themselves, in the library's wording when they do not.
    static const struct {
        UINT nID;
        UINT nDefault;
    } kDefaults[] = {
        {AFX_IDS_IDLEMESSAGE, AFX_IDS_DEFAULT_IDLEMESSAGE},
        {ID_INDICATOR_EXT, AFX_IDS_DEFAULT_INDICATOR_EXT},
        {ID_INDICATOR_CAPS, AFX_IDS_DEFAULT_INDICATOR_CAPS},
        {ID_INDICATOR_NUM, AFX_IDS_DEFAULT_INDICATOR_NUM},
        {ID_INDICATOR_SCRL, AFX_IDS_DEFAULT_INDICATOR_SCRL},
        {ID_INDICATOR_OVR, AFX_IDS_DEFAULT_INDICATOR_OVR},
        {ID_INDICATOR_REC, AFX_IDS_DEFAULT_INDICATOR_REC},
    };
    for (const auto& entry : kDefaults) {
        if (entry.nID == nID) {
            return rString.LoadString(entry.nDefault);
        }
    }
    return FALSE;
}
