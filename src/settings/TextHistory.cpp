#include "settings/TextHistory.h"

#include "settings/SettingsStore.h"

namespace tz {

namespace {
    QString ItemName(int index) { return QStringLiteral("Item%1").arg(index); }
}

void RememberText(QStringList& history, const QString& text, int limit)
{
    if (text.isEmpty())
        return;
    for (qsizetype i = 0; i < history.size(); ++i) {
        if (history[i].compare(text, Qt::CaseInsensitive) == 0) {
            history.removeAt(i);
            break;
        }
    }
    history.prepend(text);
    if (history.size() > limit)
        history.resize(limit);
}

QStringList ReadTextHistory(SettingsGroup& group, int limit)
{
    QStringList history;
    for (int i = 0; i < limit; ++i) {
        QString item;
        group.Read(ItemName(i), item);
        if (!item.isEmpty())
            history << item;
    }
    return history;
}

void WriteTextHistory(SettingsGroup& group, const QStringList& history, int limit)
{
    for (int i = 0; i < limit; ++i)
        group.Write(ItemName(i), i < history.size() ? history[i] : QString());
}

} // namespace tz
