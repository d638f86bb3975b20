// The Linux window, driven like a user drives it: real widgets on the offscreen platform, real
// key and mouse events. Power, keep-awake and the clock are fakes defined below, so nothing
// here can reach logind.
#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/countdown_state.h"
#include "system/keep_awake.h"
#include "system/local_clock.h"
#include "system/power.h"
#include "ui/layout.h"
#include "ui/main_window_qt.h"
#include "ui/window_ops.h"

// ---- fake system services -------------------------------------------------------------------

namespace {

struct FakeSystem {
    std::vector<bool> powerOffRequests;  // the force flag of each request
    std::vector<bool> awakeCalls;
    LocalTimeOfDay clock{12, 0};
};
FakeSystem fakeSystem;

}  // namespace

bool ShutDownSystem(ShutdownKind /*kind*/, bool force) {
    fakeSystem.powerOffRequests.push_back(force);
    return true;
}

bool KeepSystemAwake(bool awake) {
    fakeSystem.awakeCalls.push_back(awake);
    return true;
}

LocalTimeOfDay ReadLocalClock() {
    return fakeSystem.clock;
}

// ---- helpers --------------------------------------------------------------------------------

// Readable failure messages.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
void PrintTo(Control control, std::ostream* out) {
    *out << SpecOf(control).name;
}

// Receives what QDesktopServices::openUrl would hand to the browser.
class UrlRecorder : public QObject {
    Q_OBJECT
   public:
    std::vector<QUrl> opened;
   public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct SeenNotice {
    QString title;
    QString text;
    int buttons;
    QMessageBox::Icon icon;
    Qt::WindowModality modality;
    QString captionWhenOpened;  // 标签7 while the notice was up
    QString captionWhenClosed;
};

class MainWindowTest : public ::testing::Test {
   protected:
    MainWindowTest() {
        // Answers every notice: records it, then presses its OK button after noticeHoldMs.
        QObject::connect(&noticeWatch, &QTimer::timeout, [this] { AnswerNotice(); });
    }

    void SetUp() override {
        fakeSystem = FakeSystem{};
        CountdownSeconds = 0;
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        notices.clear();
        answering = nullptr;
        noticeWatch.start(5);
    }

    void TearDown() override {
        noticeWatch.stop();
        window.reset();
    }

    template <typename Widget = QWidget>
    Widget* W(Control control) const {
        return qobject_cast<Widget*>(window->ControlWidget(control));
    }

    QString Caption7() const { return W<QLabel>(Control::标签7)->text(); }

    void AnswerNotice() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box == answering) {
            return;
        }
        answering = box;
        notices.push_back({box->windowTitle(),
                           box->text(),
                           static_cast<int>(box->buttons().size()),
                           box->icon(),
                           box->windowModality(),
                           Caption7(),
                           {}});
        QTimer::singleShot(noticeHoldMs, box, [this, box] {
            notices.back().captionWhenClosed = Caption7();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
    }

    void Type(Control edit, const QString& text) {
        QWidget* widget = W(edit);
        widget->setFocus();
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    void Click(Control control) { QTest::mouseClick(W(control), Qt::LeftButton); }

    // Keys go where the user's keys go: to the widget that has the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }

    Control Focused() const {
        for (const ControlSpec& spec : Controls()) {
            if (spec.kind != ControlKind::Timer && W(spec.control)->hasFocus()) {
                return spec.control;
            }
        }
        return Control::时钟1_倒计时;  // nothing of the window has the focus
    }

    // Runs the event loop until 标签7 shows something else; returns the time it took, or -1.
    qint64 WaitForCaptionChange(int timeoutMs) {
        const QString before = Caption7();
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer poll;
        poll.setTimerType(Qt::PreciseTimer);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (Caption7() != before || clock.elapsed() > timeoutMs) {
                loop.quit();
            }
        });
        poll.start(1);
        loop.exec();
        return Caption7() != before ? clock.elapsed() : -1;
    }

