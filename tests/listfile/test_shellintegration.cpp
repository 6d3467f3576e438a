// The .tzl file type on a real XDG data folder (each test run has its own
// XDG_DATA_HOME), the desktop entry's command line, the commands' failure
// messages, an installed program's use of the system's files and the sibling
// program's launch.
#include "ListFileDialogHelpers.h"
#include "ListFileSupport.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "app/ShellIntegration.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using test::ModalAnswers;

class TestShellIntegration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void registersTheFileType();
    void registeringAgainFollowsAMovedProgram();
    void installedProgramWritesNoUserFiles_data();
    void installedProgramWritesNoUserFiles();
    void unregistersCleanly();
    void failuresShowTheDesignedTexts();
    void execLineQuotesThePath_data();
    void execLineQuotesThePath();
    void siblingProgram();

private:
    QString DataHome() const { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }
};

void TestShellIntegration::init()
{
    QVERIFY(DataHome().contains(QStringLiteral(".xdg"))); // never the real home
    QDir(DataHome()).removeRecursively();
}

void TestShellIntegration::registersTheFileType()
{
    MainWindow window(false);
    ModalAnswers answers;
    window.fmnFileTypeAddClick();
    window.fmnFileTypeAddClick();
    QCOMPARE(answers.Unexpected(), 0); // success shows nothing
    const QByteArray package = test::ReadBytes(ListMimePackagePath());
    QVERIFY(package.contains("type=\"application/x-typoscan-zindel-list\""));
    QVERIFY(package.contains("<glob pattern=\"*.tzl\"/>"));
    QVERIFY(package.contains("Typoscan Zindel 書体リスト"));
    const QString entry = QString::fromUtf8(test::ReadBytes(ListDesktopEntryPath()));
    QVERIFY(entry.contains(QStringLiteral("Exec=") + DesktopExecLine(QCoreApplication::applicationFilePath()) + u'\n'));
    QVERIFY(entry.contains(QStringLiteral("MimeType=application/x-typoscan-zindel-list;\n")));
    QVERIFY(QFileInfo(ListIconPath()).size() > 0);
    // The desktop's own database now knows the type, where its tool is installed.
    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        const QByteArray globs = test::ReadBytes(DataHome() + QStringLiteral("/mime/globs2"));
        QVERIFY2(globs.contains("application/x-typoscan-zindel-list:*.tzl"), globs.constData());
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty()) {
        const QByteArray cache = test::ReadBytes(DataHome() + QStringLiteral("/applications/mimeinfo.cache"));
        QVERIFY(cache.contains("application/x-typoscan-zindel-list=typoscan-zindel-fontlist.desktop;"));
    }
}

void TestShellIntegration::registeringAgainFollowsAMovedProgram()
{
    QVERIFY(RegisterListFileType(QStringLiteral("/old/place/typoscan-zindel"), {}));
    QVERIFY(RegisterListFileType(QStringLiteral("/new/place/typoscan-zindel"), {}));
    const QByteArray entry = test::ReadBytes(ListDesktopEntryPath());
    QVERIFY(entry.contains("Exec=\"/new/place/typoscan-zindel\" %f\n"));
    QVERIFY(!entry.contains("/old/place"));
}

void TestShellIntegration::installedProgramWritesNoUserFiles_data()
{
    QTest::addColumn<bool>("systemFolder"); // the installed data folder is in XDG_DATA_DIRS
    QTest::addColumn<bool>("mimePackage");
    QTest::addColumn<bool>("desktopEntry");
    QTest::addColumn<bool>("userFiles");
    QTest::newRow("installed") << true << true << true << false;
    QTest::newRow("data folder unknown to the desktop") << false << true << true << true;
    QTest::newRow("no desktop entry") << true << true << false << true;
    QTest::newRow("no MIME package") << true << false << true << true;
}

void TestShellIntegration::installedProgramWritesNoUserFiles()
{
    QFETCH(bool, systemFolder);
    QFETCH(bool, mimePackage);
    QFETCH(bool, desktopEntry);
    QFETCH(bool, userFiles);
    QTemporaryDir prefix;
    const QString program = prefix.filePath(QStringLiteral("bin/typoscan-zindel"));
    const QString share = InstalledDataFolder(program);
    QVERIFY(share.startsWith(prefix.path()));
    QVERIFY(QDir().mkpath(share + QStringLiteral("/mime/packages")) && QDir().mkpath(share + QStringLiteral("/applications")));
    if (mimePackage)
        QVERIFY(test::WriteBytes(share + QStringLiteral("/mime/packages/typoscan-zindel.xml"), "<mime-info/>"));
    if (desktopEntry)
        QVERIFY(test::WriteBytes(share + QStringLiteral("/applications/") + DesktopAppId() + QStringLiteral(".desktop"), "[Desktop Entry]\n"));
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", (systemFolder ? QFile::encodeName(share) + "/:" : QByteArray()) + "/usr/share");
    const bool registered = RegisterListFileType(program, {});
    qputenv("XDG_DATA_DIRS", dataDirs);
    QVERIFY(registered);
    QCOMPARE(QFileInfo::exists(ListMimePackagePath()), userFiles);
    QCOMPARE(QFileInfo::exists(ListDesktopEntryPath()), userFiles);
}

