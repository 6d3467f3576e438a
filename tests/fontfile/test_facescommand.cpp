// tzind faces: the rows adding would make, on real fonts, built collections,
// MacBinary files and non-fonts.
#include "FontfileTestFiles.h"
#include "SfntWriter.h"
#include "TestSupport.h"
#include "platform/Text.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace tz;
using namespace tz::test;

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

QByteArray Row(int kind, const QString& face, const QString& family, const QString& path, qint64 size)
{
    return QStringLiteral("%1\t%2\t%3\t%4\t\t%5\n")
        .arg(QString::number(kind), face, family, UpperAscii(path), QString::number(size))
        .toUtf8();
}

QList<SfntName> Names(const QString& family, const QString& face)
{
    return { WindowsName(1, family), WindowsName(4, face) };
}

} // namespace

class TestFacesCommand : public QObject {
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: the installed DejaVu Sans itself
        QTest::addColumn<QByteArray>("rows"); // %PATH% and %SIZE% stand for the file's path and size

        const QByteArray pair = BuildCollection({ Names("A", "A Regular"), Names("A", "A Bold") });
        QTest::newRow("installed font") << QByteArray() << QByteArray("0\tDejaVu Sans\tDejaVu Sans\t%PATH%\t\t%SIZE%\n");
        QTest::newRow("collection: kind 1 on every face")
            << pair << QByteArray("1\tA Regular\tA\t%PATH%\t\t%SIZE%\n1\tA Bold\tA\t%PATH%\t\t%SIZE%\n");
        QTest::newRow("collection of one face: kind 0")
            << BuildCollection({ Names("B", "B Regular") }) << QByteArray("0\tB Regular\tB\t%PATH%\t\t%SIZE%\n");
        QTest::newRow("macintosh file: kind 2, size of the font")
            << BuildMacBinary({ .font = BuildFont(Names("M", "M Book")) })
            << "2\tM Book\tM\t%PATH%\t\t" + QByteArray::number(BuildFont(Names("M", "M Book")).size()) + "\n";
        QTest::newRow("macintosh collection: kind 3")
            << BuildMacBinary({ .font = pair })
            << "3\tA Regular\tA\t%PATH%\t\t" + QByteArray::number(pair.size()) + "\n3\tA Bold\tA\t%PATH%\t\t"
                + QByteArray::number(pair.size()) + "\n";
    }

    void rows()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, rows);
        QTemporaryDir dir;
        const QString path = bytes.isEmpty() ? kDejaVuSans : WriteTestFile(dir, "font.ttf", bytes);
        rows.replace("%PATH%", UpperAscii(path).toUtf8());
        rows.replace("%SIZE%", QByteArray::number(QFileInfo(path).size()));
        const ProcessResult result = RunProcess(BinPath("tzind"), { "faces", path });
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, rows);
        QCOMPARE(result.err, QByteArray());
    }

    void pathsWithoutFaceGoToStandardError()
    {
        QTemporaryDir dir;
        const QString text = WriteTestFile(dir, "readme.ttf", "not a font");
        const QString otto = WriteTestFile(dir, "cff.otf", BuildFont(Names("C", "C"), 0x4F54544F));
        const ProcessResult result = RunProcess(BinPath("tzind"), { "faces", text, kDejaVuSans, otto, dir.path() });
        QCOMPARE(result.exitCode, 3);
        QCOMPARE(result.out, Row(0, "DejaVu Sans", "DejaVu Sans", kDejaVuSans, QFileInfo(kDejaVuSans).size()));
        QCOMPARE(result.err, (text + "\n" + otto + "\n" + dir.path() + "\n").toUtf8());
    }

    void relativePathsAreShownInFull()
    {
        QTemporaryDir dir;
        WriteTestFile(dir, "font.ttf", BuildFont(Names("R", "R")));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(BinPath("tzind"), { "faces", "font.ttf" });
        QVERIFY(process.waitForFinished());
        QVERIFY(process.readAllStandardOutput().startsWith("0\tR\tR\t" + UpperAscii(dir.filePath("font.ttf")).toUtf8()));
    }

    void usage()
    {
        const ProcessResult result = RunProcess(BinPath("tzind"), { "faces" });
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QVERIFY(result.err.contains("tzind faces PATH..."));
    }
};

QTEST_GUILESS_MAIN(TestFacesCommand)
#include "test_facescommand.moc"
