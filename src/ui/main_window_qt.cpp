#include "ui/main_window_qt.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QString>

namespace {

MainWindow* currentWindow = nullptr;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

uint32_t KeysOf(Qt::KeyboardModifiers modifiers) {
    uint32_t keys = 0;
    if (modifiers & Qt::ControlModifier) {
        keys |= kKeyCtrl;
    }
    if (modifiers & Qt::ShiftModifier) {
        keys |= kKeyShift;
    }
    if (modifiers & Qt::AltModifier) {
        keys |= kKeyAlt;
    }
    return keys;
}

bool IsArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

// A radio button without a caption of its own: Qt would only take clicks on the round mark;
// the whole rectangle of the control is the button, as users expect of a click target.
class CaptionlessRadioButton : public QRadioButton {
   public:
    using QRadioButton::QRadioButton;

   protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

QWidget* CreateControl(const ControlSpec& spec, QWidget* parent) {
    switch (spec.kind) {
        case ControlKind::Label: {
            // One line, cut off at the right edge: no word wrap, no eliding, and with no
            // layout around it the label keeps its size whatever the text.
            auto* label = new QLabel(FromUtf8(spec.initialText), parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            label->setWordWrap(false);
            label->setFocusPolicy(Qt::NoFocus);
            return label;
        }
        case ControlKind::EditBox:
            return new QLineEdit(parent);
        case ControlKind::RadioButton: {
            // The captions are the separate labels to the right; siblings with autoExclusive
            // form one group, so checking one unchecks the other.
            auto* radio = new CaptionlessRadioButton(parent);
            radio->setAutoExclusive(true);
            return radio;
        }
        case ControlKind::PushButton: {
            // Not the default button: Enter must not click it, only a click or the space bar.
            auto* button = new QPushButton(FromUtf8(spec.initialText), parent);
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        case ControlKind::Timer:
            return nullptr;
    }
    return nullptr;
}

}  // namespace

MainWindow* CurrentMainWindow() {
    return currentWindow;
}

MainWindow::MainWindow()
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                  Qt::WindowCloseButtonHint) {
    currentWindow = this;
    monotonic_.start();

    setWindowTitle(FromUtf8(kWindowCaption));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/shutdown-timer-48.png"));
    setWindowIcon(icon);
    // A fixed client area: the window manager gets equal minimum and maximum sizes, so the
    // window can be neither resized nor maximised.
    setFixedSize(kClientWidth, kClientHeight);

    CreateControls();

    // The frame goes where the Windows program puts its frame. Where the windowing system
    // places windows itself (Wayland), this is only a wish.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const Point origin = CentredOrigin(area.width(), area.height());
        move(area.x() + origin.x, area.y() + origin.y);
    }

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    countdownTimer_.setSingleShot(true);
    countdownTimer_.setTimerType(Qt::PreciseTimer);
    connect(&countdownTimer_, &QTimer::timeout, this, [this] { OnCountdownTimerFired(); });

