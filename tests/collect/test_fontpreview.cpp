#include "../fontfile/FontfileTestFiles.h"
#include "ArchiveZipWriter.h"
#include "DialogHelpers.h"
#include "SettingsPrivateFonts.h"
#include "SfntWriter.h"
#include "WebFontWriter.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "collect/FontPreview.h"
#include "collect/FontPreviewPanel.h"
#include "fontfile/OwnFace.h"
#include "fontfile/SystemFonts.h"
#include "sample/PageFont.h"
#include "settings/EnvironmentSettings.h"
#include "settings/SampleTextDialog.h"
#include "settings/SampleTextSet.h"
#include "settings/SettingsStore.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QRawFont>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

const QString kIpaGothic = QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
const QString kOpenSymbol = QStringLiteral("/usr/share/fonts/truetype/libreoffice/opens___.ttf");
const QString kSymbolText = QStringLiteral("\u2200\u2203\u2208\u221E");

// The glyphs of an installed font under the family (and full) name given.
QByteArray Renamed(const QString& glyphsFrom, const QString& family)
{
    return WithNameTable(ReadTestFile(glyphsFrom),
        NameTable({ WindowsName(1, family), WindowsName(2, "Regular"), WindowsName(4, family),
            WindowsName(6, QString(family).remove(u' ')) }));
}

enum class Layout { TwoLines, CentredAscii, CentredSymbol };

QImage WhiteCanvas(int dpi = 96)
{
    QImage image(FontPreviewPanel::kImageSize, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// What the panel must show: the lines laid out in the glyphs of fontData at
// 48 points of the canvas's resolution.
QImage Expected(const QByteArray& fontData, Layout layout, const SampleTextSet& texts)
{
    QImage image = WhiteCanvas();
    const int pixels = PixelSizeOfPoints(FontPreview::kSamplePoints, 96);
    const PageFont font = PageFont::Own(QRawFont(fontData, pixels), pixels);
    const int centred = std::max((image.height() - font.Height()) / 2, 0);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::black);
    switch (layout) {
    case Layout::TwoLines:
        font.Draw(painter, 0, 0, texts.EffectiveText(kShiftJisClass));
        font.Draw(painter, 0, font.Height() + 2, texts.EffectiveText(kAsciiClass));
        break;
    case Layout::CentredAscii:
        font.Draw(painter, 0, centred, texts.EffectiveText(kAsciiClass));
        break;
    case Layout::CentredSymbol:
        font.Draw(painter, 0, centred, texts.EffectiveText(kSymbolClass));
        break;
    }
    return image;
}

bool IsBlank(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (qGray(line[x]) != 255)
                return false;
        }
    }
    return true;
}

// Rows holding ink, as the first and one past the last.
std::pair<int, int> InkRows(const QImage& image)
{
    int first = -1, end = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                first = first < 0 ? y : first;
                end = y + 1;
                break;
            }
        }
    }
    return { first, end };
}

// The file view the dialog shows (the detail view unless in list mode).
QAbstractItemView* FileView(const QFileDialog& dialog)
{
    return dialog.findChild<QAbstractItemView*>(
        dialog.viewMode() == QFileDialog::Detail ? QStringLiteral("treeView") : QStringLiteral("listView"));
}

// Makes the file of that name the current one of the dialog's file view, as a
// click does; false while the folder is still being read.
bool MakeCurrent(QAbstractItemView* list, const QString& name)
{
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, list->rootIndex());
        if (index.data().toString() == name) {
            list->setFocus();
            list->setCurrentIndex(index);
            return true;
        }
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Layout)

// The add dialog's font preview, offscreen: what is drawn for Japanese, Latin
// and symbol fonts in their own glyphs, which files stay blank, fonts made
// available only while drawing, and the panel in the add dialog.
class FontPreviewTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    SampleTextSet texts_;

    QString Write(const QString& name, const QByteArray& bytes) { return WriteTestFile(dir_, name, bytes); }

