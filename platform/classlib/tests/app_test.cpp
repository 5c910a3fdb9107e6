// The application object: its name from the resources, profile round trips in a throw-away
// registry key, the recent-file list, string-table texts and answered message boxes.
#include "test_app.h"
#include "test_ids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

CTestApplication theApp;

// Removes a key with everything under it.
void DeleteKeyTree(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    char child[256];
    for (;;) {
        DWORD size = sizeof(child);
        if (::RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        DeleteKeyTree(key, child);
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyA(parent, name);
}

// A registry key of its own for each test, removed afterwards.
class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        char name[64];
        std::snprintf(name, sizeof(name), "ClasslibTest%lu-%lu", ::GetCurrentProcessId(),
                      ::GetTickCount());
        key_ = name;
        theApp.SetRegistryKey(key_.c_str());
    }
    void TearDown() override {
        std::string company = "Software\\" + key_;
        DeleteKeyTree(HKEY_CURRENT_USER, company.c_str());
        theApp.m_pRecentFileList.reset();
    }
    // A value read without the application, to check where it was stored.
    bool RawString(const std::string& section, const char* entry, std::string* out) {
        std::string path = "Software\\" + key_ + "\\Classlib Test\\" + section;
        char buffer[512] = {};
        DWORD size = sizeof(buffer);
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        LONG rc = ::RegQueryValueExA(key, entry, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer),
                                     &size);
        ::RegCloseKey(key);
        *out = buffer;
        return rc == ERROR_SUCCESS;
    }
    std::string key_;
};

}  // namespace

CTestApplication& TestApp() { return theApp; }

// The start-up runs once for the program, before any test.
class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        theApp.InitApplicationState(::GetModuleHandleA(nullptr), nullptr, SW_SHOW);
    }
};
static ::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

namespace {

TEST(Application, TakesItsNameFromTheStringTableAndIsReachableGlobally) {
    EXPECT_STREQ(theApp.m_pszAppName, "Classlib Test");
    EXPECT_STREQ(AfxGetAppName(), "Classlib Test");
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_EQ(AfxGetResourceHandle(), ::GetModuleHandleA(nullptr));
}

TEST(StringTable, LoadsShortAndLongTextsAndReportsMissingOnes) {
    CString s("unchanged");
    EXPECT_FALSE(s.LoadString(4999));
    EXPECT_EQ(s, "unchanged");
    ASSERT_TRUE(s.LoadString(IDS_GREETING));
    EXPECT_EQ(s, "Hello from the string table");
    ASSERT_TRUE(s.LoadString(IDS_LONG_TEXT));
    ASSERT_GT(s.GetLength(), 256);  // longer than the first buffer tried
    for (int i = 0; i < s.GetLength(); ++i) {
        ASSERT_EQ(s[i], '0' + i % 10) << "at " << i;
    }
}

TEST(MessageBoxes, AHookAnswersInsteadOfTheUser) {
    std::vector<std::string> texts;
    std::vector<UINT> types;
    AfxMessageBoxHook previous = AfxSetMessageBoxHook([&](LPCTSTR text, UINT type) {
        texts.emplace_back(text);
        types.push_back(type);
        return IDNO;
    });
    EXPECT_EQ(AfxMessageBox("Document file 'a.hex' was modified outside Tarnel.", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(IDS_GREETING, MB_OK | MB_ICONSTOP), IDNO);
    AfxSetMessageBoxHook(previous);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], "Hello from the string table");
    EXPECT_EQ(types[0], static_cast<UINT>(MB_YESNO));  // the caller's type, nothing added
    EXPECT_EQ(types[1], static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(Profile, ValuesRoundTripUnderTheApplicationsKey) {
    EXPECT_EQ(theApp.GetProfileInt("Settings", "BPR", 16), 16u);  // first start: defaults
    EXPECT_EQ(theApp.GetProfileString("Settings", "CommPort", "COM1"), "COM1");
    EXPECT_TRUE(theApp.WriteProfileInt("Settings", "BPR", 32));
    EXPECT_TRUE(theApp.WriteProfileInt("Settings", "GotoAddress", -1));
    EXPECT_TRUE(theApp.WriteProfileString("Settings", "CommPort", "COM3"));
    EXPECT_TRUE(theApp.WriteProfileString("Settings", "ChipName", ""));
    EXPECT_EQ(theApp.GetProfileInt("Settings", "BPR", 16), 32u);
    EXPECT_EQ(static_cast<int>(theApp.GetProfileInt("Settings", "GotoAddress", 0)), -1);
    EXPECT_EQ(theApp.GetProfileString("Settings", "CommPort", "COM1"), "COM3");
    EXPECT_EQ(theApp.GetProfileString("Settings", "ChipName", "x"), "");
    std::string raw;
    ASSERT_TRUE(RawString("Settings", "CommPort", &raw));
    EXPECT_EQ(raw, "COM3");

    BYTE placement[44];
    for (int i = 0; i < 44; ++i) {
        placement[i] = static_cast<BYTE>(i * 7);
    }
    EXPECT_TRUE(theApp.WriteProfileBinary("Settings", "Placement", placement, sizeof(placement)));
    LPBYTE data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(theApp.GetProfileBinary("Settings", "Placement", &data, &bytes));
    ASSERT_EQ(bytes, 44u);
    EXPECT_EQ(std::memcmp(data, placement, 44), 0);
    delete[] data;
    EXPECT_FALSE(theApp.GetProfileBinary("Settings", "Missing", &data, &bytes));
    EXPECT_EQ(data, nullptr);
    // A value of another type is not taken for an integer.
    EXPECT_EQ(theApp.GetProfileInt("Settings", "CommPort", 5), 5u);
}

TEST_F(Profile, RecentFilesAreReadAtStartAndWrittenBackInOrder) {
    theApp.WriteProfileString("Recent File List", "File1", "C:\\work\\b.hex");
    theApp.WriteProfileString("Recent File List", "File2", "C:\\work\\a.bin");
    theApp.LoadStdProfileSettings(8);
    ASSERT_NE(theApp.m_pRecentFileList, nullptr);
    EXPECT_EQ(theApp.m_pRecentFileList->GetSize(), 8);
    EXPECT_EQ((*theApp.m_pRecentFileList)[0], "C:\\work\\b.hex");
    EXPECT_EQ((*theApp.m_pRecentFileList)[1], "C:\\work\\a.bin");
    theApp.AddToRecentFileList("C:\\work\\A.BIN");
    theApp.AddToRecentFileList("C:\\work\\c.hex");
    theApp.SaveStdProfileSettings();
    std::string raw;
    ASSERT_TRUE(RawString("Recent File List", "File1", &raw));
    EXPECT_EQ(raw, "C:\\work\\c.hex");
    ASSERT_TRUE(RawString("Recent File List", "File2", &raw));
    EXPECT_EQ(raw, "C:\\work\\A.BIN");
    ASSERT_TRUE(RawString("Recent File List", "File3", &raw));
    EXPECT_EQ(raw, "C:\\work\\b.hex");
    EXPECT_FALSE(RawString("Recent File List", "File4", &raw));
}

TEST(ProfileWithoutKey, GivesDefaultsAndStoresNothing) {
    LPCTSTR saved = theApp.m_pszRegistryKey;
    theApp.m_pszRegistryKey = nullptr;
    EXPECT_FALSE(theApp.WriteProfileInt("Settings", "BPR", 3));
    EXPECT_EQ(theApp.GetProfileInt("Settings", "BPR", 16), 16u);
    theApp.m_pszRegistryKey = saved;
}

}  // namespace
