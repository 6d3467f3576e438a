// A second process for the settings tests.
//   settings_peer write KEY NAME=VALUE...   (VALUE: "int:N" or text)
//   settings_peer hammer KEY                (rewrites a large value until killed)
#include "settings/SettingsStore.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    if (args[1] == u"write") {
        tz::SettingsStore store;
        tz::SettingsGroup group(store, args[2]);
        for (const QString& pair : args.mid(3)) {
            const QString name = pair.section(u'=', 0, 0);
            const QString value = pair.section(u'=', 1);
            if (value.startsWith(u"int:"))
                group.Write(name, value.mid(4).toInt());
            else
                group.Write(name, value);
        }
        return store.Close() ? 0 : 1;
    }
    if (args[1] == u"hammer") {
        for (int round = 0;; ++round) {
            tz::SettingsStore store;
            tz::SettingsGroup group(store, args[2]);
            for (int i = 0; i < 200; ++i)
                group.Write(QStringLiteral("Value%1").arg(i), QString(200, QChar(u'a' + round % 26)));
            group.Write(QStringLiteral("Round"), round);
        }
    }
    return 2;
}