void TestShellIntegration::unregistersCleanly()
{
    MainWindow window(false);
    ModalAnswers answers;
    window.fmnFileTypeRemoveClick(); // never registered: no message
    window.fmnFileTypeAddClick();
    window.fmnFileTypeRemoveClick();
    QCOMPARE(answers.Unexpected(), 0);
    for (const QString& path : { ListMimePackagePath(), ListDesktopEntryPath(), ListIconPath() })
        QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        QVERIFY(!test::ReadBytes(DataHome() + QStringLiteral("/mime/globs2")).contains("*.tzl"));
}

void TestShellIntegration::failuresShowTheDesignedTexts()
{
    MainWindow window(false);
    ModalAnswers answers;
    answers.Message(QMessageBox::Ok).Message(QMessageBox::Ok);
    // A file where the MIME folder belongs stops the registration.
    QVERIFY(QDir().mkpath(DataHome()));
    QVERIFY(test::WriteBytes(DataHome() + QStringLiteral("/mime"), "not a folder"));
    window.fmnFileTypeAddClick();
    QVERIFY(!QFileInfo::exists(ListDesktopEntryPath())); // nothing after the failure
    // A desktop entry that can't be removed (a folder with contents in its place).
    QVERIFY(QDir().mkpath(ListDesktopEntryPath() + QStringLiteral("/inside")));
    window.fmnFileTypeRemoveClick();
    QCOMPARE(answers.MessageTexts(), QStringList({ "関連付けに失敗しました", "関連付けの解除に失敗しました" }));
    QCOMPARE(answers.Messages().at(0).icon, QMessageBox::Critical);
    QCOMPARE(answers.Messages().at(1).icon, QMessageBox::Critical);
    QCOMPARE(answers.Messages().at(0).title, QStringLiteral("Typoscan Zindel"));
}

void TestShellIntegration::execLineQuotesThePath_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/usr/bin/typoscan-zindel"
                           << "\"/usr/bin/typoscan-zindel\" %f";
    QTest::newRow("blank") << "/opt/Typoscan Zindel/tz"
                           << "\"/opt/Typoscan Zindel/tz\" %f";
    QTest::newRow("quote, dollar, backquote") << "/a\"b$c`d"
                                              << "\"/a\\\\\"b\\\\$c\\\\`d\" %f";
    QTest::newRow("percent") << "/100%/tz"
                             << "\"/100%%/tz\" %f";
    QTest::newRow("backslash") << "/a\\b"
                               << "\"/a\\\\\\\\b\" %f";
}

void TestShellIntegration::execLineQuotesThePath()
{
    QFETCH(QString, executable);
    QFETCH(QString, exec);
    QCOMPARE(DesktopExecLine(executable), exec);
}

void TestShellIntegration::siblingProgram()
{
    QTemporaryDir dir;
    const QString sibling = dir.filePath(QStringLiteral("typoscan"));
    const QString marker = dir.filePath(QStringLiteral("started"));
    QVERIFY(test::WriteBytes(sibling, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n"));
    QVERIFY(QFile::setPermissions(sibling, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    {
        SettingsStore store;
        QVERIFY(store.OpenKey(QStringLiteral("Standard"), true)->WriteString(QStringLiteral("Path"), sibling));
    }
    {
        MainWindow window(false);
        QAction* item = window.Action(QStringLiteral("OpenTyposcan"));
        QVERIFY(item->isVisible());
        window.OpenTyposcanClick();
        QTRY_VERIFY(QFileInfo::exists(marker));
    }
    QVERIFY(QFile::remove(sibling));
    MainWindow window(false);
    QVERIFY(!window.Action(QStringLiteral("OpenTyposcan"))->isVisible()); // its program is gone
    ModalAnswers answers;
    window.OpenTyposcanClick(); // a failing launch shows nothing
    QCOMPARE(answers.Unexpected(), 0);
}

QTEST_MAIN(TestShellIntegration)
#include "test_shellintegration.moc"
