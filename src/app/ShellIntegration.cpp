#include "app/ShellIntegration.h"

#include "platform/Logging.h"
#include "platform/ReplacingFile.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

// The MIME package lives in a static library: its resource is registered by hand.
static void InitMimeResources() { Q_INIT_RESOURCE(mimetype); }

namespace tz {

namespace {

    TZ_LOGGING_CATEGORY(lcShell, "app.shell", QtWarningMsg)

    const QString kIconName = QStringLiteral("application-x-typoscan-zindel-list");
    constexpr int kToolTimeoutMs = 20000;

    QString DataHome() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }

    bool WriteFile(const QString& path, const QByteArray& content)
    {
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            qCWarning(lcShell) << "cannot create the folder of" << path;
            return false;
        }
        QString error;
        if (WriteWholeFile(path, content, &error))
            return true;
        qCWarning(lcShell) << "cannot write" << path << error;
        return false;
    }

    bool RemoveFile(const QString& path)
    {
        QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            return true;
        QFile file(path);
        if (file.remove())
            return true;
        qCWarning(lcShell) << "cannot remove" << path << file.errorString();
        return false;
    }

    // The package installed with the program, the one source of the type.
    QByteArray MimePackage()
    {
        static const bool registered = (InitMimeResources(), true);
        Q_UNUSED(registered);
        QFile file(QStringLiteral(":/mime/typoscan-zindel.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QByteArray DesktopEntry(const QString& executable)
    {
        return QStringLiteral("[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Typoscan Zindel\n"
                              "Comment=Typoscan Zindel 書体リスト\n"
                              "Exec=%1\n"
                              "Icon=%2\n"
                              "MimeType=%3;\n"
                              "NoDisplay=true\n"
                              "Terminal=false\n")
            .arg(DesktopExecLine(executable), kIconName, kListMimeType)
            .toUtf8();
    }

    // Tells the desktop that file types changed: rebuilds the caches below
    // $XDG_DATA_HOME with the usual tools, waiting for them (flush).
    void RefreshDesktopCaches()
    {
        const struct {
            const char* tool;
            QString folder;
        } refreshers[] = {
            { "update-mime-database", DataHome() + QStringLiteral("/mime") },
            { "update-desktop-database", DataHome() + QStringLiteral("/applications") },
        };
        for (const auto& refresher : refreshers) {
            const QString tool = QStandardPaths::findExecutable(QString::fromLatin1(refresher.tool));
            if (tool.isEmpty() || !QFileInfo(refresher.folder).isDir())
                continue;
            QProcess process;
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process.start(tool, { refresher.folder });
            if (!process.waitForFinished(kToolTimeoutMs) || process.exitCode() != 0)
                qCInfo(lcShell) << refresher.tool << "did not finish cleanly";
        }
    }

} // namespace

QString ListMimePackagePath() { return DataHome() + QStringLiteral("/mime/packages/typoscan-zindel.xml"); }

QString ListDesktopEntryPath() { return DataHome() + QStringLiteral("/applications/typoscan-zindel-fontlist.desktop"); }

QString ListIconPath()
{
    return DataHome() + QStringLiteral("/icons/hicolor/48x48/mimetypes/") + kIconName + QStringLiteral(".png");
}

QString DesktopExecLine(const QString& executable)
{
    // Inside a quoted argument '"', '`', '$' and '\' are escaped with a
    // backslash and '%' is doubled; then the value itself escapes its
    // backslashes and control characters.
    QString quoted = QStringLiteral("\"");
    for (QChar c : executable) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        else if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    QString value;
    for (QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value + QStringLiteral(" %f");
}

QString DesktopAppId() { return QStringLiteral(TZ_APP_ID); }

QString InstalledDataFolder(const QString& executable)
{
    return QDir::cleanPath(QFileInfo(executable).absolutePath() + QStringLiteral("/" TZ_DATA_FROM_BIN));
}

bool SystemProvidesListFileType(const QString& executable)
{
    const QString installed = QFileInfo(InstalledDataFolder(executable)).canonicalFilePath();
    if (installed.isEmpty())
        return false;
    QStringList systemFolders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    systemFolders.removeAll(DataHome());
    const bool isSystemFolder = std::any_of(systemFolders.cbegin(), systemFolders.cend(),
        [&](const QString& folder) { return QFileInfo(folder).canonicalFilePath() == installed; });
    return isSystemFolder && QFileInfo::exists(installed + QStringLiteral("/mime/packages/typoscan-zindel.xml"))
        && QFileInfo::exists(installed + QStringLiteral("/applications/") + DesktopAppId() + QStringLiteral(".desktop"));
}

bool RegisterListFileType(const QString& executable, const QImage& icon)
{
    if (SystemProvidesListFileType(executable))
        return true;
    const QByteArray package = MimePackage();
    if (package.isEmpty() || !WriteFile(ListMimePackagePath(), package))
        return false;
    if (!icon.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!icon.save(&buffer, "PNG") || !WriteFile(ListIconPath(), png))
            return false;
    }
    if (!WriteFile(ListDesktopEntryPath(), DesktopEntry(executable)))
        return false;
    RefreshDesktopCaches();
    return true;
}

bool UnregisterListFileType()
{
    bool removed = RemoveFile(ListDesktopEntryPath());
    removed = RemoveFile(ListIconPath()) && removed;
    removed = RemoveFile(ListMimePackagePath()) && removed;
    RefreshDesktopCaches();
    return removed;
}

bool LaunchSibling(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile() && info.isExecutable())
        return QProcess::startDetached(info.absoluteFilePath(), {});
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace tz
