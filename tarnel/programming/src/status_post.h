// Posting the programming thread's statuses and texts to a window.
#pragma once

#include <cstddef>

#include "tarnel/programming/operation_status.h"

// The size of a text block posted with a status, as its receiver knows it.
constexpr size_t kStatusTextSize = 255;

BOOL PostStatus(HWND window, UINT code, LPARAM value = 0);
// Posts a block of `blockSize` bytes (at least 1) holding `text`, cut to fit and terminated.
BOOL PostText(HWND window, UINT code, const char* text, size_t blockSize = kStatusTextSize);
// Posts a block of `blockSize` bytes holding `size` bytes of `data` and zeros after them.
BOOL PostBlock(HWND window, UINT code, const void* data, size_t size, size_t blockSize);
