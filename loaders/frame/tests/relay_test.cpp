// The message relay: dropped without a download, one message call per line, the cancel answer.
#include <gtest/gtest.h>

#include <string>

#include "loader/relay.h"
#include "recording_host.h"

namespace {

using loadertest::RecordingHost;

class Relay : public ::testing::Test {
protected:
    void SetUp() override { RecordingHost::Reset(); }
    void TearDown() override { loader::StoreCallback(nullptr); }
};

TEST_F(Relay, WithoutADownloadTheLineReachesNobody) {
    loader::StoreCallback(nullptr);
    EXPECT_FALSE(loaderMessage("\nError changing to pgm mode, ec=%d", 1041));
    loaderMessageNoCancel("dropped too");
    EXPECT_TRUE(RecordingHost::Calls().empty());
}

TEST_F(Relay, EachLineIsOneMessageCallWithAFreshRecord) {
    loader::StoreCallback(RecordingHost::Callback);
    RecordingHost::CancelAt() = 1;
    EXPECT_TRUE(loaderMessage("\nBaud Rate is %d bps", 19200));
    // The next line gets a record of its own: the earlier cancel is not carried over.
    EXPECT_FALSE(loaderMessage("%s", "second"));
    ASSERT_EQ(RecordingHost::Calls().size(), 2u);
    const loadertest::Call& first = RecordingHost::Calls()[0];
    EXPECT_EQ(first.code, -1);
    EXPECT_EQ(first.text, "\nBaud Rate is 19200 bps");
    EXPECT_EQ(first.startMarker, 0);
    EXPECT_TRUE(first.otherWordsZero);
    EXPECT_EQ(RecordingHost::Calls()[1].text, "second");
}

TEST_F(Relay, TheVariantDeliversTheLineButTakesNoCancel) {
    loader::StoreCallback(RecordingHost::Callback);
    RecordingHost::CancelAt() = 1;
    loaderMessageNoCancel("line %d", 1);
    ASSERT_EQ(RecordingHost::Calls().size(), 1u);
    EXPECT_EQ(RecordingHost::Calls()[0].text, "line 1");
}

TEST_F(Relay, ALineLongerThanTheBufferIsCutNotOverrun) {
    loader::StoreCallback(RecordingHost::Callback);
    std::string longText(kRelayLineSize + 100, 'x');
    loaderMessage("%s", longText.c_str());
    ASSERT_EQ(RecordingHost::Calls().size(), 1u);
    EXPECT_EQ(RecordingHost::Calls()[0].text, std::string(kRelayLineSize - 1, 'x'));
}

}  // namespace
