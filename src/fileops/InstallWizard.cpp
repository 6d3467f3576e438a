#include "fileops/InstallWizard.h"

#include "fileops/FolderDialog.h"
#include "fileops/FontInstaller.h"
#include "fontfile/InstalledFontFiles.h"
#include "widgets/BusyCursor.h"
#include "widgets/Named.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tz {

namespace {

    // A page with its bold title line and its instruction line.
    QWidget* Page(const char* name, const QString& title, const QString& instruction, QVBoxLayout*& body)
    {
        auto* page = Named(new QWidget, name);
        body = new QVBoxLayout(page);
        auto* heading = new QLabel(title);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        body->addWidget(heading);
        if (!instruction.isEmpty())
            body->addWidget(new QLabel(instruction));
        return page;
    }

    QPlainTextEdit* Memo(const char* name, const QString& text = {})
    {
        auto* memo = Named(new QPlainTextEdit(text), name);
        memo->setReadOnly(true);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return memo;
    }

    QHBoxLayout* ButtonRow(QVBoxLayout* body)
    {
        auto* row = new QHBoxLayout;
        row->addStretch();
        body->addLayout(row);
        return row;
    }

    QString Title(int page) { return QStringLiteral("選択書体のインストールをおこないます(Page %1 of 5)").arg(page); }

} // namespace

InstallWizard::InstallWizard(const FontList& list, QString workFolder, QWidget* parent)
    : QDialog(parent)
    , list_(list)
    , workFolder_(std::move(workFolder))
    , fontsFolder_(InstalledFontFiles::FontsFolder())
    , installFolder_(fontsFolder_)
{
    setObjectName(QStringLiteral("TForm13"));
    setWindowTitle(QStringLiteral("選択書体をインストール"));
    pages_ = Named(new QStackedWidget, "PageControl1");
    pages_->addWidget(BuildMethodPage());
    pages_->addWidget(BuildCustomPage());
    pages_->addWidget(BuildSummaryPage());
    pages_->addWidget(BuildRunPage());
    pages_->addWidget(BuildLogPage());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    edtCopyFolder_->setText(fontsFolder_);
    resize(460, 360);
}

QPushButton* InstallWizard::AddButton(
    QHBoxLayout* row, const char* name, const QString& caption, std::function<void()> click)
{
    auto* button = Named(new QPushButton(caption), name);
    connect(button, &QPushButton::clicked, this, std::move(click));
    row->addWidget(button);
    return button;
}

QWidget* InstallWizard::BuildMethodPage()
{
    QVBoxLayout* body;
    QWidget* page
        = Page("TabSheet1", Title(1), QStringLiteral("インストールの方法を選択して，[次へ]を押してください．"), body);
    rbtnStandard_ = Named(new QRadioButton(QStringLiteral("標準")), "rbtnStandard");
    rbtnCustomize_ = Named(new QRadioButton(QStringLiteral("カスタム(&C)")), "rbtnCustomize");
    rbtnStandard_->setChecked(true);
    body->addWidget(rbtnStandard_);
    body->addWidget(rbtnCustomize_);
    body->addWidget(Memo("Memo2",
        QStringLiteral("標準\n"
                       "  選択書体をフォントフォルダにコピーしてインストールします．(推奨)\n"
                       "カスタム\n"
                       "  コピー先のフォルダを指定したり，コピーせずにインストールすることができます．\n"
                       "  コピーせずにインストールする場合，書庫ファイル内のフォントと\n"
                       "  Macintosh形式のフォントはインストールできません．")));
    QHBoxLayout* row = ButtonRow(body);
    AddButton(row, "btnBack1", QStringLiteral("キャンセル"), [this] { Finish(); });
    AddButton(row, "btnNext1", QStringLiteral("次へ(&N) >"), [this] { btnNext1Click(); });
    return page;
}

