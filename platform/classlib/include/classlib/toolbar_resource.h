// A toolbar resource (type 241) read apart from windows: the image size and one command per
// button, as the bars that load a toolbar from resources take it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct AFX_TOOLBARRESOURCE {
    int cxImage = 0;
    int cyImage = 0;
    std::vector<uint32_t> commands;  // one per item, 0 for a separator
};

// Reads a toolbar resource: version 1 with 16-bit fields (version, image width and height,
// item count, then the commands), or the layout with 32-bit fields and no version that some
// resource compilers write. Nothing for data of any other size or shape: a count that runs past
// the data is never read.
std::optional<AFX_TOOLBARRESOURCE> AfxReadToolbarResource(const void* data, size_t size);