    std::unique_ptr<MainWindow> window;
    QTimer noticeWatch;
    QMessageBox* answering = nullptr;
    int noticeHoldMs = 0;
    std::vector<SeenNotice> notices;
};

// ---- layout ---------------------------------------------------------------------------------

TEST_F(MainWindowTest, EveryControlOfTheTableAtItsPlace) {
    for (const ControlSpec& spec : Controls()) {
        SCOPED_TRACE(std::string(spec.name));
        QWidget* widget = window->ControlWidget(spec.control);
        if (spec.kind == ControlKind::Timer) {
            EXPECT_EQ(widget, nullptr);
            continue;
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), window.get());
        EXPECT_EQ(widget->geometry(),
                  QRect(spec.rect.left, spec.rect.top, spec.rect.width, spec.rect.height));
        EXPECT_TRUE(widget->isVisible());
        EXPECT_TRUE(widget->isEnabled());
        EXPECT_EQ(widget->font(), QApplication::font());
        switch (spec.kind) {
            case ControlKind::Label: {
                auto* label = qobject_cast<QLabel*>(widget);
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->text(), Q(spec.initialText));
                EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
                EXPECT_FALSE(label->wordWrap());
                EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
                EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
                break;
            }
            case ControlKind::EditBox: {
                auto* edit = qobject_cast<QLineEdit*>(widget);
                ASSERT_NE(edit, nullptr);
                EXPECT_TRUE(edit->text().isEmpty());
                EXPECT_FALSE(edit->isReadOnly());
                EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
                EXPECT_EQ(edit->validator(), nullptr);
                EXPECT_TRUE(edit->hasFrame());
                break;
            }
            case ControlKind::RadioButton: {
                auto* radio = qobject_cast<QRadioButton*>(widget);
                ASSERT_NE(radio, nullptr);
                EXPECT_TRUE(radio->text().isEmpty());
                EXPECT_FALSE(radio->isChecked());
                break;
            }
            case ControlKind::PushButton: {
                auto* button = qobject_cast<QPushButton*>(widget);
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(button->text(), Q(spec.initialText));
                EXPECT_FALSE(button->isDefault());
                EXPECT_FALSE(button->autoDefault());
                break;
            }
            case ControlKind::Timer:
                break;
        }
    }
}

TEST_F(MainWindowTest, FixedWindowWithCaptionAndFocusOnTheButton) {
    EXPECT_EQ(window->windowTitle(), Q(kWindowCaption));
    EXPECT_EQ(window->size(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(48, 48)));
    // The large sizes come from the installed theme icon, not from the window.
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(Focused(), Control::按钮1);
    EXPECT_EQ(Caption7(), "18000");
    EXPECT_EQ(CountdownSeconds, 0);

    // The frame is centred the way the Windows program centres its own.
    const QRect screen = window->screen()->geometry();
    const Point origin = CentredOrigin(screen.width(), screen.height());
    EXPECT_EQ(window->pos(), QPoint(screen.x() + origin.x, screen.y() + origin.y));
}

TEST_F(MainWindowTest, ScreenReadersNameTheRadioButtonsAfterTheirLabels) {
    EXPECT_EQ(W(Control::单选框1)->accessibleName(), "类型1");
    EXPECT_EQ(W(Control::单选框2)->accessibleName(), "类型2");
}

TEST_F(MainWindowTest, LabelNeverGrowsAndCutsLongTextAtTheRightEdge) {
    auto* label = W<QLabel>(Control::标签7);
    const QRect before = label->geometry();
    SetLabelCaption(Control::标签7, "2147460");
    QTest::qWait(20);
    EXPECT_EQ(label->geometry(), before);
    EXPECT_EQ(label->text(), "2147460");  // whole text kept, not elided with "…"
    EXPECT_GT(label->sizeHint().width(), before.width());
}

// ---- keyboard -------------------------------------------------------------------------------

