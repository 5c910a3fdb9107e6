// The off-screen device context: what is drawn into it shows when it ends, nothing before.
#include "docking/mem_dc.h"
#include "guitest/capture.h"
#include "guitest/pump.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

class MemDcTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = OpenTestFrame();
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(wnd_.Create(frame_, CRect(10, 10, 110, 60)));
    }
    void TearDown() override { CloseTestFrame(frame_); }
    void Repaint() {
        wnd_.RedrawWindow();
        guitest::PumpPending();
    }

    CFrameWnd* frame_ = nullptr;
    CPaintedWnd wnd_;
};

TEST_F(MemDcTest, ThePictureReachesTheWindowWhenTheContextEnds) {
    COLORREF seenDuring = CLR_INVALID;
    wnd_.paint = [&](CDC* pDC) {
        pDC->FillSolidRect(0, 0, 100, 50, RGB(0, 255, 0));
        CRect client;
        wnd_.GetClientRect(&client);
        {
            CXTMemDC memDC(&wnd_, pDC, client, RGB(255, 0, 0));
            memDC.FillSolidRect(20, 10, 30, 20, RGB(0, 0, 255));
            seenDuring = pDC->GetPixel(25, 15);
        }
    };
    Repaint();
    EXPECT_EQ(seenDuring, RGB(0, 255, 0));  // nothing shows while drawing
    guitest::ClientPixels pixels(&wnd_);
    EXPECT_EQ(pixels.At(25, 15), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(2, 2), RGB(255, 0, 0));  // the background colour
    EXPECT_EQ(pixels.At(99, 49), RGB(255, 0, 0));
}

TEST_F(MemDcTest, AnEmptyRectangleCopiesNothingVisible) {
    wnd_.paint = [&](CDC* pDC) {
        pDC->FillSolidRect(0, 0, 100, 50, RGB(0, 255, 0));
        { CXTMemDC noWidth(&wnd_, pDC, CRect(0, 0, 0, 50), RGB(255, 0, 0)); }
        { CXTMemDC noHeight(&wnd_, pDC, CRect(0, 0, 100, 0), RGB(255, 0, 0)); }
    };
    Repaint();
    guitest::ClientPixels pixels(&wnd_);
    EXPECT_EQ(pixels.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(pixels.At(50, 25), RGB(0, 255, 0));
}

}  // namespace
