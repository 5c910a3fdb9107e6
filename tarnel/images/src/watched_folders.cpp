// The watcher's folder list.
#include "tarnel/images/watched_folders.h"

#include <cctype>

bool IsSameFolder(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

WatchedFolders::WatchedFolders(size_t capacity) : m_capacity(capacity) {}

WatchResult WatchedFolders::Add(const std::string& folder) {
    if (folder.empty()) {
        return WatchResult::kNoFolder;
    }
    std::lock_guard<std::mutex> hold(m_lock);
    for (const std::string& known : m_folders) {
        if (IsSameFolder(known, folder)) {
            return WatchResult::kAlreadyWatched;
        }
    }
    if (m_folders.size() >= m_capacity) {
        return WatchResult::kListFull;
    }
    m_folders.push_back(folder);
    return WatchResult::kAdded;
}

std::vector<std::string> WatchedFolders::Copy() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_folders;
}

size_t WatchedFolders::Count() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_folders.size();
}
