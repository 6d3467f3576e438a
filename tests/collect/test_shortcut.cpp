#include "collect/Shortcut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

namespace {

void PutU32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char(v >> (8 * i)));
}
void PutU16(QByteArray& b, quint16 v)
{
    b.append(char(v));
    b.append(char(v >> 8));
}

// A shell link with an optional LinkInfo local base path (narrow bytes) and an
// optional relative path (UTF-16).
QByteArray ShellLink(const QByteArray& localBase, const QString& relative, bool withIdList = true)
{
    quint32 flags = 0x80; // IsUnicode
    if (withIdList)
        flags |= 0x1;
    if (!localBase.isEmpty())
        flags |= 0x2;
    if (!relative.isEmpty())
        flags |= 0x8;
    QByteArray b;
    PutU32(b, 0x4C);
    b.append(QByteArray::fromHex("0114020000000000C000000000000046"));
    PutU32(b, flags);
    b.append(QByteArray(76 - b.size(), '\0'));
    if (withIdList) {
        PutU16(b, 4);
        b.append("\x02\x00\x00\x00", 4);
    }
    if (!localBase.isEmpty()) {
        const quint32 header = 28;
        const quint32 baseOffset = header;
        const quint32 suffixOffset = baseOffset + quint32(localBase.size()) + 1;
        PutU32(b, suffixOffset + 1); // LinkInfoSize
        PutU32(b, header);
        PutU32(b, 1); // VolumeIDAndLocalBasePath
        PutU32(b, 0); // VolumeIDOffset (not read)
        PutU32(b, baseOffset);
        PutU32(b, 0);
        PutU32(b, suffixOffset);
        b.append(localBase).append('\0').append('\0');
    }
    if (!relative.isEmpty()) {
        PutU16(b, quint16(relative.size()));
        b.append(reinterpret_cast<const char*>(relative.utf16()), relative.size() * 2);
    }
    return b;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class ShortcutTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void parsesBothTargets()
    {
        const auto target = ParseShellLink(ShellLink("C:\\FONTS\\\x83\x53.TTF", QStringLiteral("..\\fonts\\a.ttf")));
        QVERIFY(target);
        QCOMPARE(target->LocalBasePath, QStringLiteral("C:\\FONTS\\ゴ.TTF"));
        QCOMPARE(target->RelativePath, QStringLiteral("..\\fonts\\a.ttf"));
    }

    void rejectsDamagedLinks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ShellLink("/tmp/x.ttf", QStringLiteral("x.ttf"));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a link") << QByteArray("[List099]\r\n");
        QTest::newRow("header only") << good.left(76);
        QTest::newRow("cut in the link info") << good.left(90);
        QTest::newRow("cut in the strings") << good.left(good.size() - 3);
        QByteArray huge = good;
        huge[76] = char(0xFF);
        huge[77] = char(0xFF); // an ID list longer than the file
        QTest::newRow("lying id list size") << huge;
    }
    void rejectsDamagedLinks()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ParseShellLink(bytes));
    }

    void resolvesToExistingFiles()
    {
        QDir(dir_.path()).mkpath(QStringLiteral("fonts"));
        const QString font = dir_.filePath(QStringLiteral("fonts/Gothic.ttf"));
        Write(font, "x");
        // An absolute local base path that exists here, given in upper case.
        Write(dir_.filePath(QStringLiteral("abs.lnk")), ShellLink(font.toUpper().toUtf8(), {}));
        QCOMPARE(ResolveShortcut(dir_.filePath(QStringLiteral("abs.lnk"))), std::optional<QString>(font));
        // A Windows path that is not here falls back to the relative path.
        Write(dir_.filePath(QStringLiteral("rel.lnk")), ShellLink("D:\\FONTS\\GOTHIC.TTF", QStringLiteral(".\\fonts\\gothic.ttf")));
        QCOMPARE(ResolveShortcut(dir_.filePath(QStringLiteral("rel.lnk"))), std::optional<QString>(font));
        // Neither exists: unresolvable.
        Write(dir_.filePath(QStringLiteral("gone.lnk")), ShellLink("D:\\X.TTF", QStringLiteral("x.ttf")));
        QVERIFY(!ResolveShortcut(dir_.filePath(QStringLiteral("gone.lnk"))));
        QVERIFY(!ResolveShortcut(dir_.filePath(QStringLiteral("missing.lnk"))));
        QVERIFY(!ResolveShortcut(dir_.path()));
    }

    void normalizesTheLastComponent()
    {
        QDir(dir_.path()).mkpath(QStringLiteral("Norm"));
        Write(dir_.filePath(QStringLiteral("Norm/MixedCase.TTF")), "x");
        QCOMPARE(NormalizeLongName(dir_.filePath(QStringLiteral("Norm/MIXEDCASE.ttf"))),
            dir_.filePath(QStringLiteral("Norm/MixedCase.TTF")));
        // The folder part stays as given; a path that matches nothing is unchanged.
        const QString other = dir_.filePath(QStringLiteral("NORM/MIXEDCASE.TTF"));
        QCOMPARE(NormalizeLongName(other), other);
        const QString none = dir_.filePath(QStringLiteral("Norm/none.ttf"));
        QCOMPARE(NormalizeLongName(none), none);
    }
};

QTEST_GUILESS_MAIN(ShortcutTest)
#include "test_shortcut.moc"
