#include "pagesetup/PageSetup.h"

#include "pagesetup/PageSetupLog.h"
#include "platform/Text.h"
#include "settings/SettingsStore.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcPageSetup, "typoscan.pagesetup")

namespace tz {

namespace {

    constexpr double kInchesPerCentimetre = 0.39370078740157477;
    // A margin that is exactly as wide as the border must pass even when the
    // product of centimetres and resolution comes out a hair below it.
    constexpr double kPixelTolerance = 1e-6;
    // Absorbs the representation error of one-decimal values before truncating.
    constexpr double kDecimalTolerance = 1e-9;
    // No sheet is this wide; larger texts are treated as not a number.
    constexpr double kLargestMargin = 100000.0;
    constexpr int kLargestStoredMargin = 999; // 99.9 cm, what the margin fields hold

    const char16_t* const kSideWords[] = { u"左", u"上", u"右", u"下" };

    QString SettingKey(int slot) { return QStringLiteral("Common\\Settings\\Set%1").arg(slot + 1); }

    // The text cut at a character boundary to at most maxBytes in CP932 (UTF-8
    // for characters CP932 lacks), the size of the stored field.
    QString FitToBytes(const QString& text, int maxBytes)
    {
        if (const auto whole = EncodeCp932(text); whole && whole->size() <= maxBytes)
            return text;
        qsizetype end = 0;
        int used = 0;
        while (end < text.size()) {
            const qsizetype width = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
            const QString character = text.mid(end, width);
            const auto encoded = EncodeCp932(character);
            const int bytes = static_cast<int>(encoded ? encoded->size() : character.toUtf8().size());
            if (maxBytes - used < bytes)
                break;
            used += bytes;
            end += width;
        }
        qCInfo(lcPageSetup) << "stored name longer than" << maxBytes << "bytes cut to" << text.left(end);
        return text.left(end);
    }

    bool InRange(const PageSetup& s)
    {
        const auto marginOk = [](int mm) { return mm >= 0 && mm <= kLargestStoredMargin; };
        return s.binding >= kBindNone && s.binding <= kBindLeft && (s.orientation == kPortrait || s.orientation == kLandscape)
            && marginOk(s.marginLeft) && marginOk(s.marginTop) && marginOk(s.marginRight) && marginOk(s.marginBottom);
    }

    MarginTexts MarginTextsOf(const PageSetup& s)
    {
        return { FormatMargin(s.marginLeft), FormatMargin(s.marginTop), FormatMargin(s.marginRight),
            FormatMargin(s.marginBottom) };
    }

    QString NotANumberMessage(const QString& text)
    {
        return QStringLiteral("'%1' は正しい数値ではありません").arg(text);
    }

} // namespace

QString FormatMargin(int millimetres) { return QString::asprintf("%2.1f", millimetres * 0.1); }

void ToAsciiDigits(QString& text)
{
    for (QChar& c : text) {
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c == QChar(0xFF0E))
            c = u'.';
    }
}

std::optional<double> ParseMargin(const QString& text)
{
    QString ascii = text.trimmed();
    ToAsciiDigits(ascii);
    bool ok = false;
    const double value = QLocale::c().toDouble(ascii, &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) >= kLargestMargin)
        return std::nullopt;
    return value;
}

int MarginMillimetres(double centimetres)
{
    return static_cast<int>(std::trunc(centimetres * 10.0 + std::copysign(kDecimalTolerance, centimetres)));
}

PageSetupList::PageSetupList(PrinterAccess& printers)
    : printers_(printers)
{
    for (int slot = 0; slot < kSlots; ++slot)
        settings_[slot] = DefaultSetting(slot);
    appliedOrientation_ = settings_[0].orientation;
    appliedMargins_ = MarginTextsOf(settings_[0]);
}

PageSetup PageSetupList::DefaultSetting(int slot) const
{
    PageSetup s;
    s.name = QStringLiteral("ページ設定 %1").arg(slot + 1);
    if (printers_.Installed()) {
        s.orientation = kPortrait;
        s.printer = FitToBytes(printers_.CurrentName(), kPrinterBytes);
        s.paper = printers_.PaperCode();
    } else {
        s.orientation = kLandscape;
        s.printer.clear();
        s.paper = kPaperA4;
    }
    return s;
}

namespace {

// The stored values of one setting, in the order they are read and written.
template <class Field> void ForEachStoredField(PageSetup& s, Field field)
{
    field(QStringLiteral("Name"), s.name);
    field(QStringLiteral("Bind"), s.binding);
    field(QStringLiteral("Orientation"), s.orientation);
    field(QStringLiteral("PRT"), s.printer);
    field(QStringLiteral("Size"), s.paper);
    field(QStringLiteral("MarginL"), s.marginLeft);
    field(QStringLiteral("MarginT"), s.marginTop);
    field(QStringLiteral("MarginR"), s.marginRight);
    field(QStringLiteral("MarginB"), s.marginBottom);
}

} // namespace

void PageSetupList::Load(SettingsStore& store)
{
    int index = 0;
    SettingsGroup(store, QStringLiteral("Common\\Settings")).Read(QStringLiteral("index"), index);
    if (index < 0 || index >= kSlots) {
        qCInfo(lcPageSetup) << "stored current setting" << index << "out of range; using the first";
        index = 0;
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        const PageSetup defaults = DefaultSetting(slot);
        PageSetup s = defaults;
        SettingsGroup group(store, SettingKey(slot));
        ForEachStoredField(s, [&group](const QString& name, auto& value) { group.Read(name, value); });
        if (!group.Ok() || !InRange(s)) {
            if (group.Ok())
                qCInfo(lcPageSetup) << "stored setting" << slot + 1 << "holds values out of range; using the defaults";
            settings_[slot] = defaults;
            continue;
        }
        s.name = s.name.trimmed().isEmpty() ? defaults.name : FitToBytes(s.name, kNameBytes);
        s.printer = FitToBytes(s.printer, kPrinterBytes);
        settings_[slot] = s;
    }
    current_ = index;
    Select(current_);
    PutInForce(CurrentSetting().orientation, MarginTextsOf(CurrentSetting()));
}

