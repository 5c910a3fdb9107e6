// The slot of a virtual operation in its class's table, for tests that check that the host's
// slots (and a target's own) sit where the host calls them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// On the Itanium C++ ABI (also used by g++ for Windows) a pointer to a virtual member holds
// 1 + the byte offset of its entry in the table of virtual operations. -1 for a member that is
// not a virtual operation of the class's primary table.
template <typename Member>
long SlotOf(Member member) {
    struct Representation {
        uintptr_t pointer;
        ptrdiff_t adjustment;
    } rep;
    static_assert(sizeof(Member) == sizeof(Representation), "unexpected member-pointer layout");
    std::memcpy(&rep, &member, sizeof rep);
    if ((rep.pointer & 1) == 0 || rep.adjustment != 0) {
        return -1;
    }
    return static_cast<long>((rep.pointer - 1) / sizeof(void*));
}

#define EXPECT_SLOT(cls, op, slot) EXPECT_EQ(SlotOf(&cls::op), slot) << #cls "::" #op
