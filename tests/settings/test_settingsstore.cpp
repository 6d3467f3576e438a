#include "TestSupport.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using namespace tz;

class SettingsStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path() const { return dir_.filePath(QStringLiteral("Typoscan.reg")); }
    QByteArray FileText() const
    {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void WriteFile(const QByteArray& text) const
    {
        QFile f(Path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    test::ProcessResult Peer(const QStringList& args) const
    {
        return test::RunProcess(test::BinPath(QStringLiteral("settings_peer")), args,
            { QStringLiteral("TYPOSCAN_SETTINGS=") + Path() });
    }

private slots:
    void init()
    {
        QFile::remove(Path());
        qputenv("TYPOSCAN_SETTINGS", Path().toUtf8());
    }

    void pathComesFromEnvironmentOrXdg()
    {
        QCOMPARE(SettingsStore::FilePath(), Path());
        qunsetenv("TYPOSCAN_SETTINGS");
        qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test");
        QCOMPARE(SettingsStore::FilePath(), QStringLiteral("/tmp/xdg-test/Quillmoor/Typoscan.reg"));
        qputenv("TYPOSCAN_SETTINGS", Path().toUtf8());
    }

    void typesAndAbsentValues()
    {
        {
            SettingsStore store;
            auto key = store.OpenKey(QStringLiteral("Zindel\\Misc"), true);
            QVERIFY(key);
            key->WriteString(QStringLiteral("Text"), QStringLiteral("C:\\FONTS\\\"A\".TTF\nsecond"));
            key->WriteInteger(QStringLiteral("Number"), -5);
            key->WriteBool(QStringLiteral("Flag"), true);
            key->WriteInteger(QStringLiteral("Two"), 2);
        }
        SettingsStore store;
        auto key = store.OpenKey(QStringLiteral("\\Software\\Quillmoor\\Typoscan\\Zindel\\Misc"), false);
        QVERIFY(key);
        QCOMPARE(key->ReadString(QStringLiteral("Text")), QStringLiteral("C:\\FONTS\\\"A\".TTF\nsecond"));
        QCOMPARE(key->ReadInteger(QStringLiteral("Number")), std::optional<int>(-5));
        QCOMPARE(key->ReadBool(QStringLiteral("Flag")), std::optional<bool>(true));
        QCOMPARE(key->ReadBool(QStringLiteral("Two")), std::optional<bool>(true));
        // Absent text is empty; absent or wrongly typed numbers fail.
        QCOMPARE(key->ReadString(QStringLiteral("Missing")), QString());
        QVERIFY(!key->ReadInteger(QStringLiteral("Missing")));
        QVERIFY(!key->ReadInteger(QStringLiteral("Text")));
        QVERIFY(!key->ReadBool(QStringLiteral("Text")));
        QCOMPARE(key->ReadString(QStringLiteral("Number")), QString());
    }

    void fileLayout()
    {
        {
            SettingsStore store;
            SettingsGroup(store, QStringLiteral("Zindel"))
                .Write(QStringLiteral("Left"), 100)
                .Write(QStringLiteral("Path"), QStringLiteral("/usr/bin/x"));
            store.OpenKey(QStringLiteral("Zindel\\Empty"), true);
        }
        const QByteArray text = FileText();
        QVERIFY(text.contains("[HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\Zindel]\n"
                              "\"Left\"=dword:00000064\n\"Path\"=\"/usr/bin/x\"\n"));
        QVERIFY(text.contains("[HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\Zindel\\Empty]\n"));
    }

    void keysExistOnlyWhenCreated()
    {
        {
            SettingsStore store;
            QVERIFY(!store.KeyExists(QStringLiteral("Zindel\\Lists")));
            QVERIFY(!store.OpenKey(QStringLiteral("Zindel\\Lists"), false));
            QVERIFY(!store.KeyExists(QStringLiteral("Zindel\\Lists")));
            QVERIFY(store.OpenKey(QStringLiteral("Common\\Size"), true));
        }
        SettingsStore store;
        QVERIFY(store.KeyExists(QStringLiteral("Common\\Size")));
        QVERIFY(store.KeyExists(QStringLiteral("Common")));
        QVERIFY(!store.KeyExists(QStringLiteral("Zindel\\Lists")));
    }

    void groupGuardEndsAtFirstFailure()
    {
        WriteFile("[HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\Common\\Size]\n"
                  "\"pt8\"=dword:00000001\n\"pt12\"=dword:00000000\n\"size8\"=dword:0000000a\n"
                  "\"size30\"=dword:00000020\n");
        SettingsStore store;
        bool pt8 = false, pt12 = true, pt30 = true;
        int size8 = 8, size12 = 12, size30 = 30;
        SettingsGroup group(store, QStringLiteral("Common\\Size"));
        group.Read(QStringLiteral("pt8"), pt8).Read(QStringLiteral("pt12"), pt12).Read(QStringLiteral("pt30"), pt30);
        group.Read(QStringLiteral("size8"), size8).Read(QStringLiteral("size12"), size12);
        group.Read(QStringLiteral("size30"), size30);
        QVERIFY(!group.Ok());
        QCOMPARE(pt8, true);
        QCOMPARE(pt12, false);
        // pt30 is absent: it and everything after it keep their defaults.
        QCOMPARE(pt30, true);
        QCOMPARE(size8, 8);
        QCOMPARE(size30, 30);
        // A group on a key that may not be created fails from the start.
        QString text = QStringLiteral("default");
        SettingsGroup absent(store, QStringLiteral("Zindel\\Nowhere"), false);
        absent.Read(QStringLiteral("Path"), text);
        QVERIFY(!absent.Ok());
        QCOMPARE(text, QStringLiteral("default"));
    }

    void lastProcessWinsKeyByKey()
    {
        QCOMPARE(Peer({ "write", "Zindel", "Left=int:1", "OnlyA=a" }).exitCode, 0);
        QCOMPARE(Peer({ "write", "Zindel", "Left=int:2", "OnlyB=b" }).exitCode, 0);
        SettingsStore store;
        auto key = store.OpenKey(QStringLiteral("Zindel"), false);
        QVERIFY(key);
        QCOMPARE(key->ReadInteger(QStringLiteral("Left")), std::optional<int>(2));
        QCOMPARE(key->ReadString(QStringLiteral("OnlyA")), QStringLiteral("a"));
        QCOMPARE(key->ReadString(QStringLiteral("OnlyB")), QStringLiteral("b"));
    }

    void killDuringSaveNeverTearsTheFile()
    {
        QCOMPARE(Peer({ "write", "Zindel", "Keep=int:7" }).exitCode, 0);
        for (int attempt = 0; attempt < 8; ++attempt) {
            QProcess hammer;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TYPOSCAN_SETTINGS"), Path());
            hammer.setProcessEnvironment(env);
            hammer.start(test::BinPath(QStringLiteral("settings_peer")), { "hammer", "Zindel\\Hammer" });
            QVERIFY(hammer.waitForStarted());
            QTest::qWait(40 + attempt * 37);
            ::kill(pid_t(hammer.processId()), SIGKILL);
            hammer.waitForFinished();
            QFile::remove(Path() + QStringLiteral(".lock"));
            SettingsStore store;
            auto key = store.OpenKey(QStringLiteral("Zindel"), false);
            QVERIFY2(key, "settings file torn by a killed writer");
            QCOMPARE(key->ReadInteger(QStringLiteral("Keep")), std::optional<int>(7));
            const QStringList aside = QDir(dir_.path()).entryList({ QStringLiteral("*.broken-*") });
            QVERIFY2(aside.isEmpty(), "a torn file was set aside");
        }
    }

    void garbageFileIsSetAsideAndDefaultsApply()
    {
        WriteFile(QByteArray("\x00\xff garbage [[[ \"x\"=nothing\n", 26));
        {
            SettingsStore store;
            int left = 42;
            SettingsGroup(store, QStringLiteral("Zindel")).Read(QStringLiteral("Left"), left);
            QCOMPARE(left, 42);
            SettingsGroup(store, QStringLiteral("Zindel")).Write(QStringLiteral("Left"), 5);
        }
        const QStringList aside = QDir(dir_.path()).entryList({ QStringLiteral("Typoscan.reg.broken-*") });
        QCOMPARE(aside.size(), 1);
        QFile kept(dir_.filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(kept.readAll().contains("garbage"));
        SettingsStore store;
        QCOMPARE(store.OpenKey(QStringLiteral("Zindel"), false)->ReadInteger(QStringLiteral("Left")), std::optional<int>(5));
        QFile::remove(dir_.filePath(aside.first()));
    }

    void malformedLinesMakeTheFileGarbage_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("value before any key") << QByteArray("\"Left\"=dword:00000001\n");
        QTest::newRow("short dword") << QByteArray("[HKEY_CURRENT_USER\\A]\n\"Left\"=dword:1\n");
        QTest::newRow("unterminated text") << QByteArray("[HKEY_CURRENT_USER\\A]\n\"Path\"=\"abc\n");
        QTest::newRow("unclosed section") << QByteArray("[HKEY_CURRENT_USER\\A\n");
        QTest::newRow("not UTF-8") << QByteArray("[HKEY_CURRENT_USER\\A]\n\"Path\"=\"\x82\xa0\"\n");
    }
    void malformedLinesMakeTheFileGarbage()
    {
        QFETCH(QByteArray, text);
        WriteFile(text);
        { SettingsStore store; }
        const QStringList aside = QDir(dir_.path()).entryList({ QStringLiteral("Typoscan.reg.broken-*") });
        QCOMPARE(aside.size(), 1);
        QFile::remove(dir_.filePath(aside.first()));
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "test_settingsstore.moc"
