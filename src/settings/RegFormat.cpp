#include "settings/RegFormat.h"

#include <QMap>
#include <QStringList>

namespace tz {

namespace {

    constexpr QStringView kHive = u"HKEY_CURRENT_USER\\";

    QString Escape(const QString& text)
    {
        QString out;
        out.reserve(text.size() + 2);
        for (QChar c : text) {
            if (c == u'\\' || c == u'"')
                out += u'\\';
            if (c == u'\n')
                out += u"\\n";
            else if (c == u'\r')
                out += u"\\r";
            else
                out += c;
        }
        return out;
    }

    // Parses a quoted text starting at pos (at the opening quote); pos ends
    // after the closing quote.
    std::optional<QString> Unquote(QStringView line, qsizetype& pos)
    {
        if (pos >= line.size() || line[pos] != u'"')
            return std::nullopt;
        QString out;
        for (++pos; pos < line.size(); ++pos) {
            const QChar c = line[pos];
            if (c == u'"') {
                ++pos;
                return out;
            }
            if (c == u'\\') {
                if (++pos >= line.size())
                    return std::nullopt;
                const QChar e = line[pos];
                out += e == u'n' ? QChar(u'\n') : e == u'r' ? QChar(u'\r') : e;
            } else {
                out += c;
            }
        }
        return std::nullopt;
    }

    bool ParseValue(QStringView line, const QString& group, QSettings::SettingsMap& map)
    {
        qsizetype pos = 0;
        const auto name = Unquote(line, pos);
        if (!name || name->isEmpty() || pos >= line.size() || line[pos] != u'=')
            return false;
        const QStringView rest = line.mid(pos + 1);
        if (rest.startsWith(u"dword:")) {
            const QStringView digits = rest.mid(6);
            bool ok = false;
            const uint value = digits.toUInt(&ok, 16);
            if (!ok || digits.size() != 8)
                return false;
            map.insert(group + u'/' + *name, int(value));
            return true;
        }
        qsizetype textPos = 0;
        const auto text = Unquote(rest, textPos);
        if (!text || textPos != rest.size())
            return false;
        map.insert(group + u'/' + *name, *text);
        return true;
    }

} // namespace

bool ReadRegFormat(QIODevice& device, QSettings::SettingsMap& map)
{
    const QByteArray bytes = device.readAll();
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter) || text.contains(QChar(0)))
        return false;
    QString group;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView view(line);
        if (view.trimmed().isEmpty() || view.startsWith(u';') || view.startsWith(u"REGEDIT")
            || view.startsWith(u"Windows Registry Editor"))
            continue;
        if (view.startsWith(u'[')) {
            if (!view.endsWith(u']') || view.size() < 3)
                return false;
            QStringView path = view.mid(1, view.size() - 2);
            if (path.startsWith(kHive))
                path = path.mid(kHive.size());
            group = path.toString().replace(u'\\', u'/');
            map.insert(group + u'/' + kKeyMarker, true);
            continue;
        }
        if (group.isEmpty() || !ParseValue(view, group, map))
            return false;
    }
    return true;
}

bool WriteRegFormat(QIODevice& device, const QSettings::SettingsMap& map)
{
    // Group the values by key; QSettings hands the map sorted by name.
    QMap<QString, QStringList> lines;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(u'/');
        const QString group = it.key().left(slash);
        const QString name = it.key().mid(slash + 1);
        QStringList& section = lines[group];
        if (name == kKeyMarker)
            continue;
        const QVariant& value = it.value();
        if (value.typeId() == QMetaType::Int)
            section << QStringLiteral("\"%1\"=dword:%2").arg(Escape(name)).arg(uint(value.toInt()), 8, 16, QChar(u'0'));
        else
            section << QStringLiteral("\"%1\"=\"%2\"").arg(Escape(name), Escape(value.toString()));
    }
    QByteArray out;
    for (auto it = lines.constBegin(); it != lines.constEnd(); ++it) {
        QString header = it.key();
        header.replace(u'/', u'\\');
        out += QStringLiteral("[%1%2]\n").arg(kHive, header).toUtf8();
        for (const QString& line : it.value())
            out += line.toUtf8() + '\n';
        out += '\n';
    }
    return device.write(out) == out.size();
}

QSettings::Format RegFormat()
{
    static const QSettings::Format format
        = QSettings::registerFormat(QStringLiteral("reg"), ReadRegFormat, WriteRegFormat, Qt::CaseSensitive);
    return format;
}

} // namespace tz
