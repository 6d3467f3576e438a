#include "SettingsFiles.h"

#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tz::test {

void WriteSettingsFile(const QString& body)
{
    const QString path = SettingsStore::FilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString text = body;
    text.replace(QStringLiteral("\n["), QStringLiteral("\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\"));
    if (text.startsWith(u'['))
        text.insert(1, QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

void RemoveSettingsFile() { QFile::remove(SettingsStore::FilePath()); }

QString ReadSettingsFile()
{
    QFile file(SettingsStore::FilePath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace tz::test
