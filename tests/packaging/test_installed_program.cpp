// The program as installed: the build's install rules stage it in a temporary
// DESTDIR under /usr, where the desktop's validators accept its files, the
// manual pages render without warnings and cover every command and option of
// tzind's help, the .tzl type resolves from a private data folder, and the
// installed tzind runs, finding its helper.
#include "ListFileSupport.h"
#include "SfntWriter.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

class TestInstalledProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void installsTheLayout_data();
    void installsTheLayout();
    void entriesNameTheInstalledFiles();
    void validatorsAcceptTheDesktopFiles_data();
    void validatorsAcceptTheDesktopFiles();
    void manualPagesRenderWithoutWarnings_data();
    void manualPagesRenderWithoutWarnings();
    void manualPageCoversTheHelp();
    void listFileTypeResolves();
    void installedTzindRuns();

private:
    QString Usr(const QString& relative) const { return stage_.filePath(QStringLiteral("usr/") + relative); }
    QString AppFile(const QString& folder, const QString& suffix) const
    {
        return Usr(QStringLiteral("share/%1/" TZ_APP_ID "%2").arg(folder, suffix));
    }
    static void RequireTool(const QString& tool)
    {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(tool + QStringLiteral(" is not installed (scripts/install-deps installs it)")));
    }

    QTemporaryDir stage_;
};

void TestInstalledProgram::initTestCase()
{
    QVERIFY(stage_.isValid());
    const test::ProcessResult install = test::RunProcess(QStringLiteral(TZ_CMAKE),
        { QStringLiteral("--install"), QStringLiteral(TZ_BUILD_DIR), QStringLiteral("--prefix"), QStringLiteral("/usr") },
        { QStringLiteral("DESTDIR=") + stage_.path() });
    QVERIFY2(install.exitCode == 0, install.err.constData());
}

void TestInstalledProgram::installsTheLayout_data()
{
    QTest::addColumn<QString>("path");
    for (const char* path : { "bin/typoscan-zindel", "bin/tzind", TZ_HELPERDIR "/tzind-sample",
             "share/mime/packages/typoscan-zindel.xml", "share/icons/hicolor/scalable/apps/" TZ_APP_ID ".svg",
             "share/icons/hicolor/scalable/mimetypes/application-x-typoscan-zindel-list.svg",
             "share/man/man1/tzind.1.gz", "share/man/man1/typoscan-zindel.1.gz",
             "share/bash-completion/completions/tzind", "share/doc/typoscan-zindel/copyright" })
        QTest::newRow(path) << QString::fromLatin1(path);
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QString folder = QStringLiteral("share/icons/hicolor/%1x%1/").arg(size);
        QTest::newRow(qPrintable(folder + QStringLiteral("apps"))) << folder + QStringLiteral("apps/" TZ_APP_ID ".png");
        QTest::newRow(qPrintable(folder + QStringLiteral("mimetypes")))
            << folder + QStringLiteral("mimetypes/application-x-typoscan-zindel-list.png");
    }
}

void TestInstalledProgram::installsTheLayout()
{
    QFETCH(QString, path);
    const QFileInfo file(Usr(path));
    QVERIFY2(file.isFile() && file.size() > 0, qPrintable(file.filePath()));
    if (path.endsWith(u".png")) {
        const QImage icon(file.filePath());
        const int size = path.section(u'/', 3, 3).section(u'x', 0, 0).toInt();
        QCOMPARE(icon.size(), QSize(size, size));
    }
}

void TestInstalledProgram::entriesNameTheInstalledFiles()
{
    const QSettings entry(AppFile(QStringLiteral("applications"), QStringLiteral(".desktop")), QSettings::IniFormat);
    const QString icon = entry.value(QStringLiteral("Desktop Entry/Icon")).toString();
    QVERIFY(QFileInfo::exists(Usr(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(icon))));
    QVERIFY(QFileInfo::exists(Usr(QStringLiteral("bin/") + entry.value(QStringLiteral("Desktop Entry/Exec")).toString().section(u' ', 0, 0))));
    const QString types = entry.value(QStringLiteral("Desktop Entry/MimeType")).toString();
    QVERIFY2(types.contains(QStringLiteral("application/x-typoscan-zindel-list")), qPrintable(types));
    const QByteArray metainfo = test::ReadBytes(AppFile(QStringLiteral("metainfo"), QStringLiteral(".metainfo.xml")));
    QVERIFY(metainfo.contains("<launchable type=\"desktop-id\">" TZ_APP_ID ".desktop</launchable>"));
    QVERIFY(metainfo.contains("/docs/screenshot.png</image>"));
}

void TestInstalledProgram::validatorsAcceptTheDesktopFiles_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList() << AppFile(QStringLiteral("applications"), QStringLiteral(".desktop"));
    QTest::newRow("metainfo") << "appstreamcli" << QStringList({ "validate", "--no-net" })
                              << AppFile(QStringLiteral("metainfo"), QStringLiteral(".metainfo.xml"));
}

void TestInstalledProgram::validatorsAcceptTheDesktopFiles()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    RequireTool(tool);
    const test::ProcessResult check = test::RunProcess(tool, arguments << file);
    QVERIFY2(check.exitCode == 0, (check.out + check.err).constData());
    if (tool == u"desktop-file-validate") // hints as well
        QVERIFY2(check.out.isEmpty() && check.err.isEmpty(), (check.out + check.err).constData());
}

