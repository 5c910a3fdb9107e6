// A shell item identifier list carried in a variant, as automation interfaces pass it.
#pragma once

#include "classlib/classlib.h"

#include <oaidl.h>
#include <shtypes.h>

// Copies the whole list, terminator included, into a new byte safe array and makes the variant
// hold it (VT_ARRAY | VT_UI1); the variant's former content is not freed. FALSE, and an empty
// variant, without a list or when the array cannot be made.
BOOL XTItemIdListToVariant(LPCITEMIDLIST pidl, VARIANT* pVariant);
