// The program-wide settings and their store, the chip-name list, the port names and path folders.
#include <gtest/gtest.h>

#include <cstring>

#include "tarnel/programming/app_settings.h"
#include "tarnel/images/chip_table.h"
#include "tarnel/programming/port_names.h"

namespace {

TEST(AppSettingsTest, AFirstStartGetsTheDefaults) {
    CMemoryProfileStore store;
    CAppSettings settings;
    settings.Load(store);
    EXPECT_EQ(settings.BPR(), 16);
    EXPECT_EQ(settings.AlphaMode(), 1);
    EXPECT_STREQ(settings.CommPort(), "COM1");
    EXPECT_STREQ(settings.ChipName(), "");
    EXPECT_STREQ(settings.LastDir(), "");
    EXPECT_EQ(settings.FilterIndex(), 0);
    EXPECT_EQ(settings.GotoAddress(), 0);
    EXPECT_EQ(store.Count(), 0);  // loading writes nothing
}

TEST(AppSettingsTest, EverySettingRoundTripsUnderItsValueName) {
    CMemoryProfileStore store;
    {
        CAppSettings settings;
        settings.Load(store);
        settings.SetBPR(32);
        settings.SetAlphaMode(0);
        settings.SetCommPort("COM3");
        settings.SetChipName("Brontal-P: PIC18F452");
        settings.SetLastDir("C:\\images\\");
        settings.SetFilterIndex(2);
        settings.SetGotoAddress(0x1234);
        settings.Save(store);
    }
    // Integers as integers, texts as texts, all in section "Settings".
    EXPECT_EQ(store.GetProfileInt("Settings", "BPR", -1), 32u);
    EXPECT_EQ(store.GetProfileInt("Settings", "AlphaMode", -1), 0u);
    EXPECT_STREQ(store.GetProfileString("Settings", "CommPort", ""), "COM3");
    EXPECT_STREQ(store.GetProfileString("Settings", "ChipName", ""), "Brontal-P: PIC18F452");
    EXPECT_STREQ(store.GetProfileString("Settings", "LastDir", ""), "C:\\images\\");
    EXPECT_EQ(store.GetProfileInt("Settings", "FilterIndex", -1), 2u);
    EXPECT_EQ(store.GetProfileInt("Settings", "GotoAddress", -1), 0x1234u);
    EXPECT_EQ(store.Count(), 7);

    CAppSettings again;
    again.Load(store);
    EXPECT_EQ(again.BPR(), 32);
    EXPECT_EQ(again.AlphaMode(), 0);
    EXPECT_STREQ(again.CommPort(), "COM3");
    EXPECT_STREQ(again.ChipName(), "Brontal-P: PIC18F452");
    EXPECT_EQ(again.GotoAddress(), 0x1234);
}

TEST(AppSettingsTest, TheStoreKeepsEachEntrysKind) {
    CMemoryProfileStore store;
    store.WriteProfileString("Settings", "BPR", "20");
    EXPECT_EQ(store.GetProfileInt("Settings", "BPR", 16), 16u);
    store.WriteProfileInt("Settings", "BPR", 20);
    EXPECT_STREQ(store.GetProfileString("Settings", "BPR", "none"), "none");
    EXPECT_EQ(store.GetProfileInt("Settings", "BPR", 16), 20u);
    EXPECT_EQ(store.GetProfileInt("Other", "BPR", 16), 16u);
}

TEST(AppSettingsTest, ThePortNameIsCopiedOnlyWhenItFits) {
    CAppSettings settings;
    settings.SetCommPort("COM12");
    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(settings.CopyCommPort(buffer, 6));
    EXPECT_STREQ(buffer, "COM12");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(settings.CopyCommPort(buffer, 5));
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_FALSE(settings.CopyCommPort(nullptr, 100));
}

TEST(AppSettingsTest, TheChipNameListHoldsEveryRowInTableOrder) {
    CStringArray names;
    BuildChipNameList(names);
    ASSERT_EQ(names.GetSize(), ChipTable::GetCount());
    EXPECT_STREQ(names[0], "Vasbel-1 RAM 512K");
    EXPECT_STREQ(names[20], "Brontal-P: PIC18F458");
    for (int i = 0; i < ChipTable::GetCount(); ++i) {
        EXPECT_STREQ(names[i], ChipTable::GetEntry(i)->chipName);
    }
}

TEST(PortNamesTest, OnlyComOneToFourAreOffered) {
    for (int i = -1; i <= 5; ++i) {
        EXPECT_EQ(IsComPortAvailable(i), i >= 0 && i <= 3 ? TRUE : FALSE) << i;
    }
    for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) {
        EXPECT_TRUE(IsComPortNameAvailable(name)) << name;
    }
    for (const char* name : {"COM5", "com1", "COM1 ", "COM", "", "\\\\.\\COM1"}) {
        EXPECT_FALSE(IsComPortNameAvailable(name)) << name;
    }
    EXPECT_FALSE(IsComPortNameAvailable(nullptr));
}

TEST(PortNamesTest, ThePathFolderIsItsDriveAndFolders) {
    EXPECT_STREQ(GetPathFolder("C:\\work\\images\\chip.hex"), "C:\\work\\images\\");
    EXPECT_STREQ(GetPathFolder("C:chip.hex"), "C:");
    EXPECT_STREQ(GetPathFolder("chip.hex"), "");
    EXPECT_STREQ(GetPathFolder("\\\\server\\share\\a.bin"), "\\\\server\\share\\");
    EXPECT_STREQ(GetPathFolder("/home/user/a.bin"), "/home/user/");
    EXPECT_STREQ(GetPathFolder("D:/mixed\\sep/a.bin"), "D:/mixed\\sep/");
    EXPECT_STREQ(GetPathFolder("C:\\"), "C:\\");
    EXPECT_STREQ(GetPathFolder(""), "");
}

}  // namespace
