// Recording and printing what happened on a virtual cable.
#include "boards/transcript.h"

#include <algorithm>
#include <cstdio>

namespace boards {

void Transcript::Bound(size_t head, size_t tail) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_headSize = head > 0 ? head : 1;
    m_tailSize = tail > 0 ? tail : 1;
}

void Transcript::Add(uint64_t time, std::string what) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_records.size() < m_headSize) {
        m_records.push_back({time, std::move(what)});
        return;
    }
    m_tail.push_back({time, std::move(what)});
    if (m_tail.size() > m_tailSize) {
        if (m_dropped++ == 0) {
            m_firstDropped = m_tail.front().time;
        }
        m_tail.pop_front();
    }
}

void Transcript::Clear() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_records.clear();
    m_records.shrink_to_fit();
    m_tail.clear();
    m_tail.shrink_to_fit();
    m_dropped = 0;
}

uint64_t Transcript::Dropped() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_dropped;
}

std::vector<Record> Transcript::Records() const {
    std::vector<Record> sorted;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        sorted.reserve(m_records.size() + m_tail.size() + 1);
        sorted.assign(m_records.begin(), m_records.end());
        if (m_dropped != 0) {
            sorted.push_back({m_firstDropped, "(" + std::to_string(m_dropped) +
                                                  " entries dropped: the log keeps its first " +
                                                  std::to_string(m_headSize) + " and last " +
                                                  std::to_string(m_tailSize) + ")"});
        }
        sorted.insert(sorted.end(), m_tail.begin(), m_tail.end());
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Record& a, const Record& b) { return a.time < b.time; });
    return sorted;
}

std::string Transcript::Text() const {
    std::vector<Record> sorted = Records();
    std::string text;
    if (sorted.empty()) {
        return text;
    }
    uint64_t origin = sorted.front().time;
    for (const Record& r : sorted) {
        char when[32];
        uint64_t us = r.time - origin;
        std::snprintf(when, sizeof when, "%4llu.%03llu ",
                      static_cast<unsigned long long>(us / 1000),
                      static_cast<unsigned long long>(us % 1000));
        text += when;
        text += r.what;
        text += '\n';
    }
    return text;
}

std::string Transcript::Events() const {
    std::string text;
    for (const Record& r : Records()) {
        text += r.what;
        text += '\n';
    }
    return text;
}

uint64_t Transcript::TimeOf(const std::string& prefix, uint64_t from) const {
    for (const Record& r : Records()) {
        if (r.time >= from && r.what.compare(0, prefix.size(), prefix) == 0) {
            return r.time;
        }
    }
    return kNever;
}

}  // namespace boards
