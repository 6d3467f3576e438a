#include <QtTest>
class PageSetupDialogTest : public QObject { Q_OBJECT };
QTEST_MAIN(PageSetupDialogTest)
#include "test_page_setup_dialog.moc"
