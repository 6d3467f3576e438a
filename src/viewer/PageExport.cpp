#include "viewer/PageExport.h"

#include "platform/ReplacingFile.h"
#include "sample/PageStore.h"
#include "viewer/PNGImage.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

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
    return WriteImageFile(page, fileName, "BMP", error);
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

    // Moves the decompressed bitmap of a page to its place, replacing a file
    // of that name only once the new one is complete: a rename on the same
    // file system, a checked copy beside it otherwise.
    bool MoveBitmap(const QString& bitmap, const QString& destination, QString* error)
    {
        if (std::rename(QFile::encodeName(bitmap).constData(), QFile::encodeName(destination).constData()) == 0)
            return true;
        const int renameError = errno;
        ReplacingFile copy(destination);
        const bool copied = renameError == EXDEV && copy.Open() && copy.WriteContentsOf(bitmap) && copy.Commit();
        if (!copied)
            *error = copy.ErrorString().isEmpty() ? QString::fromLocal8Bit(std::strerror(renameError))
                                                  : copy.ErrorString();
        QFile::remove(bitmap);
        return copied;
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
