#pragma once
// The sample text dialog "見本文章設定" (TForm4). It owns the accepted
// SampleTextSet: loaded from the store when the dialog is created, written back
// when it is destroyed, changed only by OK.
#include "settings/SampleTextSet.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tz {

class SampleTextDialog : public QDialog {
    Q_OBJECT
public:
    explicit SampleTextDialog(QWidget* parent = nullptr);
    ~SampleTextDialog() override;

    const SampleTextSet& Texts() const { return texts_; }

    // Every close ends here: OK accepts the controls and updates the
    // histories; any close then sets the controls back from the accepted set.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct ClassPage {
        QRadioButton* standard = nullptr;
        QLineEdit* standardText = nullptr;
        QRadioButton* custom = nullptr;
        QComboBox* text = nullptr;
    };

    QWidget* BuildPage(int sampleClass);
    void TakeSnapshot();
    void Restore();

    SampleTextSet texts_;
    QTabWidget* tabs_ = nullptr;
    std::array<ClassPage, kSampleClassCount> pages_;
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

} // namespace tz