QWidget* InstallWizard::BuildCustomPage()
{
    QVBoxLayout* body;
    QWidget* page
        = Page("TabSheet2", Title(2), QStringLiteral("チェックボックスを確認して，[次へ]を押してください．"), body);
    chkCopyFile_ = Named(new QCheckBox(QStringLiteral("フォルダにフォントをコピーする(&C)")), "chkCopyFile");
    chkCopyFile_->setChecked(true);
    edtCopyFolder_ = Named(new QLineEdit, "edtCopyFolder");
    edtCopyFolder_->setReadOnly(true);
    connect(edtCopyFolder_, &QLineEdit::textChanged, chkCopyFile_, [this] { chkCopyFile_->setChecked(true); });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(edtCopyFolder_, 1);
    AddButton(folderRow, "btnBrowsCopyFolder", QStringLiteral("参照(&B)"), [this] { btnBrowsCopyFolderClick(); });
    body->addWidget(chkCopyFile_);
    body->addLayout(folderRow);
    body->addWidget(Memo("Memo1",
        QStringLiteral("チェックすると，指定したフォルダにフォントをコピーしてインストールします．\n"
                       "チェックしない場合，フォントをコピーせずに，今ある場所のままインストールします．\n"
                       "このとき，書庫ファイル内のフォントとMacintosh形式のフォントはインストールできません．")));
    QHBoxLayout* row = ButtonRow(body);
    AddButton(row, "btnBack2", QStringLiteral("< 戻る(&B)"), [this] { ShowPage(1); });
    AddButton(row, "btnNext2", QStringLiteral("次へ(&N) >"), [this] { ShowPage(3); });
    return page;
}

QWidget* InstallWizard::BuildSummaryPage()
{
    QVBoxLayout* body;
    QWidget* page = Page("TabSheet3", Title(3), {}, body);
    label9_ = Named(new QLabel(QStringLiteral("インストールの準備ができました．")), "Label9");
    body->addWidget(label9_);
    body->addWidget(new QLabel(QStringLiteral("[インストール]を押すと，選択書体のインストールを開始します．")));
    memo3_ = Memo("Memo3");
    body->addWidget(memo3_);
    QHBoxLayout* row = ButtonRow(body);
    AddButton(row, "btnBack3", QStringLiteral("< 戻る(&B)"), [this] { ShowPage(custom_ ? 2 : 1); });
    btnInstall_ = AddButton(row, "btnInstall", QStringLiteral("インストール"), [this] { ShowPage(4); });
    return page;
}

QWidget* InstallWizard::BuildRunPage()
{
    QVBoxLayout* body;
    QWidget* page = Page("TabSheet4", QStringLiteral("選択書体をインストール中です(Page 4 of 5)"), {}, body);
    // The running installation is shown by a busy bar.
    animate_ = Named(new QProgressBar, "Animate1");
    animate_->setTextVisible(false);
    animate_->setRange(0, 1);
    progress_ = Named(new QProgressBar, "ProgressBar1");
    progress_->setRange(0, 100);
    memoCopingFileName_ = Named(new QLineEdit, "memoCopingFileName");
    memoCopingFileName_->setReadOnly(true);
    doneLabel_ = new QLabel(QStringLiteral("インストールが完了しました．[次へ]を押してください．"));
    body->addWidget(animate_);
    body->addWidget(progress_);
    body->addWidget(memoCopingFileName_);
    body->addWidget(doneLabel_);
    body->addStretch();
    QHBoxLayout* row = ButtonRow(body);
    btnBack4_ = AddButton(row, "btnBack4", QStringLiteral("中止"), [this] { btnBack4Click(); });
    btnNext4_ = AddButton(row, "btnNext4", QStringLiteral("次へ(&N) >"), [this] { ShowPage(5); });
    return page;
}

