// Recording and printing what happened on a virtual cable.
#include "boards/transcript.h"

#include <algorithm>
#include <cstdio>

namespace boards {

void Transcript::Add(uint64_t time, std::string what) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_records.push_back({time, std::move(what)});
}

void Transcript::Clear() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_records.clear();
}

std::vector<Record> Transcript::Records() const {
    std::vector<Record> sorted;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        sorted = m_records;
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
