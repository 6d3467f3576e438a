// Page export: the PNG writer's depth, colour type, palette and pixel order
// read back with libpng and Qt, atomic saves, and the names and files of
// save-all over real page files.
#include "PageFixtures.h"
#include "sample/PageStore.h"
#include "viewer/PNGImage.h"
#include "viewer/PageExport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csetjmp>
#include <cstdio>
#include <png.h>

using namespace tz;
using namespace tz::test;

namespace {

struct PngHeader {
    bool ok = false;
    int width = 0, height = 0, bitDepth = 0, colourType = -1, interlace = -1, paletteEntries = 0;
};

PngHeader ReadHeader(const QString& path)
{
    PngHeader header;
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return header;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        png_uint_32 w = 0, h = 0;
        png_get_IHDR(png, info, &w, &h, &header.bitDepth, &header.colourType, &header.interlace, nullptr, nullptr);
        header.width = int(w);
        header.height = int(h);
        png_colorp palette = nullptr;
        if (png_get_PLTE(png, info, &palette, &header.paletteEntries) == 0)
            header.paletteEntries = 0;
        header.ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return header;
}

} // namespace

class TestPageExport : public QObject {
    Q_OBJECT
private slots:
    void table();
    void monochromePageIsOneBitGrey();
    void smoothedPageIsPalette();
    void truecolourKeepsRedAndBlue();
    void interlacedOnRequest();
    void failedSaveLeavesNoFile();
    void namesAndFormats();
    void saveAllBothTypes();
    void damagedPageSkipped();
};

void TestPageExport::table()
{
    QCOMPARE(PngLayoutOf(PixelFormat::Bits8, false), (PngLayout { 8, 3 }));
    QCOMPARE(PngLayoutOf(PixelFormat::Bits8, true), (PngLayout { 8, 0 }));
    QCOMPARE(PngLayoutOf(PixelFormat::Bits4, true), (PngLayout { 4, 0 }));
    QCOMPARE(PngLayoutOf(PixelFormat::Bits32, true), (PngLayout { 16, 0 }));
    QCOMPARE(PngLayoutOf(PixelFormat::Bits1, false), (PngLayout { 1, 0 }));
    QVERIFY(!PngLayoutOf(PixelFormat::Bits24, true));
    QVERIFY(PixelFormatOf(8, 6) == PixelFormat::Bits24);
    QVERIFY(PixelFormatOf(16, 4) == PixelFormat::Bits32);
    QVERIFY(PixelFormatOf(2, 0) == PixelFormat::Custom);
}

void TestPageExport::monochromePageIsOneBitGrey()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.png");
    TPNGImage png;
    png.Assign(MonoPage(QSize(37, 11)));
    QString error;
    QVERIFY2(png.SaveToFile(path, &error), qPrintable(error));
    const PngHeader header = ReadHeader(path);
    QVERIFY(header.ok);
    QCOMPARE(header.width, 37);
    QCOMPARE(header.height, 11);
    QCOMPARE(header.bitDepth, 1);
    QCOMPARE(header.colourType, 0);
    QCOMPARE(header.interlace, 0);
    const QImage back(path);
    QCOMPARE(qGray(back.pixel(0, 0)), 255); // paper stays white
    QCOMPARE(qGray(back.pixel(4, 3)), 0); // ink stays black, on its row
    QCOMPARE(qGray(back.pixel(4, 4)), 255);
}

void TestPageExport::smoothedPageIsPalette()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.png");
    TPNGImage png;
    png.Assign(GreyPage(QSize(20, 9)));
    QVERIFY(png.SaveToFile(path));
    const PngHeader header = ReadHeader(path);
    QCOMPARE(header.bitDepth, 8);
    QCOMPARE(header.colourType, 3);
    QCOMPARE(header.paletteEntries, 256);
    const QImage back(path);
    QCOMPARE(qGray(back.pixel(1, 1)), 40);
    QCOMPARE(qGray(back.pixel(2, 1)), 255);

    // A short palette gives as many entries as it has.
    QImage small(4, 4, QImage::Format_Indexed8);
    small.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    small.fill(1);
    png.Assign(small);
    QVERIFY(png.SaveToFile(path));
    QCOMPARE(ReadHeader(path).paletteEntries, 2);
}

void TestPageExport::truecolourKeepsRedAndBlue()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("colour.png");
    QImage image(3, 2, QImage::Format_RGB32); // a 24-bit BMP loads as 32-bit
    image.fill(qRgb(255, 0, 0));
    image.setPixel(2, 1, qRgb(0, 0, 255));
    TPNGImage png;
    png.Assign(image);
    QVERIFY(png.SaveToFile(path));
    const PngHeader header = ReadHeader(path);
    QCOMPARE(header.bitDepth, 8);
    QCOMPARE(header.colourType, 2);
    const QImage back(path);
    QCOMPARE(back.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(back.pixel(2, 1), qRgb(0, 0, 255));
}

