#include "widgets/SettingsDialogFrame.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tz {

DialogButtons LayOutSettingsDialog(QDialog& dialog, QTabWidget* tabs)
{
    DialogButtons b { new QPushButton(QStringLiteral("OK")), new QPushButton(QStringLiteral("キャンセル")) };
    b.ok->setObjectName(QStringLiteral("btnOK"));
    b.cancel->setObjectName(QStringLiteral("btnCancel"));
    b.ok->setDefault(true);
    QObject::connect(b.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(b.ok);
    buttons->addWidget(b.cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    return b;
}

} // namespace tz
