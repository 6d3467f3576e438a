#pragma once
// TForm13: the install wizard. Five pages walked with the buttons: the
// method, the custom options, the summary, the run and the log. The run
// installs the fonts behind the selected rows (FontInstaller); "中止" ends it
// after the file being installed.
#include "fileops/SelectionSummary.h"
#include "fontfile/FontFormats.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace tz {

class FontList;

class InstallWizard : public QDialog {
    Q_OBJECT
public:
    InstallWizard(const FontList& list, QString workFolder, QWidget* parent = nullptr);

    // Shows the wizard modally from its first page; formats: the archives and
    // font files read.
    void Install(FontFormats formats = FontFormats::Designed);
    int CurrentPage() const; // 1 .. 5
    void ShowPage(int page);

public slots:
    void reject() override;

private:
    QWidget* BuildMethodPage();
    QWidget* BuildCustomPage();
    QWidget* BuildSummaryPage();
    QWidget* BuildRunPage();
    QWidget* BuildLogPage();
    QPushButton* AddButton(QHBoxLayout* row, const char* name, const QString& caption, std::function<void()> click);
    void ShowSummary();
    void RunInstall();
    InstallChoice Choice() const;

    void btnNext1Click();
    void btnBrowsCopyFolderClick();
    void btnBack4Click();
    void Finish();

    const FontList& list_;
    QString workFolder_;
    FontFormats formats_ = FontFormats::Designed;
    QString fontsFolder_; // the user's font folder
    QString installFolder_;
    bool custom_ = false;
    bool aborted_ = false;
    bool running_ = false;

    QStackedWidget* pages_;
    QRadioButton* rbtnStandard_;
    QRadioButton* rbtnCustomize_;
    QCheckBox* chkCopyFile_;
    QLineEdit* edtCopyFolder_;
    QLabel* label9_;
    QPlainTextEdit* memo3_;
    QPushButton* btnInstall_;
    QProgressBar* progress_;
    QProgressBar* animate_;
    QLineEdit* memoCopingFileName_;
    QLabel* doneLabel_;
    QPushButton* btnBack4_;
    QPushButton* btnNext4_;
    QPlainTextEdit* memoInstalledLog_;
};

} // namespace tz
