// CTime: a point in time in whole seconds since 1970 (UTC), as file statuses carry it.
#pragma once

#include "classlib/types.h"

#include <cstdint>

class CTime {
public:
    CTime() = default;
    explicit CTime(std::int64_t time) : m_time(time) {}

    std::int64_t GetTime() const { return m_time; }

    bool operator==(const CTime& other) const { return m_time == other.m_time; }
    bool operator!=(const CTime& other) const { return m_time != other.m_time; }
    bool operator<(const CTime& other) const { return m_time < other.m_time; }
    bool operator>(const CTime& other) const { return m_time > other.m_time; }
    bool operator<=(const CTime& other) const { return m_time <= other.m_time; }
    bool operator>=(const CTime& other) const { return m_time >= other.m_time; }

    static CTime GetCurrentTime();

private:
    std::int64_t m_time = 0;
};
