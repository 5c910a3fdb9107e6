// What a board keeps of the programs that hosts load into it, for checks against the file.
#pragma once

#include <cstdint>
#include <map>

namespace boards {

// Implemented by the boards that take programs: the cells a host's download wrote, by address.
class ProgramStore {
public:
    virtual ~ProgramStore() = default;
    virtual const std::map<uint32_t, uint8_t>& LoadedCells() const = 0;
};

}  // namespace boards