void TestPageExport::interlacedOnRequest()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.png");
    TPNGImage png;
    png.SetInterlaced(true);
    png.Assign(MonoPage(QSize(40, 30)));
    QVERIFY(png.SaveToFile(path));
    QCOMPARE(ReadHeader(path).interlace, 1);
    QCOMPARE(qGray(QImage(path).pixel(3, 3)), 0);

    TPNGImage empty;
    QVERIFY(!empty.SaveToFile(dir.filePath("none.png")));
    QVERIFY(!QFile::exists(dir.filePath("none.png")));
}

void TestPageExport::failedSaveLeavesNoFile()
{
    // A folder that can't take the file (tests run as root, so a read-only
    // folder would still be written).
    QTemporaryDir dir;
    QFile blocker(dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TPNGImage png;
    for (const SaveFormat format : { SaveFormat::Png, SaveFormat::Bmp }) {
        QString error;
        const QString path = dir.filePath("blocker/page.img");
        QVERIFY(!SaveBitmapFile(MonoPage(QSize(8, 8)), path, format, png, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "blocker" }));
}

void TestPageExport::namesAndFormats()
{
    QCOMPARE(DefaultSuffixOf(kTypePng), QString("png"));
    QCOMPARE(DefaultSuffixOf(kTypeBmp), QString("bmp"));
    QCOMPARE(DefaultSuffixOf(kTypePdf), QString("pdf"));
    QCOMPARE(DefaultSuffixOf(4), QString("png"));
    QVERIFY(SaveFormatOf("/d/tzsm0001.PDF") == SaveFormat::Pdf);
    QVERIFY(SaveFormatOf("/d/x.Bmp") == SaveFormat::Bmp);
    QVERIFY(SaveFormatOf("/d/x.jpg") == SaveFormat::Png);
    QVERIFY(SaveFormatOf("/d/x") == SaveFormat::Png);
    QCOMPARE(SaveAllName("/d/tzsm", kTypeBmp, 3), QString("/d/tzsm0003.bmp"));
    QCOMPARE(SaveAllName("/d/sheet.bmp", kTypeBmp, 12), QString("/d/sheet.bmp0012.bmp"));
    QCOMPARE(SaveAllName("/d/anything.png", kTypePng, 2), QString("/d/tzsm0002.png"));
    QCOMPARE(SaveAllName("/d/tzsm", 3, 1), QString("/d/tzsm0001.png"));
}

void TestPageExport::saveAllBothTypes()
{
    QTemporaryDir work;
    QTemporaryDir out;
    QVERIFY(StorePageFile(work.path(), 1, MonoPage(QSize(30, 20))));
    QVERIFY(StorePageFile(work.path(), 2, GreyPage(QSize(30, 20))));
    TPNGImage png;
    QString error;
    QVERIFY(SaveAllPages(work.path(), 2, out.filePath("tzsm"), kTypeBmp, png, &error));
    QVERIFY(SaveAllPages(work.path(), 2, out.filePath("typed name"), kTypePng, png, &error));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files),
        QStringList({ "tzsm0001.bmp", "tzsm0001.png", "tzsm0002.bmp", "tzsm0002.png" }));
    QCOMPARE(QImage(out.filePath("tzsm0001.bmp")).format(), QImage::Format_Mono);
    QCOMPARE(ReadHeader(out.filePath("tzsm0001.png")).bitDepth, 1);
    QCOMPARE(ReadHeader(out.filePath("tzsm0002.png")).colourType, 3);
    // The work folder keeps only its page files.
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList({ "0001.tzg", "0002.tzg" }));

    QTemporaryDir none;
    QVERIFY(SaveAllPages(work.path(), 0, none.filePath("tzsm"), kTypePng, png, &error));
    QVERIFY(QDir(none.path()).entryList(QDir::Files).isEmpty());
}

void TestPageExport::damagedPageSkipped()
{
    QTemporaryDir work;
    QTemporaryDir out;
    QVERIFY(StorePageFile(work.path(), 1, MonoPage(QSize(30, 20))));
    QVERIFY(StorePageFile(work.path(), 3, MonoPage(QSize(30, 20))));
    QFile damaged(PageFilePath(work.path(), 3));
    QVERIFY(damaged.open(QIODevice::ReadWrite));
    damaged.resize(damaged.size() / 2);
    damaged.close();
    QVERIFY(LoadPage(work.path(), 2).isNull());
    QVERIFY(LoadPage(work.path(), 3).isNull());
    QVERIFY(!LoadPage(work.path(), 1).isNull());
    TPNGImage png;
    QVERIFY(SaveAllPages(work.path(), 3, out.filePath("tzsm"), kTypePng, png, nullptr));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList({ "tzsm0001.png" }));
    QVERIFY(SaveAllPages(work.path(), 3, out.filePath("tzsm"), kTypeBmp, png, nullptr));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList({ "tzsm0001.bmp", "tzsm0001.png" }));
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList({ "0001.tzg", "0003.tzg" }));
}

QTEST_GUILESS_MAIN(TestPageExport)
#include "test_page_export.moc"