    // Qt gives the focus back to this widget whenever the window is activated again, unless
    // the user moved it meanwhile.
    ControlWidget(Control::按钮1)->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() {
    countdownTimer_.stop();
    if (currentWindow == this) {
        currentWindow = nullptr;
    }
}

void MainWindow::CreateControls() {
    for (const ControlSpec& spec : Controls()) {
        QWidget* widget = CreateControl(spec, this);
        if (widget == nullptr) {
            continue;
        }
        widget->setObjectName(FromUtf8(spec.name));
        widget->setGeometry(spec.rect.left, spec.rect.top, spec.rect.width, spec.rect.height);
        widget->installEventFilter(this);
        widgets_[static_cast<size_t>(spec.control)] = widget;
        if (spec.kind == ControlKind::PushButton) {
            const Control control = spec.control;
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                    [control] { DispatchControlEvent(control, ControlEvent::Clicked); });
        }
    }
    NameCaptionlessControls();
    for (size_t i = 1; i < kTabOrder.size(); ++i) {
        QWidget::setTabOrder(ControlWidget(kTabOrder[i - 1]), ControlWidget(kTabOrder[i]));
    }
}

// A radio button has no caption of its own; its caption is the label next to it on its right.
// Screen readers get that label's text as the button's name.
void MainWindow::NameCaptionlessControls() {
    for (const ControlSpec& radio : Controls()) {
        if (radio.kind != ControlKind::RadioButton) {
            continue;
        }
        const ControlSpec* caption = nullptr;
        for (const ControlSpec& label : Controls()) {
            if (label.kind == ControlKind::Label && label.rect.top == radio.rect.top &&
                label.rect.left >= radio.rect.left + radio.rect.width &&
                (caption == nullptr || label.rect.left < caption->rect.left)) {
                caption = &label;
            }
        }
        if (caption != nullptr) {
            ControlWidget(radio.control)->setAccessibleName(FromUtf8(caption->initialText));
        }
    }
}

QWidget* MainWindow::ControlWidget(Control control) const {
    return widgets_[static_cast<size_t>(control)];
}

// Closing the window abandons a running countdown: no tick may slip in while the event loop
// winds down.
void MainWindow::closeEvent(QCloseEvent* event) {
    countdownTimer_.stop();
    schedule_ = TickSchedule{};
    QWidget::closeEvent(event);
}

// Tab and Shift+Tab visit every control of kTabOrder. Qt lets only one radio button of an
// exclusive group into the Tab chain; here both take their turn.
bool MainWindow::focusNextPrevChild(bool next) {
    const auto count = static_cast<ptrdiff_t>(kTabOrder.size());
    for (ptrdiff_t i = 0; i < count; ++i) {
        if (ControlWidget(kTabOrder[static_cast<size_t>(i)])->hasFocus()) {
            const ptrdiff_t target = (i + (next ? 1 : count - 1)) % count;
            ControlWidget(kTabOrder[static_cast<size_t>(target)])
                ->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const ControlSpec* spec = nullptr;
    for (const ControlSpec& candidate : Controls()) {
        if (ControlWidget(candidate.control) == watched) {
            spec = &candidate;
        }
    }
    if (spec == nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        // A quick second press reaches the widget as MouseButtonDblClick, which is not a press.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<const QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint at = mouse->position().toPoint();
                DispatchControlEvent(spec->control,
                                     event->type() == QEvent::MouseButtonPress
                                         ? ControlEvent::LeftButtonPressed
                                         : ControlEvent::LeftButtonReleased,
                                     at.x(), at.y(), KeysOf(mouse->modifiers()));
            }
            break;
        }
        case QEvent::KeyPress: {
            // With two radio buttons every arrow key moves to the other one and checks it.
            // Qt's own arrow navigation goes by geometry and would stop at the last button.
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (spec->kind == ControlKind::RadioButton && IsArrowKey(key->key())) {
                const Control other =
                    spec->control == Control::单选框1 ? Control::单选框2 : Control::单选框1;
                auto* radio = static_cast<QRadioButton*>(ControlWidget(other));
                radio->setFocus(Qt::OtherFocusReason);
                radio->setChecked(true);
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

int64_t MainWindow::NowMs() const {
    return monotonic_.elapsed();
}

void MainWindow::SetCountdownPeriod(int32_t milliseconds) {
    if (!ChangeTickPeriod(schedule_, milliseconds, NowMs())) {
        return;
    }
    countdownTimer_.stop();
    if (IsRunning(schedule_)) {
        ArmCountdownTimer();
    }
}

void MainWindow::ArmCountdownTimer() {
    countdownTimer_.start(static_cast<int>(MillisecondsUntilNextTick(schedule_, NowMs())));
}

void MainWindow::OnCountdownTimerFired() {
    const TickOutcome outcome = AdvanceTickSchedule(schedule_, NowMs());
    // Armed before the tick runs, so that a tick which stops or replaces the timer has the
    // last word.
    if (IsRunning(schedule_)) {
        ArmCountdownTimer();
    }
    if (outcome.due) {
        DispatchControlEvent(Control::时钟1_倒计时, ControlEvent::PeriodElapsed);
    }
}