void TestInstalledProgram::manualPagesRenderWithoutWarnings_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("tzind") << "tzind";
    QTest::newRow("typoscan-zindel") << "typoscan-zindel";
}

void TestInstalledProgram::manualPagesRenderWithoutWarnings()
{
    QFETCH(QString, page);
    RequireTool(QStringLiteral("man"));
    const test::ProcessResult man = test::RunProcess(QStringLiteral("man"),
        { QStringLiteral("--warnings"), QStringLiteral("-l"), Usr(QStringLiteral("share/man/man1/%1.1.gz").arg(page)) },
        { QStringLiteral("MANWIDTH=80") });
    QCOMPARE(man.exitCode, 0);
    QVERIFY2(man.err.isEmpty(), man.err.constData());
    QVERIFY(man.out.contains("EXIT STATUS"));
    QVERIFY(man.out.contains("ENVIRONMENT"));
}

void TestInstalledProgram::manualPageCoversTheHelp()
{
    const test::ProcessResult help = test::RunProcess(test::BinPath(QStringLiteral("tzind")), { QStringLiteral("--help") });
    QCOMPARE(help.exitCode, 0);
    const QByteArray gzipped = test::ReadBytes(Usr(QStringLiteral("share/man/man1/tzind.1.gz")));
    QProcess gunzip;
    gunzip.start(QStringLiteral("gzip"), { QStringLiteral("-dc") });
    gunzip.write(gzipped);
    gunzip.closeWriteChannel();
    QVERIFY(gunzip.waitForFinished());
    const QString page = QString::fromUtf8(gunzip.readAllStandardOutput()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    const QString text = QString::fromUtf8(help.out);
    QStringList words;
    // The commands (first word of each synopsis line), the options, and the
    // values of -f and --format.
    static const QRegularExpression command(QStringLiteral("^  ([a-z][a-z-]+) "), QRegularExpression::MultilineOption);
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
    for (const auto* pattern : { &command, &option })
        for (const auto& match : pattern->globalMatch(text))
            words << match.captured(1);
    words.removeDuplicates();
    QVERIFY(words.size() > 20);
    for (const QString& word : words)
        QVERIFY2(page.contains(word), qPrintable(word));
    // Every environment variable the programs read is described.
    for (const char* variable : { "TYPOSCAN_SETTINGS", "TYPOSCAN_ARCHIVER_LIBRARY", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
             "XDG_RUNTIME_DIR", "TMPDIR" })
        QVERIFY2(page.contains(QLatin1String(".B ") + QLatin1String(variable)), variable);
}

void TestInstalledProgram::listFileTypeResolves()
{
    RequireTool(QStringLiteral("update-mime-database"));
    QTemporaryDir home;
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("mime/packages"))));
    QVERIFY(QFile::copy(Usr(QStringLiteral("share/mime/packages/typoscan-zindel.xml")),
        home.filePath(QStringLiteral("mime/packages/typoscan-zindel.xml"))));
    const test::ProcessResult update = test::RunProcess(QStringLiteral("update-mime-database"), { home.filePath(QStringLiteral("mime")) });
    QVERIFY2(update.exitCode == 0, update.err.constData());
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    const QString list = home.filePath(QStringLiteral("Fonts.tzl"));
    QVERIFY(test::WriteBytes(list, "[Generator]\r\n"));
    const QMimeType type = QMimeDatabase().mimeTypeForFile(list);
    QCOMPARE(type.name(), QStringLiteral("application/x-typoscan-zindel-list"));
    QVERIFY(type.inherits(QStringLiteral("text/plain")));
    QCOMPARE(type.iconName(), QStringLiteral("application-x-typoscan-zindel-list"));
    QCOMPARE(type.comment(), QStringLiteral("Typoscan Zindel 書体リスト"));
}

void TestInstalledProgram::installedTzindRuns()
{
    const QString tzind = Usr(QStringLiteral("bin/tzind"));
    const test::ProcessResult version = test::RunProcess(tzind, { QStringLiteral("--version") });
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("tzind (Typoscan Zindel) " TZ_VERSION "\n"));

    QTemporaryDir work;
    const QString font = work.filePath(QStringLiteral("check.ttf"));
    QVERIFY(test::WriteBytes(font,
        test::BuildFont({ test::WindowsName(1, QStringLiteral("Install Check")),
            test::WindowsName(4, QStringLiteral("Install Check Bold")) })));
    const QString list = work.filePath(QStringLiteral("check.tzl"));
    const test::ProcessResult add = test::RunProcess(tzind, { QStringLiteral("add"), QStringLiteral("-o"), list, font });
    QVERIFY2(add.exitCode == 0, add.err.constData());
    const test::ProcessResult rows = test::RunProcess(tzind, { QStringLiteral("list"), list });
    QCOMPARE(rows.exitCode, 0);
    QVERIFY2(rows.out.contains("Install Check Bold\tInstall Check\t"), rows.out.constData());

    // sample runs in the helper below lib, which is not on the PATH: its own
    // usage text, not a failed start.
    QVERIFY(!QFileInfo::exists(Usr(QStringLiteral("bin/tzind-sample"))));
    const test::ProcessResult sample = test::RunProcess(tzind, { QStringLiteral("sample") });
    QCOMPARE(sample.exitCode, 2);
    QVERIFY2(sample.err.startsWith("usage: tzind sample"), sample.err.constData());
}

QTEST_MAIN(TestInstalledProgram)
#include "test_installed_program.moc"