QWidget* InstallWizard::BuildLogPage()
{
    QVBoxLayout* body;
    QWidget* page = Page("TabSheet5", QStringLiteral("選択書体のインストールが完了しました(Page 5 of 5)"), {}, body);
    memoInstalledLog_ = Memo("memoInstalledLog");
    body->addWidget(memoInstalledLog_);
    QHBoxLayout* row = ButtonRow(body);
    AddButton(row, "Button5", QStringLiteral("完了"), [this] { Finish(); });
    return page;
}

void InstallWizard::Install(FontFormats formats)
{
    formats_ = formats;
    ShowPage(1);
    exec();
}

int InstallWizard::CurrentPage() const { return pages_->currentIndex() + 1; }

void InstallWizard::ShowPage(int page)
{
    pages_->setCurrentIndex(page - 1);
    if (page == 1) {
        installFolder_ = fontsFolder_;
        edtCopyFolder_->setText(fontsFolder_);
        rbtnStandard_->setChecked(true);
    } else if (page == 3) {
        ShowSummary();
    } else if (page == 4) {
        RunInstall();
    }
}

void InstallWizard::btnNext1Click()
{
    custom_ = rbtnCustomize_->isChecked();
    ShowPage(custom_ ? 2 : 3);
}

void InstallWizard::btnBrowsCopyFolderClick()
{
    const QString folder = ChooseFontFolder(this, QStringLiteral("SelectFolderDialog1"), edtCopyFolder_->text());
    if (!folder.isEmpty())
        edtCopyFolder_->setText(folder);
}

InstallChoice InstallWizard::Choice() const
{
    return InstallChoice { custom_, chkCopyFile_->isChecked(), installFolder_ };
}

void InstallWizard::ShowSummary()
{
    installFolder_ = custom_ ? edtCopyFolder_->text() : fontsFolder_;
    btnInstall_->setEnabled(false);
    label9_->hide();
    memo3_->setPlainText(QStringLiteral("現在集計中です．\nしばらくお待ちください..."));
    repaint();
    SelectionSummary summary;
    {
        const BusyCursor busy;
        summary = SummarizeSelection(list_);
    }
    memo3_->setPlainText(InstallSummaryLines(summary, Choice()).join(u'\n'));
    label9_->show();
    btnInstall_->setEnabled(true);
    btnInstall_->setFocus();
}

void InstallWizard::RunInstall()
{
    FontInstaller installer(list_, workFolder_);
    installer.Formats = formats_;
    const InstallChoice choice = Choice();
    installer.Method = !choice.custom ? InstallMethod::Standard
        : choice.copyFiles            ? InstallMethod::CopyToFolder
                                      : InstallMethod::LinkInPlace;
    installer.Folder = choice.folder;
    installer.Progress = [this](int percent, const QString& name) {
        progress_->setValue(percent);
        memoCopingFileName_->setText(name);
    };
    installer.LetEventsRun = [this, &installer] {
        QCoreApplication::processEvents();
        if (aborted_)
            installer.Abort();
    };
    aborted_ = false;
    running_ = true;
    progress_->setValue(0);
    memoCopingFileName_->clear();
    memoInstalledLog_->clear();
    doneLabel_->hide();
    btnBack4_->setEnabled(true);
    btnNext4_->setEnabled(false);
    animate_->setRange(0, 0);
    const InstallResult result = installer.Run();
    animate_->setRange(0, 1);
    running_ = false;
    memoCopingFileName_->clear();
    memoInstalledLog_->setPlainText(result.Log.join(u'\n'));
    doneLabel_->show();
    btnBack4_->setEnabled(false);
    btnNext4_->setEnabled(true);
    btnNext4_->setFocus();
}

void InstallWizard::btnBack4Click()
{
    btnBack4_->setEnabled(false);
    aborted_ = true;
}

void InstallWizard::Finish()
{
    ShowPage(1);
    accept();
}

// Closing the window while installing stops after the file being installed.
void InstallWizard::reject()
{
    if (running_) {
        btnBack4Click();
        return;
    }
    ShowPage(1);
    QDialog::reject();
}

} // namespace tz
