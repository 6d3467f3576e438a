#pragma once
// Fonts for the searches over faces, made byte by byte: a Latin face, a kanji
// face with a variation sequence (葛 U+E0100), a second version of the kanji
// family without it, and a kana face; kept loose, copied to a second folder,
// inside a ZIP, in a collection and in a Macintosh file.
#include "ArchiveZipWriter.h"
#include "SfntWriter.h"
#include "collect/FontAdder.h"
#include "fontlist/FontList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tz::test {

struct FaceSearchFiles {
    QTemporaryDir dir;
    QByteArray latin;
    QByteArray kanji;
    QByteArray kanjiV2;
    QByteArray kana;

    FaceSearchFiles()
    {
        latin = BuildFaceWithCmap("Latin", "Latin Regular", CmapTable({ { 3, 1, CmapFormat4({ { 'A', 'Z', 3 }, { 'a', 'z', 30 } }) } }));
        const QByteArray kanjiMap = CmapFormat12({ { U'葛', U'葛', 5 }, { U'𠮟', U'𠮟', 6 } });
        kanji = BuildFaceWithCmap("Kanji", "Kanji Regular",
            CmapTable({ { 0, 5, CmapFormat14({ { 0xE0100, {}, { { U'葛', 9 } } } }) }, { 3, 10, kanjiMap } }));
        kanjiV2 = BuildFaceWithCmap("Kanji", "Kanji Regular", CmapTable({ { 3, 10, kanjiMap } }), "2.0");
        kana = BuildFaceWithCmap("Kana", "Kana Regular", CmapTable({ { 3, 1, CmapFormat4({ { U'あ', U'ん', 2 } }) } }));
        Write("loose/latin.ttf", latin);
        Write("copy/LATIN.TTF", latin);
        WriteZip(Path("pack.zip"), { ZipEntry { "latin.ttf", latin }, ZipEntry { "kanji.ttf", kanji } });
        // The collection shares its faces' equal tables, as collections do.
        const auto tables = [](const QByteArray& face) {
            QList<SfntTable> list;
            for (const char* tag : { "cmap", "head", "name" })
                list.append({ tag, TableOf(face, tag) });
            return list;
        };
        Write("pair.ttc", BuildCollectionWithTables({ tables(kana), tables(kanji) }));
        Write("kanji.ttf", kanji);
        Write("kanji2.ttf", kanjiV2);
        MacBinarySpec macintosh;
        macintosh.font = kanji;
        Write("kanji.sui", BuildMacBinary(macintosh));
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    void Write(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(Path(name)).path());
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    // The bytes of a table of a single-face file built by BuildFontWithTables.
    static QByteArray TableOf(const QByteArray& face, const char* tag)
    {
        const auto u32 = [&](qsizetype at) {
            return (quint32(quint8(face[at])) << 24) | (quint32(quint8(face[at + 1])) << 16)
                | (quint32(quint8(face[at + 2])) << 8) | quint32(quint8(face[at + 3]));
        };
        const int count = (quint8(face[4]) << 8) | quint8(face[5]);
        for (int i = 0; i < count; ++i) {
            const qsizetype record = 12 + 16 * i;
            if (face.mid(record, 4) == tag)
                return face.mid(u32(record + 8), u32(record + 12));
        }
        return {};
    }

    // The rows, in this order:
    //  0 loose Latin, 1 its copy, 2 Latin in the ZIP, 3 kanji in the ZIP,
    //  4 kana and 5 kanji of the collection, 6 kanji alone, 7 kanji version 2,
    //  8 kanji in the Macintosh file, 9 a face whose file is then deleted.
    void AddRows(FontList& list, const QString& workFolder) const
    {
        Write("gone.ttf", kana);
        FontAdder adder(list, workFolder);
        for (const char* name : { "loose/latin.ttf", "copy/LATIN.TTF", "pack.zip", "pair.ttc", "kanji.ttf", "kanji2.ttf",
                 "kanji.sui", "gone.ttf" })
            adder.AddPath(Path(name), kAllFaces);
        QFile::remove(Path("gone.ttf"));
        list.DeselectAll();
    }
};

} // namespace tz::test
