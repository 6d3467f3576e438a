#pragma once
// The page setup dialog ("用紙設定"): chooses one of the four named page
// settings, renames it, and edits binding, orientation, margins and printer.
// It owns the page setup list: loads it when created, saves it when
// destroyed. OK and "適用(&A)" validate and apply; every close restores the
// controls from the applied state.
#include "pagesetup/PageSetup.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tz {

class MarginField;
class PaperDiagram;
class SetupNameDialog;

class PageSetupDialog : public QDialog {
    Q_OBJECT
public:
    // The printer's own settings dialog, shown by "プリンタ(&P)...".
    using PrinterSetup = std::function<void(QWidget* parent)>;
    // printers: the system printers the settings are made for.
    PageSetupDialog(PrinterAccess& printers, PrinterSetup printerSetup, QWidget* parent = nullptr);
    ~PageSetupDialog() override;

    // The page settings as applied: what the generation run reads.
    const PageSetupList& Settings() const { return list_; }
    // Puts the current setting's printer, paper and orientation into the
    // system printer, which the print dialog and every run start from.
    void PutSettingIntoPrinter() { list_.PushIntoPrinter(list_.Current()); }
    // The name window to use for renaming (the program's TForm14); without
    // one the dialog makes its own on first use.
    void SetNameWindow(SetupNameDialog* window) { nameWindow_ = window; }

    void done(int result) override;

private:
    QWidget* BuildSummaryPage();
    QWidget* BuildPaperPage();
    QWidget* BuildMarginPage();

    void cmbSpeedSetting1Change(int slot);
    void Button2Click();
    void rbtnPaperOrientationClick(int orientation);
    void rbtnBindClick(int id);
    void Button1Click();
    void btnPrinterSettingClick();
    void btnApplyClick();

    bool ApplyEdits();
    void Restore();
    void RefreshSummary();
    void ShowOrientation(int orientation);
    void ShowBinding(int binding);
    void ShowMargins(const MarginTexts& margins);
    int SelectedOrientation() const;
    int SelectedBinding() const;
    MarginTexts FieldTexts() const;
    void EnableApply() const;

    PageSetupList list_;
    PrinterSetup printerSetup_;
    SetupNameDialog* nameWindow_ = nullptr;

    QComboBox* cmbSpeedSetting1_;
    QTabWidget* pgcSetup_;
    QWidget* tabSummary_ = nullptr;
    QWidget* tabMargin_ = nullptr;
    QLabel* lblPrinter_ = nullptr;
    QLabel* lblPaperSize_ = nullptr;
    QLabel* lblOrientation_ = nullptr;
    QLabel* lblBinding_ = nullptr;
    std::array<QLabel*, 4> lblMargins_ {}; // left, top, right, bottom
    QButtonGroup* bindingGroup_ = nullptr;
    QButtonGroup* orientationGroup_ = nullptr;
    QLabel* imgOrientation_ = nullptr;
    QPushButton* btnPrinterSetting_ = nullptr;
    std::array<MarginField*, 4> fields_ {}; // left, top, right, bottom
    PaperDiagram* diagram_ = nullptr;
    QPushButton* Button1_ = nullptr;
    QPushButton* btnCancel_;
    QPushButton* btnApply_;
};

} // namespace tz
