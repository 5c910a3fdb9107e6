// The bar state of the toolkit MDI frame in the registry: the class library's sections with each
// docking window's "Bar Position" beside its "BarID", read back raw and loaded into a new frame,
// also when a docking window has no section of its own.
#include "frames_test_app.h"
#include "guitest/pump.h"
#include "guitest/registry_sandbox.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kSection[] = "Bar State";

std::string SectionName(int n) { return std::string(kSection) + "-Bar" + std::to_string(n); }

class BarStateTest : public ::testing::Test {
protected:
    void SetUp() override { sandbox_ = std::make_unique<guitest::RegistrySandbox>(&theTestApp); }
    void TearDown() override {
        CloseFramesTestFrame(frame_);
        sandbox_.reset();
    }

    CFramesTestFrame* OpenFrame(const FrameBars& bars = FrameBars()) {
        CloseFramesTestFrame(frame_);
        frame_ = CFramesTestFrame::Open(bars);
        return frame_;
    }

    // Section number of each "BarID" written, in section order.
    std::map<DWORD, int> SavedBarIDs() const {
        std::map<DWORD, int> sections;
        DWORD id = 0;
        for (int n = 0; sandbox_->ReadDword(SectionName(n), "BarID", &id); ++n) {
            sections[id] = n;
        }
        return sections;
    }

    // The eleven values of a "Bar Position" record, or none when it is absent or not 44 bytes.
    std::vector<DWORD> BarPosition(int nSection) const {
        std::vector<BYTE> raw;
        if (!sandbox_->ReadBinary(SectionName(nSection), "Bar Position", &raw) ||
            raw.size() != 44) {
            return {};
        }
        std::vector<DWORD> values;
        for (size_t i = 0; i < raw.size(); i += 4) {
            values.push_back(raw[i] | raw[i + 1] << 8 | raw[i + 2] << 16 |
                             static_cast<DWORD>(raw[i + 3]) << 24);
        }
        return values;
    }

    // Gives Messages sizes no layout would choose, hides Output, and saves.
    void SaveDistinctLayout() {
        xtdock::XT_DOCK_SIZES sizes = frame_->m_wndMessages.GetDockSizes();
        sizes.sizeVertDock = CSize(151, 333);
        sizes.sizeFloat = CSize(271, 191);
        frame_->m_wndMessages.SetDockSizes(sizes);
        frame_->ShowControlBar(&frame_->m_wndOutput, FALSE, FALSE);
        frame_->Settle();
        frame_->SaveBarState(kSection);
    }

    std::unique_ptr<guitest::RegistrySandbox> sandbox_;
    CFramesTestFrame* frame_ = nullptr;
};

std::vector<DWORD> Expected(const xtdock::XT_DOCK_SIZES& s, DWORD dwToolkitStyle) {
    auto d = [](LONG v) { return static_cast<DWORD>(v); };
    return {d(s.sizeVertDock.cx),
            d(s.sizeVertDock.cy),
            d(s.sizeHorzDock.cx),
            d(s.sizeHorzDock.cy),
            d(s.sizeFloat.cx),
            d(s.sizeFloat.cy),
            d(s.sizeCurrent.cx),
            d(s.sizeCurrent.cy),
            static_cast<DWORD>(s.bAloneInRow),
            static_cast<DWORD>(s.bExpanded),
            dwToolkitStyle};
}

