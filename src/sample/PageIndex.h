#pragma once
// One entry per placed face block, in placement order: where the block lies
// (page number and top edge in the full page image), the face it shows and
// the row's kind. The viewer jumps by it and finds the face under the mouse.
#include <QString>
#include <QStringList>

namespace tz {

struct PageIndex {
    QStringList PageKeys; // "%04d%05d": page number, block top in page-image pixels
    QStringList BlockFaces; // the face name without surrounding blanks and control characters
    QStringList BlockKinds; // the row's kind in decimal

    static QString PageKey(int pageNumber, int top);
    void Append(const QString& pageKey, const QString& faceName, int kind);
    void Clear();
    qsizetype Count() const { return PageKeys.size(); }
};

} // namespace tz
