#include "fontfile/FontChain.h"

#include "fontfile/OwnFace.h"

#include <QFile>
#include <fontconfig/fontconfig.h>

namespace tz {

namespace {

    // Enough for every script a heading may hold; the sorted set ends in
    // fonts that add nothing new.
    constexpr int kMostLinks = 64;

    QByteArray FaceData(const QString& path, int index)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray image = file.readAll();
        return index == 0 && !image.startsWith("ttcf") ? image : StandaloneFace(image, index);
    }

} // namespace

std::shared_ptr<const FontChain> FontChain::Of(const QString& family)
{
    std::shared_ptr<FontChain> chain(new FontChain);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);
    for (int i = 0; sorted && i < sorted->nfont && chain->Count() < kMostLinks; ++i) {
        FcPattern* font = sorted->fonts[i];
        FcChar8* file = nullptr;
        FcBool scalable = FcFalse;
        FcCharSet* characters = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch
            || FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable
            || FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) != FcResultMatch)
            continue;
        int index = 0;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        chain->links_.push_back({ QString::fromUtf8(reinterpret_cast<const char*>(file)), index & 0xFFFF,
            FcCharSetCopy(characters) });
    }
    if (sorted)
        FcFontSetDestroy(sorted);
    chain->data_.resize(chain->Count());
    return chain;
}

FontChain::~FontChain()
{
    for (const Link& link : links_)
        FcCharSetDestroy(link.characters);
}

int FontChain::LinkFor(char32_t ucs4) const
{
    for (std::size_t i = 0; i < links_.size(); ++i) {
        if (FcCharSetHasChar(links_[i].characters, ucs4))
            return int(i);
    }
    return 0;
}

QByteArray FontChain::Data(int link) const
{
    const std::lock_guard lock(mutex_);
    QByteArray& data = data_[link];
    if (data.isNull())
        data = FaceData(links_[std::size_t(link)].path, links_[std::size_t(link)].index);
    return data;
}

} // namespace tz
