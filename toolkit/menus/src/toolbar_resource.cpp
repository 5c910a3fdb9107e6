// Toolbar resources read apart from windows, and the rule that gives their commands images.
#include "menus/toolbar_resource.h"

#include <cstring>
#include <set>

namespace xtmenus {

namespace {

template <class T>
T Field(const unsigned char* data, size_t index) {
    T value;
    std::memcpy(&value, data + index * sizeof(T), sizeof(T));
    return value;
}

}  // namespace

std::optional<ToolbarResource> ParseToolbarResource(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytes == nullptr) {
        return std::nullopt;
    }
    if (size >= 8) {
        const auto version = Field<uint16_t>(bytes, 0);
        const auto count = Field<uint16_t>(bytes, 3);
        if (version == 1 && size == 8u + 2u * count) {
            ToolbarResource resource;
            resource.imageWidth = Field<uint16_t>(bytes, 1);
            resource.imageHeight = Field<uint16_t>(bytes, 2);
            for (size_t i = 0; i < count; ++i) {
                resource.commands.push_back(Field<uint16_t>(bytes, 4 + i));
            }
            return resource;
        }
    }
    if (size >= 12) {
        const auto count = Field<uint32_t>(bytes, 2);
        if (count < 0x10000 && size == 12u + 4u * count) {
            ToolbarResource resource;
            resource.imageWidth = static_cast<int>(Field<uint32_t>(bytes, 0));
            resource.imageHeight = static_cast<int>(Field<uint32_t>(bytes, 1));
            for (size_t i = 0; i < count; ++i) {
                resource.commands.push_back(static_cast<uint16_t>(Field<uint32_t>(bytes, 3 + i)));
            }
            return resource;
        }
    }
    return std::nullopt;
}

std::vector<std::pair<uint16_t, int>> AssignImages(const std::vector<uint16_t>& commands,
                                                   int firstIndex,
                                                   const std::function<bool(uint16_t)>& isMapped) {
    std::vector<std::pair<uint16_t, int>> assigned;
    std::set<uint16_t> seen;  // a command twice on one strip keeps its first image too
    int index = firstIndex;
    for (uint16_t command : commands) {
        if (command == 0) {
            continue;
        }
        if (!isMapped(command) && seen.insert(command).second) {
            assigned.emplace_back(command, index);
        }
        ++index;
    }
    return assigned;
}

}  // namespace xtmenus
