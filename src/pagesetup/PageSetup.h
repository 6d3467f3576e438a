#pragma once
// The four named page settings: paper, orientation, binding and margins, one
// of them current. Margins are kept in whole millimetres and shown in
// centimetres with one decimal. Selecting a setting pushes its printer, paper
// and orientation into the system printer; applying validates the margins
// against the printer's unprintable borders and makes the setting current.
#include "page/PageGeometry.h"
#include "page/PrinterAccess.h"

#include <QSizeF>
#include <QString>
#include <array>
#include <optional>

namespace tz {

class SettingsStore;

struct PageSetup {
    QString name; // at most kNameBytes
    int binding = kBindNone; // kBindNone, kBindTop, kBindLeft
    int orientation = kPortrait;
    QString printer; // empty when no printer was installed; at most kPrinterBytes
    int paper = kPaperA4; // the driver's paper code
    int marginLeft = 35; // millimetres
    int marginTop = 25;
    int marginRight = 13;
    int marginBottom = 35;
    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// Margin sides in the order of the applied margins and of the validation.
enum MarginSide { kSideLeft, kSideTop, kSideRight, kSideBottom };
// Margin texts in centimetres ("3.5"), left, top, right, bottom.
using MarginTexts = std::array<QString, 4>;

// Full-width digits and the full-width full stop become ASCII.
void ToAsciiDigits(QString& text);
// "%2.1f" of millimetres × 0.1.
QString FormatMargin(int millimetres);
// A margin text as centimetres (full-width digits accepted); nothing when it is
// empty, not a number or beyond any sheet.
std::optional<double> ParseMargin(const QString& text);
// Whole millimetres of a centimetre value, truncated toward zero.
int MarginMillimetres(double centimetres);

struct ApplyResult {
    bool ok = true;
    int side = -1; // the MarginSide that failed
    QString message; // the message to show for the failure
};

class PageSetupList {
public:
    static constexpr int kSlots = 4;
    static constexpr int kNameBytes = 63;
    static constexpr int kPrinterBytes = 259;

    // Four default settings; nothing is read until Load.
    explicit PageSetupList(PrinterAccess& printers);

    // Reads the current index and the four settings, selects the current one
    // and puts its orientation and margins in force.
    void Load(SettingsStore& store);
    void Save(SettingsStore& store) const;

    const PageSetup& Setting(int slot) const { return settings_.at(slot); }
    int Current() const { return current_; }
    const PageSetup& CurrentSetting() const { return settings_.at(current_); }
    int AppliedOrientation() const { return appliedOrientation_; }
    const MarginTexts& AppliedMargins() const { return appliedMargins_; }
    // The applied margins in hundredths of a centimetre, left, top, right, bottom,
    // as ApplyMargins takes them.
    std::array<int, 4> AppliedMarginHundredths() const;

    // Makes the slot the one being edited and pushes its printer, paper and
    // orientation into the system printer.
    void Select(int slot);
    // Makes the slot's printer current with the slot's paper and orientation,
    // when that printer is installed.
    void PushIntoPrinter(int slot);
    // Validates the margins against the current printer; on success the slot
    // becomes current and takes the values. Nothing changes on failure.
    ApplyResult Apply(int slot, int orientation, int binding, const MarginTexts& margins);
    void Rename(int slot, const QString& name);

    // The smallest margins the printer allows for the orientation, as texts.
    MarginTexts MaximumMargins(int orientation) const;
    // Name of the current printer's paper; "A4 [210 x 297mm]" without printers.
    QString PaperName() const;
    // The current printer's sheet (the fixed A4 sheet without printers) in
    // millimetres, as width and height of the portrait sheet.
    QSizeF PaperMillimetres() const;

    PrinterAccess& Printers() const { return printers_; }

private:
    PageSetup DefaultSetting(int slot) const;
    // The printer page geometry of the current printer, or the fallback for the orientation.
    PageGeometry PrinterGeometry(int orientation) const;
    void PutInForce(int orientation, const MarginTexts& margins);

    PrinterAccess& printers_;
    std::array<PageSetup, kSlots> settings_;
    int current_ = 0;
    int appliedOrientation_ = kPortrait;
    MarginTexts appliedMargins_;
};

} // namespace tz
