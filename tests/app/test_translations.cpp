#include "app/Application.h"

#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace tz;

// Qt's own buttons and dialogs speak Japanese beside the program's texts,
// whatever the locale the program was started under.
class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::English);
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm")))
            QSKIP("Qt's Japanese translations (qt6-translations-l10n) are not installed");
        QVERIFY(LoadQtTranslations(*QCoreApplication::instance()));
    }

    void standardButtonsReadJapanese()
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Typoscan Zindel"), QStringLiteral("text"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
        QVERIFY(buttons.button(QDialogButtonBox::Open)->text() != QStringLiteral("&Open"));
    }
};

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
