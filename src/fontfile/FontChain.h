#pragma once
// A system family as the font files that draw its text: fontconfig's best
// match for the family first, then the fonts it falls back to, each with the
// characters it has. Resolved once, on one thread, before any other font is
// made available, it then names the same files however the font set changes
// later, and any thread may read it. A file's data is read when a character
// first needs it and then shared.
#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <mutex>
#include <vector>

typedef struct _FcCharSet FcCharSet;

namespace tz {

class FontChain {
public:
    // Empty when fontconfig knows no scalable font at all.
    static std::shared_ptr<const FontChain> Of(const QString& family);
    ~FontChain();
    FontChain(const FontChain&) = delete;
    FontChain& operator=(const FontChain&) = delete;

    int Count() const { return int(links_.size()); }
    // The link that draws ucs4: the first whose font has it, else the first.
    int LinkFor(char32_t ucs4) const;
    // The face data of a link (a collection's face as a standalone font);
    // empty when the file can't be read any more.
    QByteArray Data(int link) const;
    QString PathOf(int link) const { return links_[std::size_t(link)].path; }

private:
    struct Link {
        QString path;
        int index = 0; // the face in a collection
        FcCharSet* characters = nullptr;
    };
    FontChain() = default;

    std::vector<Link> links_;
    mutable std::mutex mutex_;
    mutable QList<QByteArray> data_; // read as needed, indexed like links_
};

} // namespace tz
