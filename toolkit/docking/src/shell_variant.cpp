// A shell item identifier list copied into a byte safe-array variant.
#include "docking/shell_variant.h"

#include "docking/item_id_list.h"

#include <oleauto.h>

#include <cstring>

BOOL XTItemIdListToVariant(LPCITEMIDLIST pidl, VARIANT* pVariant) {
    if (pVariant == nullptr) {
        return FALSE;
    }
    ::VariantInit(pVariant);
    const std::size_t size = xtdock::ItemIdListSize(pidl);
    if (size == 0) {
        return FALSE;
    }
    SAFEARRAY* pArray = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(size));
    if (pArray == nullptr) {
        return FALSE;
    }
    void* pData = nullptr;
    if (FAILED(::SafeArrayAccessData(pArray, &pData))) {
        ::SafeArrayDestroy(pArray);
        return FALSE;
    }
    std::memcpy(pData, pidl, size);
    ::SafeArrayUnaccessData(pArray);
    pVariant->vt = VT_ARRAY | VT_UI1;
    pVariant->parray = pArray;
    return TRUE;
}
