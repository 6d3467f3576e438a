#pragma once
// The paths a benchmark reads from its list file, one a line.
#include <QFile>
#include <QStringList>
#include <optional>

inline std::optional<QStringList> ReadPathList(const char* listPath)
{
    QFile list(QFile::decodeName(listPath));
    if (!list.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList paths;
    while (!list.atEnd())
        paths.append(QFile::decodeName(list.readLine().chopped(1)));
    return paths;
}
