// Version classes from the reported version, and the mode each class runs in.
#include <gtest/gtest.h>

#include <vector>

#include "version_class.h"

namespace {

using conredir::ClassifyVersion;
using conredir::Mode;
using conredir::ModeForVersionClass;
using conredir::OsVersion;
using conredir::QueryVersionClass;

TEST(VersionClass, EachKnownSystemHasItsClass) {
    struct Case {
        unsigned long platform, major, minor;
        int cls;
    };
    const Case cases[] = {
        {0, 3, 10, 1},                                              // Win32s
        {1, 4, 0, 2},  {1, 4, 10, 3}, {1, 4, 90, 4},                // Windows 4.x
        {2, 3, 51, 5}, {2, 4, 0, 5},                                // NT 4 and older
        {2, 5, 0, 6},  {2, 5, 1, 7},  {2, 5, 2, 8},                 // NT 5.x
        {2, 6, 0, 9},  {2, 6, 1, 9},  {2, 6, 3, 9},                 // NT 6.x
        {1, 4, 20, 0}, {1, 3, 0, 0},  {1, 5, 0, 0},                 // other Windows
        {2, 5, 3, 0},  {2, 7, 0, 0},  {2, 10, 0, 0}, {3, 6, 1, 0},  // others
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyVersion(OsVersion{c.platform, c.major, c.minor}), c.cls)
            << c.platform << " " << c.major << "." << c.minor;
    }
}

TEST(VersionClass, ExtendedRecordIsAskedFirstThenThePlainOneThenUnknown) {
    std::vector<bool> asked;
    const int cls = QueryVersionClass([&](bool extended, OsVersion& v) {
        asked.push_back(extended);
        if (extended) {
            return false;
        }
        v = OsVersion{2, 5, 2};
        return true;
    });
    EXPECT_EQ(asked, (std::vector<bool>{true, false}));
    EXPECT_EQ(cls, 8);

    asked.clear();
    EXPECT_EQ(QueryVersionClass([&](bool extended, OsVersion& v) {
                  asked.push_back(extended);
                  v = OsVersion{2, 5, 1};
                  return true;
              }),
              7);
    EXPECT_EQ(asked, (std::vector<bool>{true}));

    // Both failing: unknown, whatever the records hold.
    EXPECT_EQ(QueryVersionClass([](bool, OsVersion& v) {
                  v = OsVersion{2, 6, 1};
                  return false;
              }),
              0);
}

TEST(VersionClass, OnlyNt52AndNt6CaptureTheConsole) {
    for (int cls = 0; cls <= 9; ++cls) {
        EXPECT_EQ(ModeForVersionClass(cls), cls >= 8 ? Mode::Capture : Mode::Direct) << cls;
    }
}

}  // namespace
