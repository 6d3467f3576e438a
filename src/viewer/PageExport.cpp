#include "viewer/PageExport.h"

#include "sample/PageStore.h"
#include "viewer/PNGImage.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace tz {

QStringList SaveFilters()
{
    return { QStringLiteral("Portable Network Graphics(*.png)"), QStringLiteral("ビットマップ(*.bmp)"),
        QStringLiteral("すべてのファイル(*.*)") };
}

QString DefaultSuffixOf(int fileType)
{
    switch (fileType) {
    case kTypeBmp:
        return QStringLiteral("bmp");
    case kTypePdf:
        return QStringLiteral("pdf");
    default:
        return QStringLiteral("png");
    }
}

SaveFormat SaveFormatOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    if (suffix == u"PDF")
        return SaveFormat::Pdf;
    if (suffix == u"BMP")
        return SaveFormat::Bmp;
    return SaveFormat::Png;
}

bool SaveBitmapFile(const QImage& page, const QString& fileName, SaveFormat format, TPNGImage& png, QString* error)
{
    if (format != SaveFormat::Bmp) {
        png.Assign(page);
        return png.SaveToFile(fileName, error);
    }
    QSaveFile file(fileName);
    QString reason;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
    } else {
        QImageWriter writer(&file, "BMP");
        if (!writer.write(page)) {
            reason = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
            file.cancelWriting();
        } else if (!file.commit()) {
            reason = file.errorString();
        }
    }
    if (error)
        *error = reason;
    return reason.isEmpty();
}

QString SaveAllName(const QString& chosenName, int fileType, int pageNumber)
{
    const QString number = QStringLiteral("%1").arg(pageNumber, 4, 10, QLatin1Char('0'));
    if (fileType == kTypeBmp)
        return chosenName + number + QStringLiteral(".bmp");
    return QFileInfo(chosenName).absolutePath() + QStringLiteral("/tzsm") + number + QStringLiteral(".png");
}

QImage LoadPage(const QString& workFolder, int pageNumber)
{
    const QString bitmap = PageBitmapPath(workFolder, pageNumber);
    QImage page;
    if (DecompressFile(PageFilePath(workFolder, pageNumber), bitmap))
        page.load(bitmap, "BMP");
    QFile::remove(bitmap);
    return page;
}

namespace {

    // Moves the decompressed bitmap of a page to its place; a file of that
    // name is replaced.
    bool MoveBitmap(const QString& bitmap, const QString& destination, QString* error)
    {
        QFile::remove(destination);
        QFile source(bitmap);
        if (source.rename(destination))
            return true;
        *error = source.errorString();
        QFile::remove(bitmap);
        return false;
    }

} // namespace

bool SaveAllPages(
    const QString& workFolder, int pageCount, const QString& chosenName, int fileType, TPNGImage& png, QString* error)
{
    QString reason;
    for (int i = 1; i <= pageCount && reason.isEmpty(); ++i) {
        const QString destination = SaveAllName(chosenName, fileType, i);
        if (fileType == kTypeBmp) {
            const QString bitmap = PageBitmapPath(workFolder, i);
            if (DecompressFile(PageFilePath(workFolder, i), bitmap))
                MoveBitmap(bitmap, destination, &reason);
            else
                QFile::remove(bitmap);
            continue;
        }
        const QImage page = LoadPage(workFolder, i);
        if (!page.isNull())
            SaveBitmapFile(page, destination, SaveFormat::Png, png, &reason);
    }
    if (error)
        *error = reason;
    return reason.isEmpty();
}

} // namespace tz
