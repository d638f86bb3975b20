// Keeping the machine awake on Linux: a logind "idle" inhibitor, held for as long as its file
// descriptor stays open. Sleep the user asks for (lid, menu) is not held off.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QString>
#include <QVariant>

#include <fcntl.h>
#include <unistd.h>

#include "system/keep_awake.h"

namespace {

constexpr int kCallTimeoutMs = 10000;

// The inhibitor's file descriptor; -1 while nothing is held. Closing it releases the inhibitor.
int heldInhibitor = -1;

bool TakeInhibitor() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() ||
        !(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing)) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call.setArguments({QStringLiteral("idle"), QStringLiteral("Shutdown Timer"),
                       QString::fromUtf8("倒计时结束时关机 (counting down to a power-off)"),
                       QStringLiteral("block")});
    call.setInteractiveAuthorizationAllowed(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        return false;
    }
    const auto descriptor = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().constFirst());
    if (!descriptor.isValid()) {
        return false;
    }
    // The reply's copy closes with the message; this one is ours until the release. Not
    // inherited, so that a browser started from the link labels cannot keep the machine awake.
    heldInhibitor = ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    return heldInhibitor >= 0;
}

}  // namespace

bool KeepSystemAwake(bool awake) {
    if (!awake) {
        if (heldInhibitor >= 0) {
            ::close(heldInhibitor);
            heldInhibitor = -1;
        }
        return true;
    }
    return heldInhibitor >= 0 || TakeInhibitor();
}
