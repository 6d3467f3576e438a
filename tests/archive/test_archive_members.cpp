// Listing archives: kinds, filters, member names and counts, with the archiver
// library and with the built-in reader alone.
#include "ArchiveTestUtil.h"
#include "ArchiveZipWriter.h"
#include "TestSupport.h"
#include "platform/Text.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tz;
using namespace tz::test;

Q_DECLARE_METATYPE(tz::ArchiveKind)

class TestArchiveMembers : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;

    QString Generated(const QString& name, const QList<ZipEntry>& entries)
    {
        return GeneratedZip(temp_.path(), name, entries);
    }

private slots:
    void filters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("font");
        QTest::addColumn<bool>("document");
        QTest::newRow("ttf in a folder") << "FONTS/ABC.TTF" << true << false;
        QTest::newRow("lower-case ttc") << "sub\\abc.ttc" << true << false;
        QTest::newRow("otf is no font member") << "ABC.OTF" << false << false;
        QTest::newRow("ttx") << "ABC.TTX" << false << false;
        QTest::newRow("read-me") << "README.TXT" << false << true;
        QTest::newRow("html") << "docs/index.html" << false << true;
        QTest::newRow("url") << "site.url" << false << true;
        QTest::newRow("LICENSE") << "LICENSE" << false << true;
        QTest::newRow("license") << "License" << false << true;
        QTest::newRow("LICENSE.md") << "LICENSE.md" << false << false;
        QTest::newRow("folder named like a document") << "NOTES.TXT/FONT" << false << false;
    }
    void filters()
    {
        QFETCH(QString, name);
        QTEST(IsFontMember(name), "font");
        QTEST(IsDocumentMember(name), "document");
    }

    void decodeName_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("FONTS/ABC.TTF") << "FONTS/ABC.TTF";
        QTest::newRow("utf-8") << QByteArray("\xe6\x98\x8e\xe6\x9c\x9d.ttf") << QString::fromUtf8("明朝.ttf");
        QTest::newRow("cp932 with a backslash byte") << QByteArray("\x83\x5c.ttf") << QString::fromUtf8("ソ.ttf");
        QTest::newRow("cp932 kanji") << QByteArray("\x96\xbe\x92\xa9.TTF") << QString::fromUtf8("明朝.TTF");
        QTest::newRow("neither: latin-1") << QByteArray("\x81\x7f\xff.ttf") << QString::fromLatin1("\x81\x7f\xff.ttf");
    }
    void decodeName()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QString, text);
        QCOMPARE(DecodeMemberName(raw), text);
    }

    void loading()
    {
        QCOMPARE(UseArchiverLibrary(false), 0);
        qputenv("TYPOSCAN_ARCHIVER_LIBRARY", "libz.so.1"); // loads, but has none of the entry points
        QCOMPARE(LoadArchiverLibraries(), 0);
        QCOMPARE(UseArchiverLibrary(true), 3);
        FreeArchiverLibraries();
        QCOMPARE(ListFontMembers(DataPath("archive/fonts.lzh")).Count, 0);
    }

    void kind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("library");
        QTest::addColumn<ArchiveKind>("kind");
        for (bool library : { false, true }) {
            const char* tag = library ? "library" : "built-in";
            QTest::addRow("zip, %s", tag) << "fonts.zip" << library << ArchiveKind::Zip;
            QTest::addRow("stored upper-cased path, %s", tag) << "FONTS.ZIP" << library << ArchiveKind::Zip;
            QTest::addRow("lzh, %s", tag) << "fonts.lzh" << library << ArchiveKind::Lzh;
            QTest::addRow("cab, %s", tag) << "fonts.cab" << library << ArchiveKind::Cab;
            QTest::addRow("missing, %s", tag) << "missing.zip" << library << ArchiveKind::None;
            QTest::addRow("other extension, %s", tag) << "make-lzh.py" << library << ArchiveKind::None;
            QTest::addRow("exe without archive, %s", tag) << "plain.exe" << library << ArchiveKind::None;
        }
        QTest::newRow("self-extracting zip without the library") << "sfxzip.exe" << false << ArchiveKind::None;
        QTest::newRow("self-extracting zip") << "sfxzip.exe" << true << ArchiveKind::Zip;
        QTest::newRow("self-extracting cab") << "sfxcab.exe" << true << ArchiveKind::Cab;
        QTest::newRow("self-extracting lzh") << "sfxlzh.exe" << true << ArchiveKind::Lzh;
        QTest::newRow("self-extracting lzh without the library") << "sfxlzh.exe" << false << ArchiveKind::None;
    }
    void kind()
    {
        QFETCH(QString, file);
        QFETCH(bool, library);
        QFETCH(ArchiveKind, kind);
        UseArchiverLibrary(library);
        QCOMPARE(KindOfArchive(DataPath("archive/" + file)), kind);
    }

    void listing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("library");
        QTest::addColumn<QStringList>("fonts");
        QTest::addColumn<int>("fontCount");
        QTest::addColumn<QStringList>("documents");
        QTest::addColumn<int>("documentCount");
        const QStringList fontsZip { "FONTS/ABC.TTF" };
        const QStringList readme { "README.TXT" };
        // The built-in reader counts every member visited, the library the
        // members matching its wildcard.
        QTest::newRow("zip, built-in") << "fonts.zip" << false << fontsZip << 2 << readme << 2;
        QTest::newRow("zip, library") << "fonts.zip" << true << fontsZip << 1 << readme << 2;
        QTest::newRow("self-extracting zip") << "sfxzip.exe" << true << fontsZip << 1 << readme << 2;
        const QStringList sjis { QString::fromUtf8("ソ.ttf"), QString::fromUtf8("ビ.ttf"), QString::fromUtf8("コ.ttf") };
        QTest::newRow("cp932 zip, built-in") << "cp932.zip" << false << sjis << 3 << QStringList() << 3;
        QTest::newRow("cp932 zip, library") << "cp932.zip" << true << sjis << 3 << QStringList() << 3;
        const QStringList lzhFonts { "FONTS/ABC.TTF", QString::fromUtf8("ソ.TTF"), QString::fromUtf8("サブ/日本語.TTF") };
        const QStringList lzhDocs { "README.TXT", "LICENSE" };
        QTest::newRow("lzh") << "fonts.lzh" << true << lzhFonts << 3 << lzhDocs << 6;
        QTest::newRow("self-extracting lzh") << "sfxlzh.exe" << true << lzhFonts << 3 << lzhDocs << 6;
        QTest::newRow("lzh without the library") << "fonts.lzh" << false << QStringList() << 0 << QStringList() << 0;
        QTest::newRow("cab") << "fonts.cab" << true << QStringList { "sub/font.ttf" } << 1 << readme << 2;
        QTest::newRow("self-extracting cab") << "sfxcab.exe" << true << QStringList { "sub/font.ttf" } << 1 << readme
                                             << 2;
        QTest::newRow("cp932 cab") << "cp932.cab" << true << QStringList { QString::fromUtf8("ソ.ttf") } << 1
                                   << QStringList() << 1;
        QTest::newRow("cab without the library") << "fonts.cab" << false << QStringList() << 0 << QStringList() << 0;
        // Links and folders are never offered, wherever they point.
        QTest::newRow("lzh with hostile names") << "hostile.lzh" << true
                                                << QStringList { "../../evil.ttf", "/tmp/ABS.TTF", "C:DRIVE.TTF" }
                                                << 4 << QStringList() << 4;
    }
    void listing()
    {
        QFETCH(QString, file);
        QFETCH(bool, library);
        UseArchiverLibrary(library);
        const MemberListing fonts = ListFontMembers(DataPath("archive/" + file));
        const MemberListing documents = ListDocumentMembers(DataPath("archive/" + file));
        QTEST(Names(fonts.Members), "fonts");
        QTEST(fonts.Count, "fontCount");
        QTEST(Names(documents.Members), "documents");
        QTEST(documents.Count, "documentCount");
    }

    void generatedZip_data()
    {
        QTest::addColumn<QList<ZipEntry>>("entries");
        QTest::addColumn<QStringList>("fonts");
        QTest::addColumn<QStringList>("documents");
        QTest::addColumn<int>("builtInCount");
        QTest::newRow("empty") << QList<ZipEntry>() << QStringList() << QStringList() << 0;
        QTest::newRow("utf-8 flag") << QList<ZipEntry> { { "\xe6\x98\x8e\xe6\x9c\x9d/\xe4\xb8\xb8.TTF", "x", true } }
                                    << QStringList { QString::fromUtf8("明朝/丸.TTF") } << QStringList() << 1;
        QTest::newRow("licenses") << QList<ZipEntry> { { "LICENSE", "a" }, { "license", "b" }, { "LICENSE.md", "c" },
            { "docs/LICENSE", "d" } } << QStringList()
                                  << QStringList { "LICENSE", "license" } << 4;
        QTest::newRow("duplicates kept") << QList<ZipEntry> { { "A.TTF", "1" }, { "A.TTF", "2" } }
                                         << QStringList { "A.TTF", "A.TTF" } << QStringList() << 2;
        ZipEntry link { "link.ttf", "/etc/passwd" };
        link.symlink = true;
        QTest::newRow("symbolic link") << QList<ZipEntry> { link, { "real.ttf", "x" }, { "fonts/", "" } }
                                       << QStringList { "real.ttf" } << QStringList() << 3;
    }
    void generatedZip()
    {
        QFETCH(QList<ZipEntry>, entries);
        QFETCH(int, builtInCount);
        const QString path = Generated("generated.zip", entries);
        for (bool library : { false, true }) {
            UseArchiverLibrary(library);
            const MemberListing fonts = ListFontMembers(path);
            const MemberListing documents = ListDocumentMembers(path);
            QTEST(Names(fonts.Members), "fonts");
            QTEST(Names(documents.Members), "documents");
            if (!library)
                QCOMPARE(fonts.Count, builtInCount);
            QCOMPARE(fonts.Failed(), entries.isEmpty() || (library && fonts.Members.isEmpty()));
        }
    }

    // A name that doesn't fit the built-in reader's name buffer would be cut
    // and never found again: it is counted but not offered.
    void overlongName()
    {
        const QByteArray longName = QByteArray(300, 'a') + ".TTF";
        const QString path = Generated("long.zip", { { longName, "x" }, { "B.TTF", "y" } });
        UseArchiverLibrary(false);
        const MemberListing builtIn = ListFontMembers(path);
        QCOMPARE(Names(builtIn.Members), QStringList { "B.TTF" });
        QCOMPARE(builtIn.Count, 2);
        UseArchiverLibrary(true);
        QCOMPARE(ListFontMembers(path).Members.size(), 2);
    }

    void damaged_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QByteArray>("bytes");
        for (const char* extension : { ".zip", ".lzh", ".cab", ".exe" }) {
            QTest::addRow("zero-length %s", extension) << extension << QByteArray();
            QTest::addRow("wrong magic %s", extension) << extension << QByteArray("PK\x05\x07 not an archive at all");
            QTest::addRow("end record only %s", extension)
                << extension << QByteArray("PK\x05\x06\0\0\0\0\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\0\0", 22);
        }
        QTest::newRow("cab cut short") << ".cab" << ReadAll(DataPath("archive/fonts.cab")).left(60);
    }
    void damaged()
    {
        QFETCH(QString, extension);
        QFETCH(QByteArray, bytes);
        const QString path = temp_.filePath("damaged" + extension);
        QVERIFY(WriteAll(path, bytes));
        for (bool library : { false, true }) {
            UseArchiverLibrary(library);
            QVERIFY(ListFontMembers(path).Failed());
            QVERIFY(ListDocumentMembers(path).Failed());
        }
    }

    void lookupByStoredName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("library");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("raw");
        for (bool library : { false, true }) {
            const char* tag = library ? "library" : "built-in";
            // "ビ" and "コ" differ only in the letter case of their second byte.
            QTest::addRow("cp932 bi, %s", tag) << "cp932.zip" << library << QString::fromUtf8("ビ.TTF")
                                               << QByteArray("\x83\x72.ttf");
            QTest::addRow("cp932 ko, %s", tag) << "cp932.zip" << library << QString::fromUtf8("コ.TTF")
                                               << QByteArray("\x83\x52.ttf");
            QTest::addRow("folder, %s", tag) << "fonts.zip" << library << "FONTS/ABC.TTF" << QByteArray("FONTS/ABC.TTF");
        }
        QTest::newRow("lzh folder extension") << "fonts.lzh" << true << QString::fromUtf8("サブ/日本語.TTF")
                                              << QString::fromUtf8("サブ/日本語.TTF").toUtf8();
    }
    void lookupByStoredName()
    {
        QFETCH(QString, file);
        QFETCH(bool, library);
        QFETCH(QString, stored);
        UseArchiverLibrary(library);
        const std::optional<ArchiveMember> member = FindMember(DataPath("archive/" + file), stored);
        QVERIFY(member);
        QTEST(member->RawName, "raw");
        QCOMPARE(UpperAscii(member->Name), stored);
    }
};

QTEST_GUILESS_MAIN(TestArchiveMembers)
#include "test_archive_members.moc"
