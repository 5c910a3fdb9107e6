// The file-change watcher on its own: folders given before it starts, the most folders one wait
// can hold, and a wait that keeps failing.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "guitest/pump.h"
#include "tarnel/shell/folder_watcher.h"

namespace {

// A thread with a message queue that counts the watcher's messages.
class MessageCounter {
public:
    MessageCounter() {
        m_hReady = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_hThread = ::CreateThread(nullptr, 0, Main, this, 0, &m_threadId);
        ::WaitForSingleObject(m_hReady, INFINITE);
    }
    ~MessageCounter() {
        ::PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
        ::CloseHandle(m_hReady);
    }
    DWORD ThreadId() const { return m_threadId; }
    int Count() const { return m_count.load(); }

private:
    static DWORD WINAPI Main(LPVOID self) {
        auto* counter = static_cast<MessageCounter*>(self);
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here on
        ::SetEvent(counter->m_hReady);
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kFilesChangedMessage) {
                ++counter->m_count;
            }
        }
        return 0;
    }

    HANDLE m_hReady;
    HANDLE m_hThread;
    DWORD m_threadId = 0;
    std::atomic<int> m_count{0};
};

class FolderWatcherTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& path : m_files) {
            ::DeleteFileA(path.c_str());
        }
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it) {
            ::RemoveDirectoryA(it->c_str());
        }
    }

    std::string NewFolder(const std::string& name) {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        const std::string folder =
            std::string(temp) + "fw" + std::to_string(::GetCurrentProcessId()) + "_" + name;
        ::CreateDirectoryA(folder.c_str(), nullptr);
        m_folders.push_back(folder);
        return folder + "\\";
    }

    void Touch(const std::string& path) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << "x";
        m_files.push_back(path);
    }

    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;
};

// The watchers' threads are never stopped, so each watcher a test starts stays for the process.
CFolderWatcher& NewWatcher() { return *new CFolderWatcher; }

TEST_F(FolderWatcherTest, FoldersGivenBeforeTheStartAreWatched) {
    MessageCounter counter;
    CFolderWatcher& watcher = NewWatcher();
    const std::string folder = NewFolder("early");
    EXPECT_EQ(watcher.Watch(folder), WatchResult::kAdded);
    ASSERT_NE(watcher.Start(counter.ThreadId()), nullptr);
    ASSERT_TRUE(guitest::WaitUntil([&] { return watcher.HasCaughtUp(); }));
    EXPECT_EQ(watcher.NotificationCount(), 1u);
    Touch(folder + "a.txt");
    EXPECT_TRUE(guitest::WaitUntil([&] { return counter.Count() > 0; }));
}

TEST_F(FolderWatcherTest, TheListHoldsWhatOneWaitCanAndThoseFoldersStayWatched) {
    MessageCounter counter;
    CFolderWatcher& watcher = NewWatcher();
    ASSERT_NE(watcher.Start(counter.ThreadId()), nullptr);
    std::vector<std::string> folders;
    for (size_t i = 0; i < CFolderWatcher::kMaxFolders + 5; ++i) {
        folders.push_back(NewFolder("cap" + std::to_string(i)));
        const WatchResult expected =
            i < CFolderWatcher::kMaxFolders ? WatchResult::kAdded : WatchResult::kListFull;
        EXPECT_EQ(watcher.Watch(folders.back()), expected) << i;
    }
    EXPECT_EQ(CFolderWatcher::kMaxFolders, static_cast<size_t>(MAXIMUM_WAIT_OBJECTS - 1));
    ASSERT_TRUE(guitest::WaitUntil([&] { return watcher.HasCaughtUp(); }));
    EXPECT_EQ(watcher.NotificationCount(), CFolderWatcher::kMaxFolders);
    Touch(folders[0] + "first.txt");
    ASSERT_TRUE(guitest::WaitUntil([&] { return counter.Count() > 0; }));
    const int afterFirst = counter.Count();
    Touch(folders[CFolderWatcher::kMaxFolders - 1] + "last.txt");
    EXPECT_TRUE(guitest::WaitUntil([&] { return counter.Count() > afterFirst; }));
    EXPECT_EQ(watcher.FailedWaits(), 0u);
}

// A watcher whose every wait fails.
class CFailingWatcher : public CFolderWatcher {
public:
    std::atomic<int> waits{0};

protected:
    DWORD WaitForChange(DWORD, const HANDLE*) override {
        ++waits;
        return WAIT_FAILED;
    }
};

TEST_F(FolderWatcherTest, AFailingWaitIsTriedAgainOnlyAfterAGrowingPause) {
    auto& watcher = *new CFailingWatcher;  // stays with its thread
    const DWORD start = ::GetTickCount();
    ASSERT_NE(watcher.Start(::GetCurrentThreadId()), nullptr);
    ASSERT_TRUE(guitest::WaitUntil([&] { return watcher.waits.load() >= 4; }, 10000));
    // Three pauses lie between the first and the fourth wait: 50, 100 and 200 ms at least.
    EXPECT_GE(::GetTickCount() - start, 350u);
    EXPECT_GE(watcher.FailedWaits(), 3u);
}

}  // namespace