TEST_F(MainWindowTest, TabAndShiftTabCycleThroughTheControls) {
    std::vector<Control> forward;
    for (size_t i = 0; i < kTabOrder.size(); ++i) {
        Key(Qt::Key_Tab);
        forward.push_back(Focused());
    }
    std::vector<Control> expected(kTabOrder.begin() + 1, kTabOrder.end());
    expected.push_back(kTabOrder.front());
    EXPECT_EQ(forward, expected);

    std::vector<Control> backward;
    for (size_t i = 0; i < kTabOrder.size(); ++i) {
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        backward.push_back(Focused());
    }
    expected.assign(kTabOrder.rbegin(), kTabOrder.rend());
    EXPECT_EQ(backward, expected);
}

TEST_F(MainWindowTest, TabReachesBothRadioButtonsWhenOneIsChecked) {
    W<QRadioButton>(Control::单选框1)->setChecked(true);
    W(Control::编辑框1)->setFocus();
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), Control::单选框1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), Control::单选框2);
}

TEST_F(MainWindowTest, ArrowKeysOnARadioButtonMoveToTheOtherAndCheckIt) {
    auto* radio1 = W<QRadioButton>(Control::单选框1);
    auto* radio2 = W<QRadioButton>(Control::单选框2);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right}) {
        SCOPED_TRACE(key);
        radio1->setFocus();
        Key(key);
        EXPECT_EQ(Focused(), Control::单选框2);
        EXPECT_TRUE(radio2->isChecked());
        EXPECT_FALSE(radio1->isChecked());
        Key(key);
        EXPECT_EQ(Focused(), Control::单选框1);
        EXPECT_TRUE(radio1->isChecked());
        EXPECT_FALSE(radio2->isChecked());
    }
}

TEST_F(MainWindowTest, ClickingOneRadioButtonUnchecksTheOther) {
    Click(Control::单选框1);
    Click(Control::单选框2);
    EXPECT_FALSE(W<QRadioButton>(Control::单选框1)->isChecked());
    EXPECT_TRUE(W<QRadioButton>(Control::单选框2)->isChecked());
}

TEST_F(MainWindowTest, EnterAndF1DoNothingAnywhere) {
    for (const Control control : kTabOrder) {
        W(control)->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F1}) {
            Key(key);
        }
    }
    QTest::qWait(50);
    EXPECT_TRUE(notices.empty()) << notices.front().text.toStdString();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, SpaceOnTheButtonConfirms) {
    Key(Qt::Key_Space);
    QTest::qWait(50);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, "请先选择类型");
}

