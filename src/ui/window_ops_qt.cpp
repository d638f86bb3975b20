// The window operations on Linux, acting on the current MainWindow. Notices are Qt message
// boxes; the web page goes to the desktop's default handler.
#include <QAbstractButton>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QUrl>

#include "ui/main_window_qt.h"
#include "ui/window_ops.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Widget>
Widget* WidgetOf(Control control) {
    MainWindow* window = CurrentMainWindow();
    return window == nullptr ? nullptr : qobject_cast<Widget*>(window->ControlWidget(control));
}

}  // namespace

bool IsRadioChecked(Control control) {
    const auto* radio = WidgetOf<QAbstractButton>(control);
    return radio != nullptr && radio->isChecked();
}

std::string GetEditText(Control control) {
    const auto* edit = WidgetOf<QLineEdit>(control);
    return edit == nullptr ? std::string() : edit->text().toStdString();
}

void SetLabelCaption(Control control, std::string_view utf8Text) {
    if (auto* label = WidgetOf<QLabel>(control)) {
        label->setText(FromUtf8(utf8Text));
    }
}

void SetTimerPeriod(Control /*timer*/, int32_t milliseconds) {
    if (MainWindow* window = CurrentMainWindow()) {
        window->SetCountdownPeriod(milliseconds);
    }
}

void ShowNotice(std::string_view utf8Text) {
    // No owner, modal to the whole application: the main window is disabled meanwhile, and
    // exec()'s own event loop keeps delivering the countdown's ticks.
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(kNoticeCaption), FromUtf8(utf8Text),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void OpenWebPage(std::string_view url) {
    QDesktopServices::openUrl(QUrl(FromUtf8(url)));
}
