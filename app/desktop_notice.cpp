#include "desktop_notice.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";

}  // namespace

bool ShowDesktopNotice(const QString& title, const QString& text) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QString::fromLatin1(kService);
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(service).value()) {
        return false;
    }
    QDBusInterface notifications(service, QStringLiteral("/org/freedesktop/Notifications"), service,
                                 bus);
    const QDBusReply<uint> reply =
        notifications.call(QStringLiteral("Notify"), QStringLiteral("olmirafm"), 0U, QString(),
                           title, text, QStringList(), QVariantMap(), -1);
    return reply.isValid();
}
