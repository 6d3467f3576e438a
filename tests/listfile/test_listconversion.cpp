// Previous-format lists: their rows carry no size, so reading them measures
// each row's font again, on disk, inside a Macintosh file or inside a ZIP.
#include "ArchiveZipWriter.h"
#include "ListFileSupport.h"
#include "SfntWriter.h"
#include "TestSupport.h"
#include "archive/Archivettf.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "fontlist/PreviousFormatSizes.h"
#include "platform/Text.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

class TestListConversion : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void measuresEachRow();
    void tzindConvertsOnRequest();

private:
    // Writes the fonts every case measures and returns the previous-format list.
    QByteArray MakeFonts();
    QString Stored(const QString& name) const { return UpperAscii(work_.filePath(name)); }

    QTemporaryDir work_;
    QTemporaryDir scratch_; // the work folder of the measuring
    QByteArray plain_;
    QByteArray inZip_;
    QByteArray macFont_;
};

void TestListConversion::initTestCase() { LoadArchiverLibraries(); }

QByteArray TestListConversion::MakeFonts()
{
    plain_ = test::BuildFont({ test::WindowsName(1, "Plain"), test::WindowsName(4, "Plain Regular") });
    inZip_ = test::BuildFont({ test::WindowsName(1, "Zipped"), test::WindowsName(4, "Zipped Bold Extra") });
    macFont_ = test::BuildFont({ test::MacName(1, "Mac"), test::MacName(4, "Mac Face") });
    test::MacBinarySpec mac;
    mac.font = macFont_;
    test::WriteBytes(work_.filePath("Plain.ttf"), plain_);
    test::WriteBytes(work_.filePath("Suitcase.bin"), test::BuildMacBinary(mac));
    test::WriteZip(work_.filePath("Fonts.zip"),
        { { "readme.txt", "hello" }, { "sub/Zipped.ttf", inZip_ }, { "other.ttf", plain_ } });
    const QString rows[] = {
        "0\tPlain\tPlain\t" + Stored("Plain.ttf") + "\t",
        "2\tMac\tMac\t" + Stored("Suitcase.bin") + "\t",
        "0\tZipped\tZipped\t" + Stored("Fonts.zip") + "\tSUB\\ZIPPED.TTF", // written on Windows
        "0\tGone\tGone\t" + Stored("Fonts.zip") + "\tGONE.TTF",
        "0\tMissing\tMissing\t" + Stored("missing.lzh") + "\tA.TTF",
        "0\tNot a font\tX\t" + Stored("Fonts.zip") + "\t",
    };
    QByteArray list = "[Generator]\r\nVersion=0.98\r\n[List098]\r\n";
    for (const QString& row : rows)
        list += row.toUtf8() + "\r\n";
    return list;
}

void TestListConversion::measuresEachRow()
{
    const QByteArray content = MakeFonts();
    ListReadOptions options;
    options.ConfirmConversion = [] { return true; };
    options.MeasureSize = MeasureWithWorkFolder(scratch_.path());
    FontList list;
    const ListReadResult result = ReadListContent(list, content, work_.filePath("old.tzl"), options);
    QCOMPARE(result.Failures, 0);
    QStringList sizes;
    for (int i = 0; i < list.Count(); ++i)
        sizes << list.Entry(i).Size;
    QCOMPARE(sizes,
        QStringList({ QString::number(plain_.size()), QString::number(macFont_.size()), QString::number(inZip_.size()),
            "0", "0", "0" }));
    QCOMPARE(list.Entry(2).MemberName, QStringLiteral("SUB\\ZIPPED.TTF"));
    QCOMPARE(QDir(scratch_.path()).entryList(QDir::Files | QDir::Hidden), QStringList()); // nothing left behind
}

void TestListConversion::tzindConvertsOnRequest()
{
    const QString path = work_.filePath("old.tzl");
    test::WriteBytes(path, MakeFonts());
    const test::ProcessResult declined = test::RunProcess(test::BinPath("tzind"), { "list", path });
    QCOMPARE(declined.exitCode, 3);
    QCOMPARE(declined.out, QByteArray());
    const test::ProcessResult converted = test::RunProcess(test::BinPath("tzind"), { "list", "--convert", path });
    QCOMPARE(converted.exitCode, 0);
    const QList<QByteArray> lines = converted.out.split('\n');
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[0], "0\tPlain\tPlain\t" + Stored("Plain.ttf").toUtf8() + "\t\t" + QByteArray::number(plain_.size()));
    QVERIFY(lines[2].endsWith("\tSUB\\ZIPPED.TTF\t" + QByteArray::number(inZip_.size())));
}

QTEST_GUILESS_MAIN(TestListConversion)
#include "test_listconversion.moc"
