#include "fontfile/FaceDigest.h"

#include "fontfile/ByteSource.h"

#include <QtEndian>
#include <algorithm>
#include <memory>
#include <openssl/evp.h>

namespace tz {

namespace {

    constexpr quint32 kHeadTag = TableTag("head");
    constexpr quint32 kSignatureTag = TableTag("DSIG");
    constexpr std::size_t kCheckSumAdjustment = 8; // its offset in `head`
    constexpr std::size_t kChunkSize = 1 << 20;

    // The tables that count, sorted by tag (equal tags keep their order).
    std::vector<FaceTable> CountedTables(const std::vector<FaceTable>& tables)
    {
        std::vector<FaceTable> counted;
        std::copy_if(tables.begin(), tables.end(), std::back_inserter(counted),
            [](const FaceTable& t) { return t.tag != kSignatureTag; });
        std::stable_sort(
            counted.begin(), counted.end(), [](const FaceTable& a, const FaceTable& b) { return a.tag < b.tag; });
        return counted;
    }

    void AppendU32(QByteArray& bytes, quint32 value)
    {
        const quint32 big = qToBigEndian(value);
        bytes.append(reinterpret_cast<const char*>(&big), sizeof big);
    }

    struct DigestContextFree {
        void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    };

} // namespace

QByteArray FaceLayout(const std::vector<FaceTable>& tables)
{
    QByteArray layout;
    for (const FaceTable& table : CountedTables(tables)) {
        AppendU32(layout, table.tag);
        AppendU32(layout, table.length);
    }
    return layout;
}

QByteArray FaceDigest(const ByteSource& file, const std::vector<FaceTable>& tables)
{
    const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        return {};
    std::vector<unsigned char> chunk;
    for (const FaceTable& table : CountedTables(tables)) {
        QByteArray header;
        AppendU32(header, table.tag);
        AppendU32(header, table.length);
        EVP_DigestUpdate(context.get(), header.constData(), std::size_t(header.size()));
        chunk.resize(std::min<std::size_t>(table.length, kChunkSize));
        for (std::size_t done = 0; done < table.length;) {
            const std::size_t part = std::min<std::size_t>(table.length - done, kChunkSize);
            if (file.ReadAt(quint64(table.offset) + done, chunk.data(), part) != part)
                return {};
            if (table.tag == kHeadTag && done == 0 && part > kCheckSumAdjustment)
                std::fill_n(chunk.begin() + kCheckSumAdjustment, std::min<std::size_t>(4, part - kCheckSumAdjustment), 0);
            EVP_DigestUpdate(context.get(), chunk.data(), part);
            done += part;
        }
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char*>(digest), int(length));
}

} // namespace tz
