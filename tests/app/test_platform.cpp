#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using namespace tz;

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void upperCaseChangesAsciiOnly()
    {
        QCOMPARE(UpperAscii(QStringLiteral("c:\\fonts\\ａｂc.ttf")), QStringLiteral("C:\\FONTS\\ａｂC.TTF"));
        QCOMPARE(UpperAscii(QByteArray("ab\x82\xa0z")), QByteArray("AB\x82\xa0Z"));
        QCOMPARE(UpperExtension(QStringLiteral("/a.b/font.ttc")), QStringLiteral(".TTC"));
        QCOMPARE(UpperExtension(QStringLiteral("/a.b/font")), QString());
        QCOMPARE(FileNamePart(QStringLiteral("C:\\x\\y.ttf")), QStringLiteral("y.ttf"));
    }

    void codePages()
    {
        // "ゴシック" in CP932.
        const QByteArray sjis("\x83\x53\x83\x56\x83\x62\x83\x4e");
        QCOMPARE(DecodeCp932(sjis), std::optional<QString>(QStringLiteral("ゴシック")));
        QCOMPARE(EncodeCp932(QStringLiteral("ゴシック")), std::optional<QByteArray>(sjis));
        QVERIFY(!DecodeCp932(QByteArray("\x83")));
        QVERIFY(!EncodeCp932(QStringLiteral("한")).has_value());
        QCOMPARE(DecodeMacRoman(QByteArray("Caf\x8e")), QStringLiteral("Café"));
        QCOMPARE(DecodeUtf16BE(QByteArray("\x00\x41\x30\x42\x00", 5)), std::optional<QString>(QStringLiteral("Aあ")));
        QVERIFY(!DecodeUtf16BE(QByteArray("\xd8\x00\x00\x41", 4)));
        QVERIFY(IsValidUtf8("plain"));
        QVERIFY(!IsValidUtf8(sjis));
    }

    void resolvesStoredPathsIgnoringCase()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Fonts/Sub"));
        QFile(dir.filePath(QStringLiteral("Fonts/Sub/arial.ttf"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("Fonts/Sub/Arial.TTF"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("Fonts/Sub/Exact.ttf"))).open(QIODevice::WriteOnly);
        const QString base = dir.path();
        // The cache gives the same answers, also when asked twice.
        PathResolverCache cache;
        for (const auto& resolve : std::initializer_list<std::function<QString(const QString&)>> {
                 ResolvePath, [&cache](const QString& p) { return cache.Resolve(p); } }) {
            for (int twice = 0; twice < 2; ++twice) {
                const QString upper = base + QStringLiteral("/FONTS/SUB/ARIAL.TTF");
                // Among case-variants the first in byte order: "Arial.TTF" < "arial.ttf".
                QCOMPARE(resolve(upper), base + QStringLiteral("/Fonts/Sub/Arial.TTF"));
                QCOMPARE(resolve(base + QStringLiteral("/Fonts/Sub/arial.ttf")), base + QStringLiteral("/Fonts/Sub/arial.ttf"));
                QCOMPARE(resolve(base + QStringLiteral("/FONTS/SUB/EXACT.TTF")), base + QStringLiteral("/Fonts/Sub/Exact.ttf"));
                const QString missing = base + QStringLiteral("/FONTS/NONE/X.TTF");
                QCOMPARE(resolve(missing), missing);
            }
        }
    }
};

QTEST_GUILESS_MAIN(PlatformTest)
#include "test_platform.moc"
