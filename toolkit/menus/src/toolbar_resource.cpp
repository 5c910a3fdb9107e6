// Toolbar resources read apart from windows, and the rule that gives their commands images.
#include "menus/toolbar_resource.h"

#include "classlib/toolbar_resource.h"

#include <set>

namespace xtmenus {

std::optional<ToolbarResource> ParseToolbarResource(const void* data, size_t size) {
    auto read = AfxReadToolbarResource(data, size);
    if (!read) {
        return std::nullopt;
    }
    ToolbarResource resource;
    resource.imageWidth = read->cxImage;
    resource.imageHeight = read->cyImage;
    // The menus map images by 16-bit command, as the 16-bit layout stores them.
    for (uint32_t command : read->commands) {
        resource.commands.push_back(static_cast<uint16_t>(command));
    }
    return resource;
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
