#pragma once
// The system printers as the page setup and the page geometry see them: the
// list of installed printers, the current printer with its paper and
// orientation, the driver's paper list and the device capabilities. The
// program reads them through Qt's print support; tests describe printers of
// their own.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tz {

// Device capabilities of a printer in its own pixels, for its current paper
// and orientation.
struct PrinterMetrics {
    int resolutionX = 0; // pixels per inch
    int resolutionY = 0;
    int paperWidth = 0; // the whole sheet
    int paperHeight = 0;
    int printableWidth = 0;
    int printableHeight = 0;
    int leftOffset = 0; // unprintable strip at the left edge
    int topOffset = 0; // unprintable strip at the top edge
};

// One paper size the driver offers: its paper code (1 Letter, 9 A4, ...) and name.
struct PaperEntry {
    int code = 0;
    QString name;
};

inline constexpr int kPaperA4 = 9;
inline constexpr int kPortrait = 0;
inline constexpr int kLandscape = 1;

class PrinterAccess {
public:
    virtual ~PrinterAccess() = default;

    // Names of the installed printers, in the system's order; empty when none is installed.
    virtual QStringList PrinterNames() const = 0;
    virtual QString CurrentName() const = 0;
    // The printer made current is on its own default paper.
    virtual void MakeCurrent(const QString& name) = 0;
    // Paper code and orientation (kPortrait, kLandscape) of the current printer.
    virtual int PaperCode() const = 0;
    virtual void SetPaperCode(int code) = 0;
    virtual int Orientation() const = 0;
    virtual void SetOrientation(int orientation) = 0;
    virtual QList<PaperEntry> Papers() const = 0;
    virtual PrinterMetrics Metrics() const = 0;

    bool Installed() const { return !PrinterNames().isEmpty(); }
    // The current printer's capabilities, or nothing when no printer is installed.
    std::optional<PrinterMetrics> CurrentMetrics() const
    {
        if (!Installed())
            return std::nullopt;
        return Metrics();
    }
};

} // namespace tz
