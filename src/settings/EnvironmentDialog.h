#pragma once
// The environment settings dialog "環境設定" (TForm3). It owns the accepted
// EnvironmentSettings: loaded from the store when the dialog is created,
// written back when it is destroyed, changed only by OK (and by the refresh of
// the heading-font list).
#include "fontfile/FontFamilies.h"
#include "settings/EnvironmentSettings.h"

#include <QDialog>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tz {

class EnvironmentDialog : public QDialog {
    Q_OBJECT
public:
    explicit EnvironmentDialog(QWidget* parent = nullptr);
    ~EnvironmentDialog() override;

    const EnvironmentSettings& Settings() const { return settings_; }

    // Every close ends here: OK validates and accepts the controls; any close
    // then sets the controls back from the accepted record.
    void done(int result) override;

public slots:
    // The set of installed fonts changed: rebuilds the heading-font list and
    // keeps the accepted face when it is still installed, else falls back to
    // the default face.
    void RefreshFontList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SizeLine {
        QCheckBox* shown = nullptr;
        QComboBox* size = nullptr;
        QLabel* preview = nullptr;
    };

    QWidget* BuildSizeTab();
    QWidget* BuildHeadingTab();
    QWidget* BuildHeadingFontTab();
    QWidget* BuildMacintoshTab();
    QWidget* BuildSearchTab();
    QWidget* BuildDropTab();
    QWidget* BuildMiscTab();
    QWidget* NewHeadingPreview(QLabel*& left, QLabel*& right);
    QComboBox* NewSizeField(const QString& name, const QStringList& items);

    // A control bound to a field of the record: the first function takes
    // what the control shows into the record, the second shows the record's
    // value in the control.
    using Binding
        = std::pair<std::function<void(EnvironmentSettings&)>, std::function<void(const EnvironmentSettings&)>>;
    void BindControls();

    void FillFontList(FontConfigView view);
    void SelectDefaultFace();
    // The accepted record takes what the controls show.
    void TakeSnapshot();
    // The controls show the accepted record.
    void Restore();
    bool AnyLineShown() const;
    bool ValidateSizes();
    void SizeFieldLeft();
    void LayoutSizePreview();
    void UpdateCompositionPreview();
    void UpdateHeadingFontPreview();
    void LayoutHeadingFontPreview();
    void HeadingFontEdited();

    EnvironmentSettings settings_;
    std::vector<Binding> bindings_;
    QTabWidget* tabs_ = nullptr;
    std::array<SizeLine, EnvironmentSettings::kLineCount> lines_;
    QWidget* sizePreview_ = nullptr;

    QCheckBox* chkFace_ = nullptr;
    QCheckBox* chkFamily_ = nullptr;
    QCheckBox* chkFile_ = nullptr;
    QRadioButton* rbtnFaceLeft_ = nullptr;
    QRadioButton* rbtnFaceRight_ = nullptr;
    QRadioButton* rbtnFileLeft_ = nullptr;
    QRadioButton* rbtnFileRight_ = nullptr;
    QLabel* compositionLeft_ = nullptr;
    QLabel* compositionRight_ = nullptr;

    QRadioButton* rbtStandard_ = nullptr;
    QRadioButton* rbtCustom_ = nullptr;
    QComboBox* cmbCustom_ = nullptr;
    QComboBox* cmbCustomSize_ = nullptr;
    QWidget* fontPreview_ = nullptr;
    QLabel* fontPreviewNames_ = nullptr;
    QLabel* fontPreviewFile_ = nullptr;
    QLabel* fontPreviewSample_ = nullptr;

    QCheckBox* chkMacExt_ = nullptr;
    QCheckBox* chkTTCSearch_ = nullptr;
    QRadioButton* rbtTTCSearch1_ = nullptr;
    QRadioButton* rbtTTCSearch2_ = nullptr;
    QCheckBox* chkArchiveSearch_ = nullptr;
    QCheckBox* chkExecuteSearch_ = nullptr;
    QCheckBox* chkAllFormats_ = nullptr;
    QCheckBox* chkTTCDrop_ = nullptr;
    QRadioButton* rbtTTCDrop1_ = nullptr;
    QRadioButton* rbtTTCDrop2_ = nullptr;
    QCheckBox* chkSjisAscii_ = nullptr;
    QCheckBox* chkPlus_ = nullptr;

    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    bool validating_ = false;
};

} // namespace tz
