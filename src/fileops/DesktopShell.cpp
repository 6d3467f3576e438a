#include "fileops/DesktopShell.h"

#include "fileops/FileOpsLog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QUrl>

namespace tz {

namespace {

    DesktopShell* replacement = nullptr;

} // namespace

bool DesktopShell::Open(const QString& path)
{
    const bool opened = QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        qCInfo(lcFileOps) << "the desktop did not open" << path;
    return opened;
}

bool DesktopShell::ShowProperties(const QString& path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"), QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("ShowItemProperties"));
    call << QStringList { QUrl::fromLocalFile(path).toString() } << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCInfo(lcFileOps) << "no file manager shows properties:" << reply.errorMessage();
        return false;
    }
    return true;
}

DesktopShell& DesktopShell::Current()
{
    static DesktopShell desktop;
    return replacement ? *replacement : desktop;
}

void DesktopShell::Use(DesktopShell* shell) { replacement = shell; }

} // namespace tz
