// The size of a shell item identifier list.
#include "docking/item_id_list.h"

#include <cstdint>

namespace xtdock {

std::size_t ItemIdListSize(const void* pList) {
    if (pList == nullptr) {
        return 0;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(pList);
    std::size_t size = 0;
    for (;;) {
        // Records are not aligned: the length is read byte by byte.
        const std::size_t length = bytes[size] | (static_cast<std::size_t>(bytes[size + 1]) << 8);
        if (length == 0) {
            return size + 2;
        }
        size += length;
    }
}

}  // namespace xtdock
