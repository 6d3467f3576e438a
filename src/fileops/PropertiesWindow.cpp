#include "fileops/PropertiesWindow.h"

#include "fileops/DocumentMenu.h"
#include "widgets/Named.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tz {

PropertiesWindow::PropertiesWindow(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("選択書体のプロパティ"));
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto* icon = new QLabel;
    icon->setPixmap(DocumentIcon(0).pixmap(32, 32));
    grid->addWidget(icon, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("TrueType フォント ファイル")), 0, 1);
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 1, 0, 1, 2);
    lblFontCount_ = Named(new QLabel, "lblFontCount");
    lblFileCount_ = Named(new QLabel, "lblFileCount");
    lblFileSize_ = Named(new QLabel, "lblFileSize");
    lblFileSizeByte_ = Named(new QLabel, "lblFileSizeByte");
    archiveNote_ = Named(new QLabel, "lblArchive");
    archiveNote_->setText(QStringLiteral("書庫ファイルが含まれています"));
    archiveNote_->setVisible(false);
    grid->addWidget(new QLabel(QStringLiteral("書体数:")), 2, 0);
    grid->addWidget(lblFontCount_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("ファイル数:")), 3, 0);
    grid->addWidget(lblFileCount_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("サイズ:")), 4, 0);
    grid->addWidget(lblFileSize_, 4, 1);
    grid->addWidget(lblFileSizeByte_, 5, 1);
    grid->addWidget(archiveNote_, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);
    auto* tabs = new QTabWidget;
    tabs->addTab(page, QStringLiteral("全般"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(ok, 0, Qt::AlignRight);
    resize(300, 280);
}

void PropertiesWindow::Fill(const SelectionSummary& summary)
{
    lblFontCount_->setText(QStringLiteral("%1 書体").arg(summary.Faces));
    lblFileCount_->setText(QStringLiteral("%1 ファイル").arg(summary.Files));
    lblFileSize_->setText(MegabyteText(summary.Bytes) + QStringLiteral("MB"));
    lblFileSizeByte_->setText(QStringLiteral("(%1Bytes)").arg(summary.Bytes));
    archiveNote_->setVisible(summary.Archive);
}

void PropertiesWindow::ShowSummary(const SelectionSummary& summary, const QWidget* over)
{
    Fill(summary);
    if (over) {
        const QRect frame = over->frameGeometry();
        move(frame.x() + (frame.width() - width()) / 2, frame.y() + (frame.height() - height()) / 2);
    }
    exec();
}

} // namespace tz
