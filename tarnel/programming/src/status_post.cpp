// Posting statuses and their heap blocks; a block whose post fails is freed here.
#include "status_post.h"

#include <cstring>
#include <memory>
#include <new>

#include "w32/messages.h"

BOOL PostStatus(HWND window, UINT code, LPARAM value) {
    return w32::PostMessageA(window, WM_OPERATION_STATUS, code, value);
}

BOOL PostBlock(HWND window, UINT code, const void* data, size_t size, size_t blockSize) {
    std::unique_ptr<char[]> block(new (std::nothrow) char[blockSize]());
    if (!block) {
        return FALSE;
    }
    std::memcpy(block.get(), data, size < blockSize ? size : blockSize);
    if (!PostStatus(window, code, reinterpret_cast<LPARAM>(block.get()))) {
        return FALSE;
    }
    block.release();  // the receiver's now
    return TRUE;
}

BOOL PostText(HWND window, UINT code, const char* text, size_t blockSize) {
    size_t length = std::strlen(text);
    if (length >= blockSize) {
        length = blockSize - 1;
    }
    return PostBlock(window, code, text, length, blockSize);
}

void FreeStatusBlock(LPARAM value) { delete[] reinterpret_cast<char*>(value); }
