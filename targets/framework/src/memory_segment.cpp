// Bounds-checked memory spaces and the program memory that records its loaded range.
#include "simtarget/memory_segment.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

std::unique_ptr<uint8_t[]> AllocateZeroed(uint32_t size) {
    if (size == 0) {
        return nullptr;
    }
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]());
}

}  // namespace

std::unique_ptr<CMemorySegment> CMemorySegment::Create(uint32_t size, ISegmentOwner* owner) {
    std::unique_ptr<CMemorySegment> segment(new (std::nothrow) CMemorySegment(size, owner));
    if (segment == nullptr || segment->GetSize() != size) {
        return nullptr;
    }
    return segment;
}

CMemorySegment::CMemorySegment(uint32_t size, ISegmentOwner* owner)
    : m_base(AllocateZeroed(size)), m_size(m_base != nullptr ? size : 0), m_owner(owner) {}

CMemorySegment::~CMemorySegment() = default;

void CMemorySegment::Fill(uint8_t value) {
    if (m_size != 0) {
        std::memset(m_base.get(), value, m_size);
    }
}

uint32_t CMemorySegment::GetSize() { return m_size; }

bool CMemorySegment::IsRangeValid(uint32_t address, uint32_t length) {
    // Written so that a range near the top of the 32-bit space cannot wrap around into it.
    return length <= m_size && address <= m_size - length;
}

bool CMemorySegment::IsAddressValid(uint32_t address) { return address < m_size; }

bool CMemorySegment::WriteBlock(uint32_t address, uint32_t length, const uint8_t* bytes) {
    if (!IsRangeValid(address, length)) {
        return false;
    }
    if (length != 0) {
        std::memcpy(m_base.get() + address, bytes, length);
    }
    return true;
}

bool CMemorySegment::WriteByte(uint32_t address, uint8_t value) {
    if (!IsAddressValid(address)) {
        ReportBadAddress(address);
        return false;
    }
    m_base[address] = value;
    return true;
}

uint8_t* CMemorySegment::PointerAt(uint32_t address) { return m_base.get() + address; }

uint8_t CMemorySegment::ReadByte(uint32_t address) {
    if (!IsAddressValid(address)) {
        ReportBadAddress(address);
        return 0;
    }
    return m_base[address];
}

uint8_t* CMemorySegment::CheckedPointer(uint32_t address, uint32_t length) {
    return IsRangeValid(address, length) ? m_base.get() + address : nullptr;
}

uint8_t* CMemorySegment::CheckedPointer(uint32_t address) {
    return IsAddressValid(address) ? m_base.get() + address : nullptr;
}

void CMemorySegment::GetBuffer(uint8_t** base, uint32_t* size) {
    if (base != nullptr) {
        *base = m_base.get();
    }
    if (size != nullptr) {
        *size = m_size;
    }
}

bool CMemorySegment::Assign(const uint8_t* bytes, uint32_t length) {
    if (length > m_size) {
        std::unique_ptr<uint8_t[]> larger = AllocateZeroed(length);
        if (larger == nullptr) {
            return false;
        }
        m_base = std::move(larger);
        m_size = length;
        Fill(0);
    }
    if (length != 0) {
        std::memcpy(m_base.get(), bytes, length);
    }
    return true;
}

void CMemorySegment::ReportBadAddress(uint32_t address) {
    // An empty segment stands for a space the chip does not have: accesses fail quietly.
    if (m_size == 0 || m_owner == nullptr) {
        return;
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  "ERROR: trying to access mem segment at address %d. Mem size=%d.",
                  static_cast<int>(address), static_cast<int>(m_size));
    m_owner->OutputMessage(0, text);
}

std::unique_ptr<CProgramMemory> CProgramMemory::Create(uint32_t size, ISegmentOwner* owner) {
    std::unique_ptr<CProgramMemory> memory(new (std::nothrow) CProgramMemory(size, owner));
    if (memory == nullptr || memory->GetSize() != size) {
        return nullptr;
    }
    return memory;
}

CProgramMemory::CProgramMemory(uint32_t size, ISegmentOwner* owner) : CMemorySegment(size, owner) {}

bool CProgramMemory::WriteLoaded(uint32_t address, uint32_t length, const uint8_t* bytes) {
    if (!WriteBlock(address, length, bytes)) {
        return false;
    }
    if (address < m_lowest) {
        m_lowest = address;
    }
    if (address + length > m_highest) {
        m_highest = address + length;
    }
    return true;
}