TEST_F(MainWindowTest, EscapeClosesTheWindowWhereverTheFocusIs) {
    for (const Control control : kTabOrder) {
        SCOPED_TRACE(SpecOf(control).name.data());
        if (!window->isVisible()) {
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
        W(control)->setFocus();
        Key(Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(MainWindowTest, FocusComesBackToItsControlWhenTheWindowIsActivatedAgain) {
    W(Control::编辑框2)->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(window->isActiveWindow());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(Focused(), Control::编辑框2);
}

// ---- schedule entry through the window ------------------------------------------------------

struct EntryCase {
    const char* what;
    Control radio;  // 时钟1_倒计时: none checked
    QString minutes, hour, minute;
    QString notice;   // empty: accepted
    QString caption;  // 标签7 right after the confirmation
};

TEST_F(MainWindowTest, EntriesGiveTheirNoticeOrCount) {
    const EntryCase cases[] = {
        {"no type chosen", Control::时钟1_倒计时, "5", "", "", "请先选择类型", "18000"},
        {"type 1, empty", Control::单选框1, "", "", "", "请设置合理的数值", "18000"},
        {"type 1, 5 minutes", Control::单选框1, "5", "", "", "", "300"},
        {"type 1, full-width digits", Control::单选框1, "１０", "", "", "", "600"},
        {"type 1, words after", Control::单选框1, " 10分钟", "", "", "", "600"},
        {"type 1, largest", Control::单选框1, "35791", "", "", "", "2147460"},
        {"type 1, too large", Control::单选框1, "35792", "", "", "请设置合理的数值", "18000"},
        {"type 1, negative", Control::单选框1, "-5", "", "", "请设置合理的数值", "18000"},
        {"type 2, hour 0", Control::单选框2, "", "0", "30", "关机时间请设置1-24的整数", "18000"},
        {"type 2, hour 25", Control::单选框2, "", "25", "0", "关机时间请设置1-24的整数", "18000"},
        {"type 2, minute -1", Control::单选框2, "", "13", "-1", "分钟请设置为0-60的整数", "18000"},
        {"type 2, minute 61", Control::单选框2, "", "13", "61", "分钟请设置为0-60的整数", "18000"},
        {"type 2, this minute", Control::单选框2, "", "12", "0", "请设置合理的数值", "18000"},
        {"type 2, later today", Control::单选框2, "", "13", "0", "", "18000"},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();  // a fresh window for each entry
        if (c.radio != Control::时钟1_倒计时) {
            Click(c.radio);
        }
        Type(Control::编辑框1, c.minutes);
        Type(Control::编辑框2, c.hour);
        Type(Control::编辑框3, c.minute);
        Click(Control::按钮1);
        QTest::qWait(30);

        if (c.notice.isEmpty()) {
            EXPECT_TRUE(notices.empty());
            EXPECT_EQ(fakeSystem.awakeCalls, std::vector<bool>{true});
        } else {
            ASSERT_EQ(notices.size(), 1u);
            EXPECT_EQ(notices[0].text, c.notice);
            EXPECT_EQ(notices[0].title, "信息：");
            EXPECT_EQ(notices[0].buttons, 1);
            EXPECT_EQ(notices[0].icon, QMessageBox::NoIcon);
            EXPECT_EQ(notices[0].modality, Qt::ApplicationModal);
            EXPECT_TRUE(fakeSystem.awakeCalls.empty());
        }
        EXPECT_EQ(Caption7(), c.caption);
        TearDown();
    }
}

// ---- countdown ------------------------------------------------------------------------------

TEST_F(MainWindowTest, CountdownShowsEachSecondAndPowersOffOnTheLastTick) {
    Click(Control::单选框1);
    Type(Control::编辑框1, "1");
    Click(Control::按钮1);
    ASSERT_EQ(Caption7(), "60");
    QElapsedTimer sinceConfirm;
    sinceConfirm.start();
    CountdownSeconds = 3;  // the next tick picks up the new count

    for (int tick = 1; tick <= 3; ++tick) {
        SCOPED_TRACE(tick);
        EXPECT_TRUE(fakeSystem.powerOffRequests.empty());
        ASSERT_GE(WaitForCaptionChange(1500), 0);
        EXPECT_EQ(Caption7(), QString::number(4 - tick));
        EXPECT_NEAR(static_cast<double>(sinceConfirm.elapsed()), 1000.0 * tick, 150.0);
    }
    EXPECT_EQ(fakeSystem.powerOffRequests, std::vector<bool>{true});  // once, forced
    EXPECT_EQ(fakeSystem.awakeCalls, (std::vector<bool>{true, false}));

    // The timer is stopped: no fourth tick, the label keeps showing 1.
    EXPECT_EQ(WaitForCaptionChange(1300), -1);
    EXPECT_EQ(Caption7(), "1");
    EXPECT_EQ(fakeSystem.powerOffRequests.size(), 1u);
    EXPECT_EQ(CountdownSeconds, 0);
}

TEST_F(MainWindowTest, ClosingTheWindowAbandonsTheCountdown) {
    Click(Control::单选框1);
    Type(Control::编辑框1, "1");
    Click(Control::按钮1);
    CountdownSeconds = 1;  // the next tick would power off
    Key(Qt::Key_Escape);
    ASSERT_FALSE(window->isVisible());
    QTest::qWait(1300);
    EXPECT_TRUE(fakeSystem.powerOffRequests.empty());
    EXPECT_EQ(Caption7(), "60");
}

TEST_F(MainWindowTest, ConfirmingAgainWhileCountingKeepsTheRhythm) {
    Click(Control::单选框1);
    Type(Control::编辑框1, "1");
    Click(Control::按钮1);
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    QTest::qWait(1500);  // one tick has passed
    Click(Control::按钮1);
    CountdownSeconds = 42;
    ASSERT_GE(WaitForCaptionChange(1500), 0);
    EXPECT_EQ(Caption7(), "42");
    // On the old one-second rhythm, not a full second after the second click.
    EXPECT_NEAR(static_cast<double>(sinceFirst.elapsed()), 2000.0, 150.0);
}

TEST_F(MainWindowTest, TicksGoOnWhileANoticeIsOpen) {
    Click(Control::单选框1);
    Type(Control::编辑框1, "1");
    Click(Control::按钮1);
    CountdownSeconds = 30;
    ASSERT_GE(WaitForCaptionChange(1500), 0);  // shows 30, count now 29

    noticeHoldMs = 2300;
    Click(Control::单选框2);  // type 2 with no hour: a notice, and the countdown goes on
    Click(Control::按钮1);    // returns once the notice is dismissed
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, "关机时间请设置1-24的整数");
    EXPECT_EQ(notices[0].captionWhenOpened, "30");
    EXPECT_EQ(notices[0].captionWhenClosed, "28");  // two ticks while the notice was open
}

// ---- link labels ----------------------------------------------------------------------------

struct LinkCase {
    const char* what;
    Control label;
    std::function<void(QWindow*, QPoint)> mouse;
    size_t opens;
};

TEST_F(MainWindowTest, LinkLabelsOpenTheSiteOnPressOrRelease) {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    const auto press = [](QWindow* w, QPoint at) { QTest::mousePress(w, Qt::LeftButton, {}, at); };
    const auto release = [](QWindow* w, QPoint at) {
        QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    };
    const auto click = [](QWindow* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, {}, at); };
    const auto doubleClick = [](QWindow* w, QPoint at) {
        QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    };
    const auto rightClick = [](QWindow* w, QPoint at) {
        QTest::mouseClick(w, Qt::RightButton, {}, at);
    };
    const auto ctrlClick = [](QWindow* w, QPoint at) {
        QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, at);
    };
    const LinkCase cases[] = {
        {"press on 标签9", Control::标签9, press, 1},
        {"click on 标签9", Control::标签9, click, 1},
        {"double click on 标签9", Control::标签9, doubleClick, 1},
        {"right click on 标签9", Control::标签9, rightClick, 0},
        {"ctrl+click on 标签9", Control::标签9, ctrlClick, 1},
        {"press on 标签10", Control::标签10, press, 0},
        {"click on 标签10", Control::标签10, click, 1},
        {"double click on 标签10", Control::标签10, doubleClick, 2},
        {"right click on 标签10", Control::标签10, rightClick, 0},
        {"click on 标签7", Control::标签7, click, 0},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.what);
        recorder.opened.clear();
        QWidget* label = W(c.label);
        const QPoint at = label->mapTo(window.get(), label->rect().center());
        c.mouse(window->windowHandle(), at);
        QTest::qWait(10);
        EXPECT_EQ(recorder.opened.size(), c.opens);
        for (const QUrl& url : recorder.opened) {
            EXPECT_EQ(url, QUrl(Q(kSiteUrl)));
        }
        if (c.mouse.target<decltype(press)>() != nullptr) {
            release(window->windowHandle(), at);  // let go before the next case
        }
    }
    QDesktopServices::unsetUrlHandler("https");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Also for test discovery, which does not get the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}

#include "main_window_qt_test.moc"
