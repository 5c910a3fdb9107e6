// Bounds-checked memory spaces of a target: CMemorySegment and the program memory that also
// records the range a program file filled.
#pragma once

#include <cstdint>
#include <memory>

// What a segment reports bad accesses through (the target that owns it).
class ISegmentOwner {
public:
    virtual void OutputMessage(int32_t level, const char* text) = 0;

protected:
    ISegmentOwner() = default;
    ~ISegmentOwner() = default;
    ISegmentOwner(const ISegmentOwner&) = default;
    ISegmentOwner& operator=(const ISegmentOwner&) = default;
};

// One memory space: `size` bytes, zero-filled at construction and owned by the segment. Single
// bytes read or written outside the space are reported to the owner at level 0 as
// "ERROR: trying to access mem segment at address %d. Mem size=%d.", except in an empty
// segment (an absent space), which fails silently.
class CMemorySegment {
public:
    // The segment, or null when its bytes cannot be allocated.
    static std::unique_ptr<CMemorySegment> Create(uint32_t size, ISegmentOwner* owner);

    // Allocates without throwing; when the bytes cannot be had the segment is empty (size 0).
    CMemorySegment(uint32_t size, ISegmentOwner* owner);
    CMemorySegment(const CMemorySegment&) = delete;
    CMemorySegment& operator=(const CMemorySegment&) = delete;

    virtual ~CMemorySegment();
    virtual void Fill(uint8_t value);
    virtual uint32_t GetSize();
    // True when address .. address + length - 1 lies inside the space (no wrap-around).
    virtual bool IsRangeValid(uint32_t address, uint32_t length);
    virtual bool IsAddressValid(uint32_t address);
    // Copies `length` bytes in when the whole range is valid; false leaves the space unchanged.
    virtual bool WriteBlock(uint32_t address, uint32_t length, const uint8_t* bytes);
    virtual bool WriteByte(uint32_t address, uint8_t value);
    // base + address, unchecked.
    virtual uint8_t* PointerAt(uint32_t address);
    // The byte, or 0 for a bad address.
    virtual uint8_t ReadByte(uint32_t address);
    virtual uint8_t* CheckedPointer(uint32_t address, uint32_t length);
    virtual uint8_t* CheckedPointer(uint32_t address);
    virtual void GetBuffer(uint8_t** base, uint32_t* size);
    // Copies `length` bytes to the start, first growing the space (zero-filled) when they do not
    // fit. False, with the space unchanged, when the larger space cannot be allocated.
    virtual bool Assign(const uint8_t* bytes, uint32_t length);

protected:
    void ReportBadAddress(uint32_t address);

private:
    std::unique_ptr<uint8_t[]> m_base;
    uint32_t m_size;
    ISegmentOwner* m_owner;
};

// Program memory: a segment that also records which addresses a program file filled.
class CProgramMemory : public CMemorySegment {
public:
    static std::unique_ptr<CProgramMemory> Create(uint32_t size, ISegmentOwner* owner);

    CProgramMemory(uint32_t size, ISegmentOwner* owner);

    // As WriteBlock; on success widens the loaded range to cover the block.
    virtual bool WriteLoaded(uint32_t address, uint32_t length, const uint8_t* bytes);

    // Lowest address written by WriteLoaded, 0xFFFFFFFF before the first write.
    uint32_t GetLowest() const { return m_lowest; }
    void SetLowest(uint32_t lowest) { m_lowest = lowest; }
    // One past the highest address written by WriteLoaded, 0 before the first write.
    uint32_t GetHighest() const { return m_highest; }

private:
    uint32_t m_lowest = 0xFFFFFFFFu;
    uint32_t m_highest = 0;
};
