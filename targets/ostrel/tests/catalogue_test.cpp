// The chip catalogue and the factory's list texts and type codes.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "chip_catalogue.h"
#include "sim_factory.h"

namespace ostrel {
namespace {

TEST(ChipCatalogue, HoldsEachManufacturersRowsInOneGroupWithItsFamilyCode) {
    const std::map<std::string, std::pair<int, uint32_t>> expected = {
        {"Generic", {2, 0x02}},  {"Analog Devices", {2, 0x11}},
        {"Atmel", {17, 0x12}},   {"Dallas SemiConductor", {9, 0x13}},
        {"Intel", {19, 0x14}},   {"ISSI", {14, 0x15}},
        {"Okidata", {5, 0x16}},  {"Wendra", {58, 0x17}},
        {"Infineon", {1, 0x18}}, {"SST", {2, 0x19}},
        {"TEMIC", {22, 0x1A}}};
    ASSERT_EQ(kChipCatalogueSize, 151u);
    EXPECT_EQ(kChipCatalogue[151].chipId, nullptr);
    std::map<std::string, int> counts;
    int groups = 0;
    for (size_t i = 0; i < kChipCatalogueSize; ++i) {
        const ChipInfo& row = kChipCatalogue[i];
        if (i == 0 || std::strcmp(row.manufacturer, kChipCatalogue[i - 1].manufacturer) != 0) {
            ++groups;
        }
        ++counts[row.manufacturer];
        ASSERT_TRUE(expected.count(row.manufacturer)) << row.manufacturer;
        EXPECT_EQ(row.familyCode, expected.at(row.manufacturer).second) << row.chipId;
    }
    EXPECT_EQ(groups, 11);
    for (const auto& [manufacturer, countAndCode] : expected) {
        EXPECT_EQ(counts[manufacturer], countAndCode.first) << manufacturer;
    }
}

TEST(ChipCatalogue, KeepsSizesOfTypicalRows) {
    const ChipInfo* first = &kChipCatalogue[0];
    EXPECT_STREQ(first->chipId, "8052");
    EXPECT_EQ(first->programSize, 65536u);
    EXPECT_EQ(first->internalRamSize, 256u);

    const ChipInfo* tiny = FindChip("AT89C1051");
    ASSERT_NE(tiny, nullptr);
    EXPECT_EQ(tiny->programSize, 1024u);
    EXPECT_EQ(tiny->internalRamSize, 64u);
    EXPECT_EQ(tiny->externalSize, 0u);

    const ChipInfo* sst = FindChip("SST89C58");
    ASSERT_NE(sst, nullptr);
    EXPECT_EQ(sst->programSize, 36u * 1024);
    EXPECT_EQ(sst->externalSize, 65536u);

    const ChipInfo* romless = FindChip("80C251SB");
    ASSERT_NE(romless, nullptr);
    EXPECT_EQ(romless->programSize, 0u);
    EXPECT_EQ(romless->internalRamSize, 1024u);

    const ChipInfo* last = &kChipCatalogue[150];
    EXPECT_STREQ(last->chipId, "T89C51RD2");
    EXPECT_STREQ(last->manufacturer, "TEMIC");
}

TEST(ChipCatalogue, FindsIdsExactlyAsWrittenTrailingBlankIncluded) {
    EXPECT_NE(FindChip("OM5238 "), nullptr);
    EXPECT_EQ(FindChip("OM5238"), nullptr);
    EXPECT_EQ(FindChip("at89s53"), nullptr);
    EXPECT_NE(FindChip("AT89S53"), nullptr);
    EXPECT_EQ(FindChip(""), nullptr);
    EXPECT_EQ(FindChip(nullptr), nullptr);
    EXPECT_EQ(FindChip("80C52"), nullptr);
}

TEST(FactoryTexts, ListsManufacturersInCatalogueOrderWithoutTrailingComma) {
    CSimFactory factory;
    EXPECT_STREQ(factory.GetManufacturers(),
                 "Generic,Analog Devices,Atmel,Dallas SemiConductor,Intel,ISSI,Okidata,Wendra,"
                 "Infineon,SST,TEMIC");
}

TEST(FactoryTexts, ListsChipsOfOneManufacturerEachFollowedByComma) {
    CSimFactory factory;
    EXPECT_STREQ(factory.GetChips("Generic"), "8052,8051,");
    EXPECT_STREQ(factory.GetChips("Infineon"), "SAB-C501,");
    EXPECT_STREQ(factory.GetChips("SST"), "SST89C54,SST89C58,");
    EXPECT_STREQ(factory.GetChips("generic"), "");
    EXPECT_STREQ(factory.GetChips("Nobody"), "");
    EXPECT_STREQ(factory.GetChips(nullptr), "");
}

TEST(FactoryTexts, LongestChipListFitsItsBufferWhole) {
    CSimFactory factory;
    const std::string wendra = factory.GetChips("Wendra");
    // 58 IDs with their commas and the terminator, the blank of "OM5238 " included.
    EXPECT_EQ(wendra.size() + 1, 475u);
    EXPECT_EQ(wendra.rfind("OM5232,OM5234,OM5238 ,"), wendra.size() - 22);
    EXPECT_EQ(wendra.find("P80C31,P80C51,"), 0u);
}

TEST(FactoryTexts, AnswersTheFixedConstants) {
    CSimFactory factory;
    EXPECT_EQ(factory.GetTargetType(), 2u);
    EXPECT_EQ(factory.QueryFlag8(), 1);
    EXPECT_EQ(factory.QueryFlag9(), 1);
    EXPECT_EQ(factory.QueryFlag10(), 1);
    EXPECT_STREQ(factory.GetFamilyName(), "8051");
    EXPECT_STREQ(factory.GetDefaultChip(), "8051");
}

TEST(FactoryTypes, CombinesFamilyCodeWithTheTypeBase) {
    CSimFactory factory;
    EXPECT_EQ(factory.GetTargetTypeForChip("AT89C52"), 0x1B000012u);
    EXPECT_EQ(factory.GetTargetTypeForChip("8051"), 0x1B000002u);
    EXPECT_EQ(factory.GetTargetTypeForChip("T89C51RD2"), 0x1B00001Au);
    EXPECT_EQ(factory.GetTargetTypeForChip("OM5238 "), 0x1B000017u);
    EXPECT_EQ(factory.GetTargetTypeForChip("OM5238"), 0x1B000002u);
    EXPECT_EQ(factory.GetTargetTypeForChip("Z80"), 0x1B000002u);
    EXPECT_EQ(factory.GetTargetTypeForChip(""), 0x1B000002u);
    EXPECT_EQ(factory.GetTargetTypeForChip(nullptr), 0x1B000002u);
}

}  // namespace
}  // namespace ostrel
