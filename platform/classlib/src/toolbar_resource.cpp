// Toolbar resources read apart from windows.
#include "classlib/toolbar_resource.h"

#include <cstring>

namespace {

// The index-th field of the given width; the resource's data need not be aligned.
template <class T>
T Field(const unsigned char* data, size_t index) {
    T value;
    std::memcpy(&value, data + index * sizeof(T), sizeof(T));
    return value;
}

}  // namespace

std::optional<AFX_TOOLBARRESOURCE> AfxReadToolbarResource(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytes == nullptr) {
        return std::nullopt;
    }
    if (size >= 8) {
        const auto version = Field<uint16_t>(bytes, 0);
        const auto count = Field<uint16_t>(bytes, 3);
        if (version == 1 && size == 8u + 2u * count) {
            AFX_TOOLBARRESOURCE resource;
            resource.cxImage = Field<uint16_t>(bytes, 1);
            resource.cyImage = Field<uint16_t>(bytes, 2);
            for (size_t i = 0; i < count; ++i) {
                resource.commands.push_back(Field<uint16_t>(bytes, 4 + i));
            }
            return resource;
        }
    }
    if (size >= 12) {
        const auto count = Field<uint32_t>(bytes, 2);
        if (count < 0x10000 && size == 12u + 4u * count) {
            AFX_TOOLBARRESOURCE resource;
            resource.cxImage = static_cast<int>(Field<uint32_t>(bytes, 0));
            resource.cyImage = static_cast<int>(Field<uint32_t>(bytes, 1));
            for (size_t i = 0; i < count; ++i) {
                resource.commands.push_back(Field<uint32_t>(bytes, 3 + i));
            }
            return resource;
        }
    }
    return std::nullopt;
}
