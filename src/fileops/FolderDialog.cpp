#include "fileops/FolderDialog.h"

#include <QFileDialog>

namespace tz {

QString ChooseFontFolder(QWidget* parent, const QString& name, const QString& start)
{
    QFileDialog dialog(parent, QStringLiteral("TrueTypeフォントのコピー先フォルダを指定して下さい"), start);
    dialog.setObjectName(name);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace tz
