#include "fontlist/ListFile.h"

#include "fontlist/FontList.h"

#include <QSaveFile>

namespace tz {

QByteArray FormatListFile(const FontList& list)
{
    QByteArray out;
    out.reserve(64 + qsizetype(list.Count()) * 96);
    out += "[Generator]\r\nSoftware=\"Typoscan Zindel\"\r\nVersion=0.99\r\n[List099]\r\n";
    for (int row = 0; row < list.Count(); ++row) {
        const FontEntry& e = list.Entry(row);
        out += QByteArray::number(e.Kind);
        for (const QString* field : { &e.FaceName, &e.FamilyName, &e.FilePath, &e.MemberName, &e.Size }) {
            out += '\t';
            out += field->toUtf8();
        }
        out += "\r\n";
    }
    return out;
}

bool WriteListFile(const FontList& list, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = FormatListFile(list);
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace tz
