// The power-off on Linux: systemd-logind (or elogind) on the system bus. CanPowerOff() plays
// the part of the privilege check; the request itself never asks for a password, because
// nobody may be at the machine when the countdown ends.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QString>
#include <QVariant>

#include "system/power.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

// SD_LOGIND_SKIP_INHIBITORS: power off even while other programs hold "shutdown" inhibitors,
// the meaning of force.
constexpr qulonglong kSkipInhibitors = 0x10;
constexpr int kCallTimeoutMs = 10000;

QDBusMessage CallManager(QDBusConnection& bus,
                         const QString& method,
                         const QList<QVariant>& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
    call.setArguments(arguments);
    call.setInteractiveAuthorizationAllowed(false);
    return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

bool PowerOffAllowed(QDBusConnection& bus) {
    const QDBusMessage reply = CallManager(bus, QStringLiteral("CanPowerOff"));
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
           reply.arguments().constFirst().toString() == QLatin1String("yes");
}

// logind before version 246 has no PowerOffWithFlags.
bool IsMissingMethod(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ErrorMessage &&
           (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod") ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.InvalidArgs"));
}

}  // namespace

bool ShutDownSystem(ShutdownKind /*kind*/, bool force) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !PowerOffAllowed(bus)) {
        return false;
    }
    const qulonglong flags = force ? kSkipInhibitors : 0;
    const QDBusMessage reply =
        CallManager(bus, QStringLiteral("PowerOffWithFlags"), {QVariant::fromValue(flags)});
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return true;
    }
    if (!IsMissingMethod(reply)) {
        return false;
    }
    // The older call has no way to skip inhibitors; its argument is "interactive".
    const QDBusMessage fallback = CallManager(bus, QStringLiteral("PowerOff"), {QVariant(false)});
    return fallback.type() == QDBusMessage::ReplyMessage;
}
