// The file-change watcher's thread and its folder list.
#include "tarnel/shell/folder_watcher.h"

#include <algorithm>

namespace {

// After a failed wait the thread pauses (still woken by a new folder) before it builds its
// notifications anew, each time twice as long up to the last pause.
constexpr DWORD kFirstPauseMs = 50;
constexpr DWORD kLastPauseMs = 5000;

}  // namespace

CFolderWatcher::CFolderWatcher() : m_folders(kMaxFolders) {}

CFolderWatcher& CFolderWatcher::Program() {
    // Never destroyed: the thread may be waiting on its event while the process ends.
    static CFolderWatcher* const program = new CFolderWatcher;
    return *program;
}

HANDLE CFolderWatcher::Start(DWORD notifyThreadId) {
    if (m_hWakeUp != nullptr) {
        return m_hThread;
    }
    m_notifyThreadId = notifyThreadId;
    m_hWakeUp = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (m_hWakeUp == nullptr) {
        return nullptr;
    }
    // Everything the thread reads exists before it runs.
    m_hThread = ::CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    if (m_hThread != nullptr) {
        ::SetThreadPriority(m_hThread, THREAD_PRIORITY_IDLE);
    }
    return m_hThread;
}

WatchResult CFolderWatcher::Watch(const std::string& folder) {
    const WatchResult result = m_folders.Add(folder);
    if (result == WatchResult::kAdded) {
        ++m_foldersGiven;
        if (m_hWakeUp != nullptr) {
            ::SetEvent(m_hWakeUp);
        }
    }
    return result;
}

DWORD WINAPI CFolderWatcher::ThreadMain(LPVOID self) {
    static_cast<CFolderWatcher*>(self)->Run();
    return 0;
}

void CFolderWatcher::Run() {
    std::vector<HANDLE> handles{m_hWakeUp};
    size_t taken = 0;  // the folders of the list looked at so far
    // Folders may have been given before the thread started.
    TakeNewFolders(handles, taken);
    DWORD pause = kFirstPauseMs;
    for (;;) {
        const DWORD count = static_cast<DWORD>(handles.size());
        const DWORD woken = WaitForChange(count, handles.data());
        if (woken == WAIT_OBJECT_0) {
            pause = kFirstPauseMs;
            TakeNewFolders(handles, taken);
        } else if (woken > WAIT_OBJECT_0 && woken < WAIT_OBJECT_0 + count) {
            pause = kFirstPauseMs;
            ::PostThreadMessageA(m_notifyThreadId, kFilesChangedMessage, 0, 0);
            const size_t index = woken - WAIT_OBJECT_0;
            if (!::FindNextChangeNotification(handles[index])) {
                // A notification that cannot be re-armed would stay signalled for ever.
                ::FindCloseChangeNotification(handles[index]);
                handles.erase(handles.begin() + static_cast<std::ptrdiff_t>(index));
                m_notifications = handles.size() - 1;
            }
        } else {
            // A handle went bad: rather than failing again at once, pause, then start afresh
            // with every folder.
            ++m_failedWaits;
            ::WaitForSingleObject(m_hWakeUp, pause);
            pause = std::min(pause * 2, kLastPauseMs);
            for (size_t i = 1; i < handles.size(); ++i) {
                ::FindCloseChangeNotification(handles[i]);
            }
            handles.resize(1);
            taken = 0;
            TakeNewFolders(handles, taken);
        }
    }
}

DWORD CFolderWatcher::WaitForChange(DWORD count, const HANDLE* handles) {
    return ::WaitForMultipleObjects(count, handles, FALSE, INFINITE);
}

void CFolderWatcher::TakeNewFolders(std::vector<HANDLE>& handles, size_t& taken) {
    // A folder given from here on sets the event again and is counted after the read below.
    ::ResetEvent(m_hWakeUp);
    const unsigned given = m_foldersGiven.load();
    const std::vector<std::string> folders = m_folders.Copy();
    for (; taken < folders.size(); ++taken) {
        HANDLE notification = ::FindFirstChangeNotificationA(folders[taken].c_str(), FALSE,
                                                             FILE_NOTIFY_CHANGE_LAST_WRITE);
        if (notification != INVALID_HANDLE_VALUE && notification != nullptr) {
            handles.push_back(notification);
        }
    }
    m_notifications = handles.size() - 1;
    m_foldersTaken = given;
}
