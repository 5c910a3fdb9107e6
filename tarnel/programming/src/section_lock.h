// A critical section held for the life of a scope.
#pragma once

#include "w32/threads.h"

class CSectionLock {
public:
    explicit CSectionLock(CRITICAL_SECTION& section) : m_section(section) {
        w32::EnterCriticalSection(&m_section);
    }
    ~CSectionLock() { w32::LeaveCriticalSection(&m_section); }
    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};
