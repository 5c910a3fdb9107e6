// The faces of the shared fonts, and the common-controls version rules.
#include "docking/comctl_version.h"
#include "docking/font_faces.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FontFaces, WithTheTahomaFamilyAllFiveFontsUseIt) {
    xtdock::FaceChoice faces = xtdock::ChooseFaces(true);
    EXPECT_EQ(std::string(faces.text), "Tahoma");
    EXPECT_EQ(std::string(faces.caption), "Tahoma");
}

TEST(FontFaces, WithoutItTextUsesMsSansSerifAndCaptionsArial) {
    xtdock::FaceChoice faces = xtdock::ChooseFaces(false);
    EXPECT_EQ(std::string(faces.text), "MS Sans Serif");
    EXPECT_EQ(std::string(faces.caption), "Arial");
}

TEST(FontFaces, AFamilyCountsByItsFirstSixLettersInAnyCase) {
    EXPECT_TRUE(xtdock::IsPreferredFamily("Tahoma"));
    EXPECT_TRUE(xtdock::IsPreferredFamily("TAHOMA"));
    EXPECT_TRUE(xtdock::IsPreferredFamily("tahoma bold"));
    EXPECT_FALSE(xtdock::IsPreferredFamily("Tahom"));
    EXPECT_FALSE(xtdock::IsPreferredFamily("Arial"));
    EXPECT_FALSE(xtdock::IsPreferredFamily(""));
    EXPECT_FALSE(xtdock::IsPreferredFamily(nullptr));
}

TEST(FontFaces, OnlyTheExactFaceKeepsItForCaptions) {
    EXPECT_EQ(std::string(xtdock::CaptionFaceFor("tahoma")), "tahoma");
    EXPECT_EQ(std::string(xtdock::CaptionFaceFor("Tahoma Bold")), "Arial");
    EXPECT_EQ(std::string(xtdock::CaptionFaceFor("MS Sans Serif")), "Arial");
}

TEST(ComCtlVersion, MissingOrFailingExportMeansFourPointZero) {
    xtdock::ComCtlAnswer none;
    EXPECT_EQ(xtdock::ComposeComCtlVersion(none), 0x40000u);
    xtdock::ComCtlAnswer failed{true, false, 6, 0};
    EXPECT_EQ(xtdock::ComposeComCtlVersion(failed), 0x40000u);
    xtdock::ComCtlAnswer six{true, true, 6, 0x10081};
    EXPECT_EQ(xtdock::ComposeComCtlVersion(six), 0x60081u);  // the minor keeps its low word
}

TEST(ComCtlVersion, TheValueIsAskedOnceEvenWhenItIsTheDefault) {
    xtdock::VersionCache cache;
    int asked = 0;
    auto ask = [&] {
        ++asked;
        return xtdock::kDefaultComCtlVersion;
    };
    EXPECT_EQ(cache.Get(ask), 0x40000u);
    EXPECT_EQ(cache.Get(ask), 0x40000u);
    EXPECT_EQ(asked, 1);
}

}  // namespace
