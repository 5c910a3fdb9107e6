// Toolbar resources read apart from windows, and the rule that gives their commands images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace xtmenus {

struct ToolbarResource {
    int imageWidth = 0;
    int imageHeight = 0;
    std::vector<uint16_t> commands;  // one per item, 0 for a separator
};

// Reads a toolbar resource: version 1 with 16-bit fields (version, image width and height,
// item count, then the commands), or the layout with 32-bit fields and no version that the GNU
// resource compiler writes. Nothing for data of any other size or shape: a count that runs past
// the data is never read.
std::optional<ToolbarResource> ParseToolbarResource(const void* data, size_t size);

// The images a strip of a toolbar's bitmap gives, as (command, image index) pairs: the strip's
// first image has index firstIndex and every command item takes the next one, but only a
// command that has no image yet (isMapped false) is given its image. Separators take none.
std::vector<std::pair<uint16_t, int>> AssignImages(const std::vector<uint16_t>& commands,
                                                   int firstIndex,
                                                   const std::function<bool(uint16_t)>& isMapped);

}  // namespace xtmenus
