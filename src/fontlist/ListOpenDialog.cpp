#include "fontlist/ListOpenDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>

namespace tz {

ListOpenDialog::ListOpenDialog(QWidget* parent)
    : QFileDialog(parent, QStringLiteral("リストを開く"))
{
    setObjectName(QStringLiteral("COpenDialog1"));
    setOption(QFileDialog::DontUseNativeDialog); // the panel needs the dialog's own layout
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilters({ QStringLiteral("書体リスト(*.tzl)"), QStringLiteral("すべてのファイル(*.*)") });
    setDefaultSuffix(QStringLiteral("tzl"));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("TForm11"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    driveLetter_ = new QCheckBox(QStringLiteral("ドライブレターを無視する(&D)"), panel);
    driveLetter_->setObjectName(QStringLiteral("chkDriveLetter"));
    row->addWidget(driveLetter_);
    row->addStretch();
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount());
    else
        layout()->addWidget(panel);
}

QString ListOpenDialog::ChosenFile() const
{
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

bool ListOpenDialog::IgnoreDriveLetter() const { return driveLetter_->isChecked(); }

} // namespace tz
