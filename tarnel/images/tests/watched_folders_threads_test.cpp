// The watched folder list shared by two threads: one adds folders while the other copies the
// list, as the user interface and the watcher do.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tarnel/images/watched_folders.h"

namespace {

TEST(WatchedFoldersThreads, CopiesTakenDuringAppendsAreWholeAndInOrder) {
    constexpr int kFolders = 2000;
    WatchedFolders folders(kFolders);
    std::atomic<bool> done{false};
    bool consistent = true;
    std::thread reader([&] {
        while (!done.load()) {
            const std::vector<std::string> copy = folders.Copy();
            for (size_t i = 0; i < copy.size(); ++i) {
                if (copy[i] != "F" + std::to_string(i) + "\\") {
                    consistent = false;
                }
            }
        }
    });
    for (int i = 0; i < kFolders; ++i) {
        folders.Add("F" + std::to_string(i) + "\\");
    }
    done = true;
    reader.join();
    EXPECT_TRUE(consistent);
    EXPECT_EQ(folders.Count(), static_cast<size_t>(kFolders));
}

}  // namespace
