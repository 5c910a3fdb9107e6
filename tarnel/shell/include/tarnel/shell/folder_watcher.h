// The file-change watcher: a thread at idle priority that waits for last-write changes in the
// folders of the opened images and tells the user interface's thread by a thread message.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "tarnel/images/watched_folders.h"

// Posted (wParam 0, lParam 0) to the thread that started the watcher each time a watched folder
// changes; the message carries nothing, and each one asks for a full look at the open images.
constexpr UINT kFilesChangedMessage = WM_USER + 1;

class CFolderWatcher {
public:
    // One wait holds the wake-up event and one change notification per folder.
    static constexpr size_t kMaxFolders = MAXIMUM_WAIT_OBJECTS - 1;

    CFolderWatcher();
    virtual ~CFolderWatcher() = default;
    CFolderWatcher(const CFolderWatcher&) = delete;
    CFolderWatcher& operator=(const CFolderWatcher&) = delete;

    // The program's watcher. Its thread is never stopped, so it lives until the process ends.
    static CFolderWatcher& Program();

    // Records the thread to tell and creates the wake-up event, then starts the watching thread
    // at idle priority; later calls change nothing. The thread's handle (owned by the watcher,
    // never closed), or null when the thread could not be started: files are then not watched.
    HANDLE Start(DWORD notifyThreadId);

    // Adds a folder (drive and directory, ending in the separator); a new one wakes the thread
    // to watch it too. Folders are never dropped.
    WatchResult Watch(const std::string& folder);

    std::vector<std::string> Folders() const { return m_folders.Copy(); }
    // The folders the thread holds a change notification for since its last rebuild.
    size_t NotificationCount() const { return m_notifications.load(); }
    // Whether the thread has taken in every folder given so far (those it could watch).
    bool HasCaughtUp() const { return m_foldersTaken.load() == m_foldersGiven.load(); }
    // The waits that failed since the thread started (each one is followed by a pause).
    unsigned FailedWaits() const { return m_failedWaits.load(); }

protected:
    // One wait for any of the handles, without time-out: WaitForMultipleObjects.
    virtual DWORD WaitForChange(DWORD count, const HANDLE* handles);

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Run();
    // Opens a change notification for each folder of the list from `taken` on and appends it
    // (the wake-up event stays first); the notifications held stay armed, so no change in their
    // folders is missed meanwhile. A folder whose notification cannot be created is left out.
    void TakeNewFolders(std::vector<HANDLE>& handles, size_t& taken);

    WatchedFolders m_folders;
    // Both set before the thread starts and never changed afterwards.
    HANDLE m_hWakeUp = nullptr;
    DWORD m_notifyThreadId = 0;
    HANDLE m_hThread = nullptr;
    std::atomic<size_t> m_notifications{0};
    std::atomic<unsigned> m_failedWaits{0};
    std::atomic<unsigned> m_foldersGiven{0};
    std::atomic<unsigned> m_foldersTaken{0};
};
