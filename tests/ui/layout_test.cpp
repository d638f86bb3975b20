#include "ui/layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/countdown_state.h"
#include "fakes.h"

namespace {

TEST(Layout, EveryControlInsideTheClientAreaAndNoneOverlapping) {
    const auto controls = Controls();
    for (const ControlSpec& a : controls) {
        if (a.kind == ControlKind::Timer) {
            continue;
        }
        SCOPED_TRACE(std::string(a.name));
        EXPECT_GE(a.rect.left, 0);
        EXPECT_GE(a.rect.top, 0);
        EXPECT_LE(a.rect.left + a.rect.width, kClientWidth);
        EXPECT_LE(a.rect.top + a.rect.height, kClientHeight);
        for (const ControlSpec& b : controls) {
            if (&a == &b || b.kind == ControlKind::Timer) {
                continue;
            }
            const bool apart = a.rect.left + a.rect.width <= b.rect.left ||
                               b.rect.left + b.rect.width <= a.rect.left ||
                               a.rect.top + a.rect.height <= b.rect.top ||
                               b.rect.top + b.rect.height <= a.rect.top;
            EXPECT_TRUE(apart) << "overlaps " << b.name;
        }
    }
}

TEST(Layout, NamesAreUniqueAndLookupFindsEachRow) {
    std::set<std::string_view> names;
    for (const ControlSpec& spec : Controls()) {
        EXPECT_TRUE(names.insert(spec.name).second) << spec.name;
        EXPECT_EQ(&SpecOf(spec.control), &spec);
    }
    EXPECT_EQ(names.size(), 19u);
}

TEST(Layout, OnlyLabelsAndTheButtonHaveInitialText) {
    for (const ControlSpec& spec : Controls()) {
        const bool hasText = !spec.initialText.empty();
        const bool shouldHave =
            spec.kind == ControlKind::Label || spec.kind == ControlKind::PushButton;
        EXPECT_EQ(hasText, shouldHave) << spec.name;
    }
    EXPECT_EQ(SpecOf(Control::标签7).initialText, "18000");
}

TEST(Layout, TabOrderHoldsEveryFocusableControlOnce) {
    std::set<Control> inOrder(kTabOrder.begin(), kTabOrder.end());
    EXPECT_EQ(inOrder.size(), kTabOrder.size());
    for (const ControlSpec& spec : Controls()) {
        const bool focusable = spec.kind != ControlKind::Label && spec.kind != ControlKind::Timer;
        EXPECT_EQ(inOrder.count(spec.control) == 1, focusable) << spec.name;
    }
    EXPECT_EQ(kTabOrder.front(), Control::按钮1);
}

TEST(Layout, WindowIsCentredWithHalvesTruncatedTowardZero) {
    const struct {
        int32_t width, height;
        Point origin;
    } cases[] = {
        {1024, 768, {300, 275}}, {1920, 1080, {748, 431}}, {1025, 769, {300, 276}},
        {424, 217, {0, 0}},      {401, 200, {-11, -8}},  // smaller than the window: -11.5 and -8.5
                                                         // truncate to -11, -8
    };
    for (const auto& c : cases) {
        const Point p = CentredOrigin(c.width, c.height);
        EXPECT_EQ(p.x, c.origin.x) << c.width;
        EXPECT_EQ(p.y, c.origin.y) << c.height;
    }
}

TEST(Layout, CaptionEndsWithTheAccountNumber) {
    const std::string_view prefix = "Brelvo_定时关机小程序-qq";
    ASSERT_TRUE(kWindowCaption.starts_with(prefix));
    const std::string_view number = kWindowCaption.substr(prefix.size());
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string_view::npos);
}

class EventBindingTest : public ::testing::Test {
   protected:
    void SetUp() override { ResetFakes(); }
};

// Only the four events of the table have handlers; everything else a platform reports is
// ignored.
TEST_F(EventBindingTest, OnlyTheBoundEventsRunAHandler) {
    const struct {
        Control control;
        ControlEvent event;
        bool runs;
        size_t urlsOpened;
    } cases[] = {
        {Control::标签9, ControlEvent::LeftButtonPressed, true, 1},
        {Control::标签9, ControlEvent::LeftButtonReleased, false, 0},
        {Control::标签10, ControlEvent::LeftButtonReleased, true, 1},
        {Control::标签10, ControlEvent::LeftButtonPressed, false, 0},
        {Control::标签7, ControlEvent::LeftButtonPressed, false, 0},
        {Control::标签1, ControlEvent::LeftButtonReleased, false, 0},
        {Control::按钮1, ControlEvent::LeftButtonPressed, false, 0},
        {Control::编辑框1, ControlEvent::Clicked, false, 0},
        {Control::时钟1_倒计时, ControlEvent::Clicked, false, 0},
        {Control::标签9, ControlEvent::None, false, 0},
    };
    for (const auto& c : cases) {
        ResetFakes();
        EXPECT_EQ(DispatchControlEvent(c.control, c.event, 5, 5, kKeyCtrl), c.runs)
            << SpecOf(c.control).name;
        EXPECT_EQ(fakeWindow.openedUrls.size(), c.urlsOpened) << SpecOf(c.control).name;
        EXPECT_TRUE(fakeWindow.notices.empty());
    }
}

TEST_F(EventBindingTest, LinksOpenTheSiteWhateverThePointerAndKeys) {
    DispatchControlEvent(Control::标签9, ControlEvent::LeftButtonPressed, 0, 0, 0);
    DispatchControlEvent(Control::标签10, ControlEvent::LeftButtonReleased, 94, 19,
                         kKeyCtrl | kKeyShift | kKeyAlt);
    EXPECT_EQ(fakeWindow.openedUrls,
              (std::vector<std::string>{std::string(kSiteUrl), std::string(kSiteUrl)}));
}

TEST_F(EventBindingTest, ButtonClickConfirmsAndTimerTicks) {
    EXPECT_TRUE(DispatchControlEvent(Control::按钮1, ControlEvent::Clicked));
    EXPECT_EQ(fakeWindow.notices, std::vector<std::string>{"请先选择类型"});

    CountdownSeconds = 2;
    EXPECT_TRUE(DispatchControlEvent(Control::时钟1_倒计时, ControlEvent::PeriodElapsed));
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "2");
}

}  // namespace
