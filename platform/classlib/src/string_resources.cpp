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
