#include "ui/layout.h"

#include "scheduler/countdown.h"
#include "scheduler/schedule_entry.h"
#include "ui/site_link.h"

namespace {

using enum Control;
using enum ControlKind;
using enum ControlEvent;

// By row of the window, top to bottom, left to right.
// clang-format off
constexpr ControlSpec kControls[] = {
    {标签1,   "标签1",   Label,       {16, 16, 80, 20},    "当前时间延后", None, nullptr, nullptr},
    {编辑框1, "编辑框1", EditBox,     {104, 16, 64, 20},   "",             None, nullptr, nullptr},
    {标签2,   "标签2",   Label,       {184, 16, 56, 20},   "分钟后",       None, nullptr, nullptr},
    {单选框1, "单选框1", RadioButton, {318, 16, 30, 20},   "",             None, nullptr, nullptr},
    {标签11,  "标签11",  Label,       {360, 16, 40, 20},   "类型1",        None, nullptr, nullptr},
    {标签4,   "标签4",   Label,       {16, 74, 80, 20},    "指定关机时间", None, nullptr, nullptr},
    {编辑框2, "编辑框2", EditBox,     {104, 74, 40, 20},   "",             None, nullptr, nullptr},
    {标签3,   "标签3",   Label,       {152, 74, 24, 20},   "点",           None, nullptr, nullptr},
    {编辑框3, "编辑框3", EditBox,     {176, 74, 40, 20},   "",             None, nullptr, nullptr},
    {标签5,   "标签5",   Label,       {224, 74, 24, 20},   "分",           None, nullptr, nullptr},
    {单选框2, "单选框2", RadioButton, {318, 74, 30, 20},   "",             None, nullptr, nullptr},
    {标签12,  "标签12",  Label,       {360, 74, 40, 20},   "类型2",        None, nullptr, nullptr},
    {标签6,   "标签6",   Label,       {16, 112, 136, 30},  "距离自动关机时间倒计时", None, nullptr, nullptr},
    {标签7,   "标签7",   Label,       {168, 112, 32, 30},  "18000",        None, nullptr, nullptr},
    {标签8,   "标签8",   Label,       {208, 112, 24, 30},  "秒",           None, nullptr, nullptr},
    {按钮1,   "按钮1",   PushButton,  {288, 112, 100, 30}, "确认设定",     Clicked, OnConfirmClicked, nullptr},
    {标签9,   "标签9",   Label,       {74, 163, 60, 20},   "Brelvo官网",   LeftButtonPressed, nullptr, OnSiteLinkPressed},
    {标签10,  "标签10",  Label,       {176, 163, 95, 20},  "微博：Tavrin", LeftButtonReleased, nullptr, OnSiteLinkReleased},
    {时钟1_倒计时, "时钟1_倒计时", Timer, {0, 0, 0, 0},     "",             PeriodElapsed, OnCountdownTick, nullptr},
};
// clang-format on

// The table is indexed by the enum; this keeps the two in step.
constexpr bool TableFollowsEnum() {
    for (size_t i = 0; i < std::size(kControls); ++i) {
        if (static_cast<size_t>(kControls[i].control) != i) {
            return false;
        }
    }
    return true;
}
static_assert(TableFollowsEnum());
static_assert(std::size(kControls) == static_cast<size_t>(时钟1_倒计时) + 1);

}  // namespace

std::span<const ControlSpec> Controls() {
    return kControls;
}

const ControlSpec& SpecOf(Control control) {
    return kControls[static_cast<size_t>(control)];
}

Point CentredOrigin(int32_t screenWidth, int32_t screenHeight) {
    return {(screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2};
}

bool DispatchControlEvent(Control control,
                          ControlEvent event,
                          int32_t x,
                          int32_t y,
                          uint32_t keys) {
    const ControlSpec& spec = SpecOf(control);
    if (event == ControlEvent::None || event != spec.event) {
        return false;
    }
    if (spec.onMouse != nullptr) {
        spec.onMouse(x, y, keys);
        return true;
    }
    if (spec.onEvent != nullptr) {
        spec.onEvent();
        return true;
    }
    return false;
}
