#include "SettingsPrivateFonts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tz::test {

PrivateFonts UsePrivateFonts(const QString& root, const QStringList& fontFiles)
{
    QDir(root).removeRecursively();
    PrivateFonts fonts { root + QStringLiteral("/fonts"), root + QStringLiteral("/later/fonts") };
    QDir().mkpath(fonts.fontFolder);
    QDir().mkpath(root + QStringLiteral("/later"));
    for (const QString& file : fontFiles)
        QFile::copy(file, fonts.fontFolder + u'/' + QFileInfo(file).fileName());

    const QString conf = root + QStringLiteral("/fonts.conf");
    QFile out(conf);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                                 "<fontconfig>\n<dir>%1</dir>\n<dir>%2</dir>\n<cachedir>%3/cache</cachedir>\n"
                                 "</fontconfig>\n")
                      .arg(fonts.fontFolder, fonts.missingFolder, root)
                      .toUtf8());
    }
    qputenv("FONTCONFIG_FILE", conf.toLocal8Bit());
    return fonts;
}

} // namespace tz::test
