#include "app/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

// The pages live in a static library: their resource must be registered by hand.
static void InitHelpResources() { Q_INIT_RESOURCE(help); }

namespace tz {

namespace {

    QString PlainText(const QString& page)
    {
        QFile file(page);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QTextDocument document;
        document.setHtml(QString::fromUtf8(file.readAll()));
        return document.toPlainText();
    }

} // namespace

const QList<HelpWindow::Topic>& HelpWindow::Topics()
{
    static const bool registered = (InitHelpResources(), true);
    Q_UNUSED(registered);
    static const QList<Topic> topics = {
        { 0, QStringLiteral("qrc:/help/index.html"), QStringLiteral("目次") },
        { 1040, QStringLiteral("qrc:/help/main.html"), QStringLiteral("メインウィンドウ") },
        { 1050, QStringLiteral("qrc:/help/adding.html"), QStringLiteral("書体の追加と検索追加") },
        { 1060, QStringLiteral("qrc:/help/lists.html"), QStringLiteral("書体リストの保存と読み込み") },
        { 1070, QStringLiteral("qrc:/help/samples.html"), QStringLiteral("見本の作成と印刷") },
        { 1080, QStringLiteral("qrc:/help/settings.html"), QStringLiteral("環境設定と見本文章設定") },
        { 1090, QStringLiteral("qrc:/help/pagesetup.html"), QStringLiteral("用紙設定") },
        { 1220, QStringLiteral("qrc:/help/about.html"), QStringLiteral("バージョン情報") },
    };
    return topics;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Typoscan Zindel ヘルプ"));
    tabs_ = new QTabWidget;
    contents_ = new QListWidget;
    contents_->setObjectName(QStringLiteral("HelpContents"));
    for (const Topic& topic : Topics()) {
        auto* item = new QListWidgetItem(topic.Title, contents_);
        item->setData(Qt::UserRole, topic.Page);
    }
    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    query_ = new QLineEdit;
    query_->setObjectName(QStringLiteral("HelpQuery"));
    query_->setPlaceholderText(QStringLiteral("検索する語"));
    results_ = new QListWidget;
    results_->setObjectName(QStringLiteral("HelpResults"));
    searchLayout->addWidget(query_);
    searchLayout->addWidget(results_, 1);
    tabs_->addTab(contents_, QStringLiteral("目次"));
    tabs_->addTab(searchPage, QStringLiteral("検索"));
    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    auto* splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 180, 460 });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(640, 420);

    auto open = [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); };
    connect(contents_, &QListWidget::itemActivated, this, open);
    connect(contents_, &QListWidget::itemClicked, this, open);
    connect(results_, &QListWidget::itemActivated, this, open);
    connect(results_, &QListWidget::itemClicked, this, open);
    connect(query_, &QLineEdit::returnPressed, this, &HelpWindow::RunSearch);
    ShowPage(Topics().constFirst().Page);
}

void HelpWindow::ShowPage(const QString& page) { browser_->setSource(QUrl(page)); }

QString HelpWindow::CurrentPage() const { return browser_->source().toString(); }

void HelpWindow::ShowContext(int context)
{
    QString page = Topics().constFirst().Page;
    for (const Topic& topic : Topics()) {
        if (topic.Context == context)
            page = topic.Page;
    }
    tabs_->setCurrentIndex(0);
    ShowPage(page);
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowSearch()
{
    tabs_->setCurrentIndex(1);
    show();
    raise();
    activateWindow();
    query_->setFocus();
    query_->selectAll();
}

QStringList HelpWindow::Search(const QString& text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    QStringList titles;
    if (words.isEmpty())
        return titles;
    for (const Topic& topic : Topics()) {
        const QString plain = PlainText(topic.Page.mid(3)); // "qrc:/x" -> ":/x"
        if (std::all_of(words.begin(), words.end(), [&](const QString& w) { return plain.contains(w, Qt::CaseInsensitive); }))
            titles << topic.Title;
    }
    return titles;
}

void HelpWindow::RunSearch()
{
    results_->clear();
    const QStringList titles = Search(query_->text());
    for (const Topic& topic : Topics()) {
        if (titles.contains(topic.Title)) {
            auto* item = new QListWidgetItem(topic.Title, results_);
            item->setData(Qt::UserRole, topic.Page);
        }
    }
    if (titles.isEmpty())
        results_->addItem(QStringLiteral("該当するトピックはありません"));
}

} // namespace tz
