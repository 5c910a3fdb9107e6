// Tests of the document manager's rules without windows: the file dialog's filters, the watched
// folder list and what the reload scan does with each image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tarnel/images/image_file_filters.h"
#include "tarnel/frame_rules/reload_rules.h"
#include "tarnel/images/watched_folders.h"

namespace {

const DocumentFilter kBin{"Bin Files (*.bin)", ".bin"};
const DocumentFilter kHex{"Hex Files (*.hex)", ".hex"};

std::vector<std::string> Names(const ImageFileFilters& result) {
    std::vector<std::string> names;
    for (const FileFilter& filter : result.filters) {
        names.push_back(filter.name + "|" + filter.pattern);
    }
    return names;
}

TEST(ImageFileFilters, EveryKindInOrderThenBothTypesThenEveryFile) {
    const ImageFileFilters result = BuildImageFileFilters({kBin, kHex}, "All Files (*.*)");
    EXPECT_EQ(Names(result), (std::vector<std::string>{
                                 "Bin Files (*.bin)|*.bin", "Hex Files (*.hex)|*.hex",
                                 "Both types (*.bin, *.hex)|*.bin;*.hex", "All Files (*.*)|*.*"}));
    EXPECT_EQ(result.defaultExtension, "bin");
}

TEST(ImageFileFilters, OneKindGivesItsOwnFilterAndExtension) {
    const ImageFileFilters result = BuildImageFileFilters({kHex}, "All Files (*.*)");
    EXPECT_EQ(Names(result), (std::vector<std::string>{"Hex Files (*.hex)|*.hex",
                                                       "Both types (*.bin, *.hex)|*.bin;*.hex",
                                                       "All Files (*.*)|*.*"}));
    EXPECT_EQ(result.defaultExtension, "hex");
}

TEST(ImageFileFilters, AKindWithoutNameOrExtensionOffersNothing) {
    const ImageFileFilters noName = BuildImageFileFilters({{"", ".bin"}, kHex}, "All");
    EXPECT_EQ(noName.filters.size(), 3u);
    EXPECT_EQ(noName.filters[0].pattern, "*.hex");
    // Only the first kind names the default extension; here it offers none.
    EXPECT_EQ(noName.defaultExtension, "");
    const ImageFileFilters noExtension = BuildImageFileFilters({{"Bin", ""}}, "All");
    EXPECT_EQ(noExtension.filters.size(), 2u);
}

TEST(ImageFileFilters, JoinedWithNulsAndAClosingNul) {
    const std::string joined = JoinFileFilters({{"A", "*.a"}, {"B", "*.b"}});
    EXPECT_EQ(joined, std::string("A\0*.a\0B\0*.b\0\0", 13));
}

TEST(WatchedFolders, AFolderSpeltInAnotherCaseIsWatchedOnce) {
    WatchedFolders folders(63);
    EXPECT_EQ(folders.Add("C:\\Images\\"), WatchResult::kAdded);
    EXPECT_EQ(folders.Add("c:\\IMAGES\\"), WatchResult::kAlreadyWatched);
    EXPECT_EQ(folders.Add("C:\\Images2\\"), WatchResult::kAdded);
    EXPECT_EQ(folders.Add(""), WatchResult::kNoFolder);
    EXPECT_EQ(folders.Copy(), (std::vector<std::string>{"C:\\Images\\", "C:\\Images2\\"}));
}

TEST(WatchedFolders, TheListStopsAtItsCapacityAndKeepsWhatItHas) {
    WatchedFolders folders(2);
    EXPECT_EQ(folders.Add("A\\"), WatchResult::kAdded);
    EXPECT_EQ(folders.Add("B\\"), WatchResult::kAdded);
    EXPECT_EQ(folders.Add("C\\"), WatchResult::kListFull);
    // A folder already held is still known as such when the list is full.
    EXPECT_EQ(folders.Add("a\\"), WatchResult::kAlreadyWatched);
    EXPECT_EQ(folders.Count(), 2u);
}

TEST(FolderNames, CaseOnlyDecidesNothingElse) {
    EXPECT_TRUE(IsSameFolder("X:\\a\\", "x:\\A\\"));
    EXPECT_FALSE(IsSameFolder("X:\\a\\", "X:\\a"));
    EXPECT_FALSE(IsSameFolder("X:\\a\\", "X:\\b\\"));
}

ImageFileState State(bool hasPath, bool upToDate, bool readable, long kept) {
    ImageFileState state;
    state.hasPath = hasPath;
    state.upToDate = upToDate;
    state.fileReadable = readable;
    state.keptTime = kept;
    return state;
}

TEST(ReloadRules, AnImageWithoutAFileIsNeverAskedAbout) {
    // Even when the document's own test finds it stale.
    EXPECT_EQ(NextReloadStep(State(false, false, false, 0)), ReloadStep::kSkip);
    EXPECT_EQ(NextReloadStep(State(false, false, true, 0)), ReloadStep::kSkip);
}

TEST(ReloadRules, ANewerFileIsOfferedAndAnUpToDateOneIsNot) {
    EXPECT_EQ(NextReloadStep(State(true, false, true, 100)), ReloadStep::kAskReload);
    EXPECT_EQ(NextReloadStep(State(true, true, true, 100)), ReloadStep::kSkip);
}

TEST(ReloadRules, AVanishedFileIsReportedOnceUntilItComesBack) {
    EXPECT_EQ(NextReloadStep(State(true, false, false, 100)), ReloadStep::kReportMissing);
    EXPECT_EQ(NextReloadStep(State(true, false, false, kMissingFileReported)), ReloadStep::kSkip);
    // Back again, with any time at all, it is newer than the reported mark.
    EXPECT_EQ(NextReloadStep(State(true, false, true, kMissingFileReported)),
              ReloadStep::kAskReload);
}

}  // namespace