TEST_F(BarStateTest, EachDockingWindowSavesItsSizesInItsOwnSectionAndANewFrameLoadsThem) {
    ASSERT_NE(nullptr, OpenFrame());
    SaveDistinctLayout();
    const xtdock::XT_DOCK_SIZES messages = frame_->m_wndMessages.GetDockSizes();
    const xtdock::XT_DOCK_SIZES output = frame_->m_wndOutput.GetDockSizes();

    const std::map<DWORD, int> sections = SavedBarIDs();
    ASSERT_EQ(1u, sections.count(kMessagesID));
    ASSERT_EQ(1u, sections.count(kOutputID));
    EXPECT_EQ(Expected(messages, kMessagesStyle), BarPosition(sections.at(kMessagesID)));
    EXPECT_EQ(Expected(output, kOutputStyle), BarPosition(sections.at(kOutputID)));
    // Only docking windows add a record; the library's own values sit beside it.
    ASSERT_EQ(1u, sections.count(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_TRUE(BarPosition(sections.at(AFX_IDW_DOCKBAR_BOTTOM)).empty());
    DWORD visible = 1;
    EXPECT_TRUE(sandbox_->ReadDword(SectionName(sections.at(kOutputID)), "Visible", &visible));
    EXPECT_EQ(0u, visible);

    ASSERT_NE(nullptr, OpenFrame());
    EXPECT_NE(CSize(151, 333), frame_->m_wndMessages.GetDockSizes().sizeVertDock);
    frame_->LoadBarState(kSection);
    EXPECT_EQ(CSize(151, 333), frame_->m_wndMessages.GetDockSizes().sizeVertDock);
    EXPECT_EQ(CSize(271, 191), frame_->m_wndMessages.GetDockSizes().sizeFloat);
    frame_->Settle();
    EXPECT_FALSE(frame_->m_wndOutput.IsVisible());
    EXPECT_TRUE(frame_->m_wndMessages.IsVisible());
}

TEST_F(BarStateTest, ADockingWindowWithoutASectionLeavesEveryOtherBarsStateToLoad) {
    // First start: nothing saved, nothing changes.
    FrameBars withNewcomer;
    withNewcomer.nFirstDockWindow = 106;
    ASSERT_NE(nullptr, OpenFrame(withNewcomer));
    const CSize createdVert = frame_->m_wndMessages.GetDockSizes().sizeVertDock;
    frame_->LoadBarState(kSection);
    frame_->Settle();
    EXPECT_TRUE(frame_->m_wndOutput.IsVisible());
    EXPECT_EQ(createdVert, frame_->m_wndMessages.GetDockSizes().sizeVertDock);
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT,
              static_cast<UINT>(frame_->m_wndOutput.m_pDockBar->GetDlgCtrlID()));

    // Saved by a program without the newcomer, loaded by one with it (listed first).
    ASSERT_NE(nullptr, OpenFrame());
    SaveDistinctLayout();
    ASSERT_EQ(0u, SavedBarIDs().count(106));
    ASSERT_NE(nullptr, OpenFrame(withNewcomer));
    const CSize newcomerVert = frame_->m_wndFirst.GetDockSizes().sizeVertDock;
    frame_->LoadBarState(kSection);
    EXPECT_EQ(CSize(151, 333), frame_->m_wndMessages.GetDockSizes().sizeVertDock);
    EXPECT_EQ(newcomerVert, frame_->m_wndFirst.GetDockSizes().sizeVertDock);
    frame_->Settle();
    EXPECT_FALSE(frame_->m_wndOutput.IsVisible());
}

TEST_F(BarStateTest, SavingGoesOnPastADockingWindowWithoutASection) {
    // The library keeps the whole identifier, the search only its low word: this docking
    // window's search meets the end of the sections.
    FrameBars bars;
    bars.nFirstDockWindow = 0x10000 + 106;
    ASSERT_NE(nullptr, OpenFrame(bars));
    frame_->SaveBarState(kSection);
    const std::map<DWORD, int> sections = SavedBarIDs();
    ASSERT_EQ(1u, sections.count(0x10000 + 106));
    EXPECT_TRUE(BarPosition(sections.at(0x10000 + 106)).empty());
    ASSERT_EQ(1u, sections.count(kMessagesID));
    ASSERT_EQ(1u, sections.count(kOutputID));
    EXPECT_EQ(Expected(frame_->m_wndMessages.GetDockSizes(), kMessagesStyle),
              BarPosition(sections.at(kMessagesID)));
    EXPECT_EQ(Expected(frame_->m_wndOutput.GetDockSizes(), kOutputStyle),
              BarPosition(sections.at(kOutputID)));
}

}  // namespace
