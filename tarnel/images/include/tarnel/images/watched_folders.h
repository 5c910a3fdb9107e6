// The folders whose files the file-change watcher keeps an eye on: each folder once, ignoring
// case, up to what one wait of the watcher can hold.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

enum class WatchResult {
    kAdded,           // new in the list: the watcher must rebuild its notifications
    kAlreadyWatched,  // the list holds it, perhaps spelt in another case
    kListFull,        // the list holds as many folders as the watcher can wait for
    kNoFolder,        // an empty folder text is never watched
};

// Folder texts compare equal ignoring the case of their letters, as the file system does.
bool IsSameFolder(const std::string& a, const std::string& b);

// The user interface's thread adds folders while the watcher's thread takes copies; every access
// goes through one lock, so an append never moves the storage under the reader. Folders are
// never removed.
class WatchedFolders {
public:
    explicit WatchedFolders(size_t capacity);
    WatchedFolders(const WatchedFolders&) = delete;
    WatchedFolders& operator=(const WatchedFolders&) = delete;

    WatchResult Add(const std::string& folder);
    // The folders in the order they were added.
    std::vector<std::string> Copy() const;
    size_t Count() const;
    size_t Capacity() const { return m_capacity; }

private:
    const size_t m_capacity;
    mutable std::mutex m_lock;
    std::vector<std::string> m_folders;  // guarded by m_lock
};