private slots:
    void initTestCase()
    {
        texts_.Entry(kSymbolClass) = { false, kSymbolText, {} };
        Write("gothic.ttf", Renamed(kIpaGothic, "Zindel Preview Gothic"));
        Write("latin.ttf", Renamed(kDejaVuSans, "Zindel Preview Sans"));
        Write("symbol.ttf", Renamed(kOpenSymbol, "Zindel Preview Symbol"));
        // Every name of the installed DejaVu Sans, the glyphs of IPA Gothic.
        Write("twin.ttf", Renamed(kIpaGothic, "DejaVu Sans"));
    }

    void drawsTheSampleOfEachCharset_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("family");
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QImage>("other"); // a drawing it must not be
        const auto other
            = [this](const QString& path, Layout layout) { return Expected(ReadTestFile(path), layout, texts_); };
        QTest::newRow("japanese: two lines")
            << "gothic.ttf"
            << "Zindel Preview Gothic" << Layout::TwoLines << other(dir_.filePath("gothic.ttf"), Layout::CentredAscii);
        QTest::newRow("latin: one centred line")
            << "latin.ttf"
            << "Zindel Preview Sans" << Layout::CentredAscii << other(kIpaGothic, Layout::CentredAscii);
        QTest::newRow("symbol: the symbol text")
            << "symbol.ttf"
            << "Zindel Preview Symbol" << Layout::CentredSymbol << other(kOpenSymbol, Layout::CentredAscii);
        // The installed DejaVu Sans decides the character set, but its glyphs
        // never stand in for the file's own.
        QTest::newRow("same names as an installed font")
            << "twin.ttf"
            << "DejaVu Sans" << Layout::CentredAscii << other(kDejaVuSans, Layout::CentredAscii);
    }

    void drawsTheSampleOfEachCharset()
    {
        QFETCH(QString, file);
        QFETCH(QString, family);
        QFETCH(Layout, layout);
        QFETCH(QImage, other);
        const FontPreview preview;
        const qsizetype styles = EnumerateFontStyles(family).size();
        QImage canvas = WhiteCanvas();
        QCOMPARE(preview.Draw(canvas, dir_.filePath(file), texts_), family);
        const QImage expected = Expected(ReadTestFile(dir_.filePath(file)), layout, texts_);
        QVERIFY(!IsBlank(expected));
        QCOMPARE(canvas, expected);
        QVERIFY(canvas != other);
        QCOMPARE(EnumerateFontStyles(family).size(), styles); // withdrawn again
    }

    // With the wider formats a WOFF draws as its TrueType twin (decoded once,
    // to make it available) and is withdrawn again.
    void webFontDrawsAsItsTwin()
    {
        const QByteArray gothic = ReadTestFile(dir_.filePath("gothic.ttf"));
        const QString path = Write("gothic.woff", WoffOf(gothic));
        const FontPreview preview(FontFormats::All);
        QImage canvas = WhiteCanvas();
        QCOMPARE(preview.Draw(canvas, path, texts_), QStringLiteral("Zindel Preview Gothic"));
        QCOMPARE(canvas, Expected(gothic, Layout::TwoLines, texts_));
        QVERIFY(EnumerateFontStyles(QStringLiteral("Zindel Preview Gothic"), FontFormats::All).isEmpty());
    }

    void linesSitWhereDesigned()
    {
        const FontPreview preview;
        const int pixels = PixelSizeOfPoints(FontPreview::kSamplePoints, 96);
        const int height = PageFont::Own(QRawFont(ReadTestFile(kIpaGothic), pixels), pixels).Height();
        QImage canvas = WhiteCanvas();
        preview.Draw(canvas, dir_.filePath("gothic.ttf"), texts_);
        // The second line starts 2 pixels below the first one's height.
        const auto [firstTop, firstEnd] = InkRows(canvas.copy(0, 0, canvas.width(), height + 2));
        const auto [secondTop, secondEnd] = InkRows(canvas.copy(0, height + 2, canvas.width(), height));
        QVERIFY(firstTop >= 0 && firstEnd <= height);
        QVERIFY(secondTop >= 0);
        QCOMPARE(InkRows(canvas).second, height + 2 + secondEnd);

        canvas = WhiteCanvas();
        preview.Draw(canvas, dir_.filePath("latin.ttf"), texts_);
        const PageFont latin = PageFont::Own(QRawFont(ReadTestFile(kDejaVuSans), pixels), pixels);
        const int top = (canvas.height() - latin.Height()) / 2;
        const auto [inkTop, inkEnd] = InkRows(canvas);
        QVERIFY(inkTop >= top && inkEnd <= top + latin.Height());
        QVERIFY(inkTop > 0 && inkEnd < canvas.height()); // one line, clear of both edges
    }

    void onlyFontsNotInstalledAreMadeAvailable()
    {
        const FontPreview preview;
        QSignalSpy changes(qApp, &QGuiApplication::fontDatabaseChanged);
        QImage canvas = WhiteCanvas();
        QCOMPARE(preview.Draw(canvas, kDejaVuSans, texts_), QStringLiteral("DejaVu Sans"));
        QCOMPARE(canvas, Expected(ReadTestFile(kDejaVuSans), Layout::CentredAscii, texts_));
        QCOMPARE(changes.count(), 0);

        preview.Draw(canvas, dir_.filePath("latin.ttf"), texts_);
        QCOMPARE(changes.count(), 2); // added, then withdrawn
        QVERIFY(EnumerateFontStyles(QStringLiteral("Zindel Preview Sans")).isEmpty());
        QVERIFY(!QFontDatabase::families().contains(QStringLiteral("Zindel Preview Sans")));
    }

    void collectionShowsItsFirstFace()
    {
        const QString path = Write("pair.ttc",
            BuildCollection({ { WindowsName(1, "First Family"), WindowsName(4, "First Face") },
                { WindowsName(1, "Second Family"), WindowsName(4, "Second Face") } }));
        const FontPreview preview;
        QImage canvas = WhiteCanvas();
        QCOMPARE(preview.Draw(canvas, path, texts_), QStringLiteral("First Family"));
        QVERIFY(IsBlank(canvas)); // names only: no glyphs of its own to draw
    }

    void filesThatAreNoFontsStayBlank_data()
    {
        QTest::addColumn<QString>("path");
        const QByteArray font = ReadTestFile(dir_.filePath("latin.ttf"));
        QTest::newRow("zip") << GeneratedZip(dir_.path(), "fonts.zip", { { "LATIN.TTF", font, false, true } });
        QTest::newRow("exe") << Write("setup.exe", "MZ" + QByteArray(126, '\0') + font);
        QTest::newRow("macbinary") << Write(
            "mac.bin", BuildMacBinary(MacBinarySpec { .font = font, .dataFork = {}, .resourceForkLength = {} }));
        QTest::newRow("text") << Write("notes.ttf", "not a font");
        QTest::newRow("missing") << dir_.filePath("missing.ttf");
        QTest::newRow("folder") << dir_.path();
        QTest::newRow("empty path") << QString();
    }

    void filesThatAreNoFontsStayBlank()
    {
        QFETCH(QString, path);
        const FontPreview preview;
        QImage canvas = WhiteCanvas();
        preview.Draw(canvas, dir_.filePath("latin.ttf"), texts_);
        QCOMPARE(preview.Draw(canvas, path, texts_), QString());
        QVERIFY(IsBlank(canvas));
    }

    void checkBoxAndCurrentFileDriveThePanel()
    {
        QTemporaryDir folder;
        QFile::copy(dir_.filePath("gothic.ttf"), folder.filePath("a-gothic.ttf"));
        QFile::copy(dir_.filePath("latin.ttf"), folder.filePath("b-latin.ttf"));
        QFileDialog dialog(nullptr, QString(), folder.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* panel = new FontPreviewPanel(dialog, texts_);
        dialog.show();
        auto* box = panel->findChild<QCheckBox*>("chkEnablePreview");
        auto* image = panel->findChild<QLabel*>("Image1");
        auto* label = panel->findChild<QLabel*>("lblFaceName");
        QAbstractItemView* list = FileView(dialog);
        QVERIFY(box && image && label && list);
        QCOMPARE(image->size(), FontPreviewPanel::kImageSize);
        // At the right edge, beside the system part of the dialog.
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(panel->geometry().right() >= dialog.width() - 20 && panel->x() > dialog.width() / 2);

        // Sorted by name once the folder is read.
        QTRY_COMPARE(list->model()->index(1, 0, list->rootIndex()).data().toString(), QStringLiteral("b-latin.ttf"));
        QVERIFY(MakeCurrent(list, "a-gothic.ttf"));
        QVERIFY(!box->isChecked());
        QVERIFY(IsBlank(image->pixmap().toImage()));
        QCOMPARE(label->text(), QString());

        box->click();
        QCOMPARE(label->text(), QStringLiteral("Zindel Preview Gothic"));
        QCOMPARE(
            image->pixmap().toImage(), Expected(ReadTestFile(dir_.filePath("gothic.ttf")), Layout::TwoLines, texts_));

        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(label->text(), QStringLiteral("Zindel Preview Sans"));
        QCOMPARE(image->pixmap().toImage(),
            Expected(ReadTestFile(dir_.filePath("latin.ttf")), Layout::CentredAscii, texts_));

        box->click();
        QVERIFY(IsBlank(image->pixmap().toImage()));
        QCOMPARE(label->text(), QString());
    }

    void addDialogCarriesAFreshPanel()
    {
        // The Japanese layout does not follow the sheets' "Ascii line too" option.
        {
            EnvironmentSettings environment;
            environment.sjisAlsoAscii = false;
            SettingsStore store;
            environment.Save(store);
        }
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        int opened = 0;
        ModalWatcher watcher([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog)
                return;
            ++opened;
            const auto close = qScopeGuard([dialog] { dialog->reject(); });
            auto* box = dialog->findChild<QCheckBox*>("chkEnablePreview");
            QVERIFY(dialog->findChild<QWidget*>("TForm12"));
            QVERIFY(box && !box->isChecked());
            box->click();
            dialog->setDirectory(dir_.path());
            QAbstractItemView* list = FileView(*dialog);
            QTRY_VERIFY(MakeCurrent(list, "gothic.ttf"));
            QCOMPARE(dialog->findChild<QLabel*>("lblFaceName")->text(), QStringLiteral("Zindel Preview Gothic"));
            QCOMPARE(dialog->findChild<QLabel*>("Image1")->pixmap().toImage(),
                Expected(ReadTestFile(dir_.filePath("gothic.ttf")), Layout::TwoLines, windows.SampleTexts->Texts()));
        });
        main->fmnAddClick();
        main->fmnAddClick();
        QCOMPARE(opened, 2);
    }
};

QTEST_MAIN(FontPreviewTest)
#include "test_fontpreview.moc"