void PageSetupList::Save(SettingsStore& store) const
{
    SettingsGroup(store, QStringLiteral("Common\\Settings")).Write(QStringLiteral("index"), current_);
    for (int slot = 0; slot < kSlots; ++slot) {
        PageSetup s = settings_[slot];
        SettingsGroup group(store, SettingKey(slot));
        ForEachStoredField(s, [&group](const QString& name, const auto& value) { group.Write(name, value); });
    }
}

std::array<int, 4> PageSetupList::AppliedMarginHundredths() const
{
    std::array<int, 4> hundredths {};
    for (int side = kSideLeft; side <= kSideBottom; ++side) {
        const double cm = ParseMargin(appliedMargins_[side]).value_or(0.0);
        hundredths[side] = static_cast<int>(std::trunc(cm * 100.0 + std::copysign(kDecimalTolerance, cm)));
    }
    return hundredths;
}

void PageSetupList::Select(int slot) { PushIntoPrinter(slot); }

void PageSetupList::PushIntoPrinter(int slot)
{
    if (!printers_.Installed())
        return;
    const PageSetup& s = settings_.at(slot);
    if (!printers_.PrinterNames().contains(s.printer)) {
        qCInfo(lcPageSetup) << "printer" << s.printer << "of setting" << slot + 1 << "is not installed";
        return;
    }
    printers_.MakeCurrent(s.printer);
    printers_.SetPaperCode(s.paper);
    printers_.SetOrientation(s.orientation);
}

PageGeometry PageSetupList::PrinterGeometry(int orientation) const
{
    PageGeometry geometry;
    ReadPrinterMetrics(geometry, printers_.CurrentMetrics(), orientation);
    return geometry;
}

ApplyResult PageSetupList::Apply(int slot, int orientation, int binding, const MarginTexts& margins)
{
    const DeviceFrame p = PrinterGeometry(orientation).P;
    const std::array<int, 4> borders { p.leftOffset, p.topOffset, p.rightEdge, p.bottomEdge };
    const std::array<int, 4> resolutions { p.resolutionX, p.resolutionY, p.resolutionX, p.resolutionY };
    std::array<double, 4> centimetres {};
    for (int side = kSideLeft; side <= kSideBottom; ++side) {
        const auto value = ParseMargin(margins[side]);
        if (!value)
            return { false, side, NotANumberMessage(margins[side]) };
        centimetres[side] = *value;
    }
    for (int side = kSideLeft; side <= kSideBottom; ++side) {
        const double pixels = centimetres[side] * resolutions[side] * kInchesPerCentimetre;
        if (pixels < borders[side] - kPixelTolerance)
            return { false, side, QString::fromUtf16(kSideWords[side]) + QStringLiteral("マージンを広くとってください") };
    }

    PutInForce(orientation, margins);
    current_ = slot;
    PageSetup& s = settings_.at(slot);
    if (printers_.Installed()) {
        s.printer = FitToBytes(printers_.CurrentName(), kPrinterBytes);
        s.paper = printers_.PaperCode();
    } else {
        s.printer.clear();
        s.paper = kPaperA4;
    }
    s.binding = binding;
    s.orientation = orientation;
    s.marginLeft = MarginMillimetres(centimetres[kSideLeft]);
    s.marginTop = MarginMillimetres(centimetres[kSideTop]);
    s.marginRight = MarginMillimetres(centimetres[kSideRight]);
    s.marginBottom = MarginMillimetres(centimetres[kSideBottom]);
    return {};
}

void PageSetupList::PutInForce(int orientation, const MarginTexts& margins)
{
    appliedMargins_ = margins;
    appliedOrientation_ = orientation;
    if (printers_.Installed())
        printers_.SetOrientation(orientation);
}

void PageSetupList::Rename(int slot, const QString& name) { settings_.at(slot).name = FitToBytes(name, kNameBytes); }

MarginTexts PageSetupList::MaximumMargins(int orientation) const
{
    const DeviceFrame p = PrinterGeometry(orientation).P;
    const auto smallest = [](int border, int resolution) {
        return FormatMargin(MarginMillimetres(border * 2.54 / resolution + 0.1));
    };
    return { smallest(p.leftOffset, p.resolutionX), smallest(p.topOffset, p.resolutionY),
        smallest(p.rightEdge, p.resolutionX), smallest(p.bottomEdge, p.resolutionY) };
}

QString PageSetupList::PaperName() const
{
    if (!printers_.Installed())
        return QStringLiteral("A4 [210 x 297mm]");
    const int code = printers_.PaperCode();
    for (const PaperEntry& paper : printers_.Papers()) {
        if (paper.code == code)
            return paper.name;
    }
    return {};
}

QSizeF PageSetupList::PaperMillimetres() const
{
    const DeviceFrame p = PrinterGeometry(kPortrait).P;
    const double width = p.paperWidth * 25.4 / p.resolutionX;
    const double height = p.paperHeight * 25.4 / p.resolutionY;
    return { std::min(width, height), std::max(width, height) };
}

} // namespace tz
