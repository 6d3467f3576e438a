#include "app/AboutDialog.h"

#include "app/Icons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tz {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TAboutDlg"));
    setWindowTitle(QStringLiteral("About Typoscan Zindel"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel;
    icon->setPixmap(AppIcon().pixmap(32, 32));
    auto* headline = new QLabel(QStringLiteral("Typoscan Zindel v0.99b"));
    headline->setObjectName(QStringLiteral("ProductName"));
    QFont bold = headline->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    headline->setFont(bold);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(headline, 1);
    layout->addLayout(top);
    auto* credits = new QPlainTextEdit;
    credits->setObjectName(QStringLiteral("Memo1"));
    credits->setReadOnly(true);
    credits->setPlainText(QStringLiteral(
        "Typoscan Zindel: 書体見本帳の作成と書体ファイルの管理\n\n"
        "This program uses:\n"
        "  Qt %1 - the Qt Company and contributors (LGPL 3)\n"
        "  zlib - Jean-loup Gailly and Mark Adler\n"
        "  Brotli - the Brotli authors\n"
        "  libpng - the PNG Reference Library authors\n"
        "  minizip - Gilles Vollant\n"
        "  fontconfig - Keith Packard and contributors\n"
        "  libarchive - Tim Kientzle and contributors\n"
        "  OpenSSL (libcrypto) - the OpenSSL Project Authors (Apache 2.0)\n"
        "  IPA fonts - Information-technology Promotion Agency, Japan\n")
                              .arg(QString::fromLatin1(qVersion())));
    layout->addWidget(credits, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(360, 260);
}

} // namespace tz
