#include "settings/EnvironmentDialog.h"
#include "widgets/MessageText.h"

#include "widgets/SettingsDialogFrame.h"

#include "fontfile/FontFamilies.h"
#include "platform/FontSubstitutes.h"
#include "settings/SettingsStore.h"
#include "widgets/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace tz {

namespace {

    const QString kSizePreviewText = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    const QStringList kLineSizes = { QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"),
        QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
        QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"), QStringLiteral("28"),
        QStringLiteral("30"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("60"), QStringLiteral("72") };
    const QStringList kHeadingSizes = { QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"),
        QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16") };
    constexpr std::array<const char*, EnvironmentSettings::kLineCount> kLineTags { "8pt", "12pt", "30pt", "60pt" };
    constexpr int kSizeFieldLength = 2;
    constexpr int kFontListRows = 16;

    void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text)
    {
        QMessageBox box(icon, kProductTitle, text, QMessageBox::Ok, parent);
        box.exec();
    }

    void ShowSizeError(QWidget* parent)
    {
        ShowMessage(parent, QMessageBox::Critical, QStringLiteral("適切なサイズを指定してください"));
    }

    // Sets both buttons of a choice; a pair may hold no choice at all, which
    // exclusive buttons could not show.
    void SetRadioPair(QRadioButton* first, QRadioButton* second, bool firstOn, bool secondOn)
    {
        first->setAutoExclusive(false);
        second->setAutoExclusive(false);
        first->setChecked(firstOn && !secondOn);
        second->setChecked(secondOn);
        first->setAutoExclusive(true);
        second->setAutoExclusive(true);
    }

    void SetChoice(QRadioButton* on, QRadioButton* off, bool value) { SetRadioPair(on, off, value, !value); }

    using Bound = std::pair<std::function<void(EnvironmentSettings&)>, std::function<void(const EnvironmentSettings&)>>;

    // A check box showing a flag.
    template <class Field> Bound CheckBox(QCheckBox* box, Field field)
    {
        return { [box, field](EnvironmentSettings& s) { field(s) = box->isChecked(); },
            [box, field](const EnvironmentSettings& s) { box->setChecked(field(s)); } };
    }

    // Two radio buttons showing a flag: on for true, off for false.
    template <class Field> Bound Choice(QRadioButton* on, QRadioButton* off, Field field)
    {
        return { [on, field](EnvironmentSettings& s) { field(s) = on->isChecked(); },
            [on, off, field](const EnvironmentSettings& s) { SetChoice(on, off, field(s)); } };
    }

    // The first- and last-face buttons of a one-face choice, each stored.
    template <class Field> Bound FacePair(QRadioButton* first, QRadioButton* last, Field field)
    {
        return { [first, last, field](EnvironmentSettings& s) {
                    field(s).firstFace = first->isChecked();
                    field(s).lastFace = last->isChecked();
                },
            [first, last, field](const EnvironmentSettings& s) {
                SetRadioPair(first, last, field(s).firstFace, field(s).lastFace);
            } };
    }

    // A size field; text that is no size takes fallback, or keeps the
    // accepted size when there is none.
    template <class Field> Bound SizeField(QComboBox* size, Field field, std::optional<int> fallback = std::nullopt)
    {
        return { [size, field, fallback](EnvironmentSettings& s) {
                    field(s) = ParseSampleSize(size->currentText()).value_or(fallback.value_or(field(s)));
                },
            [size, field](const EnvironmentSettings& s) { size->setEditText(QString::number(field(s))); } };
    }

#define TZ_FIELD(member) [](auto& s) -> auto& { return s.member; }

    QFont PreviewFont(const QString& family, int pointSize)
    {
        QFont font(family);
        font.setPointSize(pointSize);
        return font;
    }

} // namespace

EnvironmentDialog::EnvironmentDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("環境設定"));

    tabs_ = Named(new QTabWidget, QStringLiteral("tabSettings"));
    tabs_->addTab(BuildSizeTab(), QStringLiteral("サイズ"));
    tabs_->addTab(BuildHeadingTab(), QStringLiteral("見出し"));
    tabs_->addTab(BuildHeadingFontTab(), QStringLiteral("見出しフォント"));
    tabs_->addTab(BuildMacintoshTab(), QStringLiteral("Macintosh"));
    tabs_->addTab(BuildSearchTab(), QStringLiteral("検索追加"));
    tabs_->addTab(BuildDropTab(), QStringLiteral("Drop操作"));
    tabs_->addTab(BuildMiscTab(), QStringLiteral("その他"));

    BindControls();

    const DialogButtons buttons = LayOutSettingsDialog(*this, tabs_);
    btnOK_ = buttons.ok;
    btnCancel_ = buttons.cancel;

    FillFontList(FontConfigView::Current); // the configuration already loaded: start-up stays quick
    SelectDefaultFace();
    settings_.customFace = cmbCustom_->currentText();
    {
        SettingsStore store;
        settings_.Load(store);
    }
    // A stored face that is no longer installed leaves the default face.
    if (cmbCustom_->findText(settings_.customFace) < 0)
        settings_.customFace = cmbCustom_->currentText();
    Restore();
    // This platform counts as the NT family, so smoothing can always be chosen.
    chkPlus_->setEnabled(true);
}

EnvironmentDialog::~EnvironmentDialog()
{
    SettingsStore store;
    settings_.Save(store);
}

QComboBox* EnvironmentDialog::NewSizeField(const QString& name, const QStringList& items)
{
    auto* field = Named(new QComboBox, name);
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->addItems(items);
    field->lineEdit()->setMaxLength(kSizeFieldLength);
    field->setInputMethodHints(Qt::ImhDigitsOnly);
    field->lineEdit()->setInputMethodHints(Qt::ImhDigitsOnly);
    return field;
}

QWidget* EnvironmentDialog::BuildSizeTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < EnvironmentSettings::kLineCount; ++i) {
        const QString tag = QString::fromLatin1(kLineTags[i]);
        SizeLine& line = lines_[i];
        line.shown = Named(new QCheckBox(QStringLiteral("見本&%1").arg(i + 1)), QStringLiteral("chk") + tag);
        line.size = NewSizeField(QStringLiteral("cmb") + tag, kLineSizes);
        line.size->installEventFilter(this);
        connect(line.shown, &QCheckBox::toggled, this, &EnvironmentDialog::LayoutSizePreview);
        grid->addWidget(line.shown, i, 0);
        grid->addWidget(line.size, i, 1);
        grid->addWidget(new QLabel(QStringLiteral("pt")), i, 2);
    }
    sizePreview_ = Named(new QWidget, QStringLiteral("pnlSizePreview"));
    sizePreview_->setMinimumSize(360, 160);
    sizePreview_->setAutoFillBackground(true);
    sizePreview_->setBackgroundRole(QPalette::Base);
    sizePreview_->installEventFilter(this);
    for (int i = 0; i < EnvironmentSettings::kLineCount; ++i) {
        lines_[i].preview = Named(new QLabel(kSizePreviewText, sizePreview_),
            QStringLiteral("lblPreview") + QString::fromLatin1(kLineTags[i]));
    }
    grid->addWidget(sizePreview_, 0, 3, EnvironmentSettings::kLineCount + 1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(EnvironmentSettings::kLineCount, 1);
    return page;
}

QWidget* EnvironmentDialog::NewHeadingPreview(QLabel*& left, QLabel*& right)
{
    auto* panel = new QWidget;
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    auto* grid = new QGridLayout(panel);
    left = new QLabel;
    right = new QLabel;
    // Both texts share one line; the left one stays on top where they meet.
    grid->addWidget(right, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(left, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    return panel;
}

QWidget* EnvironmentDialog::BuildHeadingTab()
{
    auto* names = new QGroupBox(QStringLiteral("書体名"));
    chkFace_ = Named(new QCheckBox(QStringLiteral("フェイス名")), QStringLiteral("chkFace"));
    chkFamily_ = Named(new QCheckBox(QStringLiteral("ファミリ名")), QStringLiteral("chkFamily"));
    rbtnFaceLeft_ = Named(new QRadioButton(QStringLiteral("左寄せ")), QStringLiteral("rbtnFaceLeft"));
    rbtnFaceRight_ = Named(new QRadioButton(QStringLiteral("右寄せ")), QStringLiteral("rbtnFaceRight"));
    auto* namesLayout = new QGridLayout(names);
    namesLayout->addWidget(chkFace_, 0, 0);
    namesLayout->addWidget(chkFamily_, 1, 0);
    namesLayout->addWidget(rbtnFaceLeft_, 0, 1);
    namesLayout->addWidget(rbtnFaceRight_, 1, 1);

    auto* file = new QGroupBox(QStringLiteral("ﾌｧｲﾙ名"));
    chkFile_ = Named(new QCheckBox(QStringLiteral("ファイル名")), QStringLiteral("chkFile"));
    rbtnFileLeft_ = Named(new QRadioButton(QStringLiteral("左寄せ")), QStringLiteral("rbtnFileLeft"));
    rbtnFileRight_ = Named(new QRadioButton(QStringLiteral("右寄せ")), QStringLiteral("rbtnFileRight"));
    auto* fileLayout = new QGridLayout(file);
    fileLayout->addWidget(chkFile_, 0, 0);
    fileLayout->addWidget(rbtnFileLeft_, 0, 1);
    fileLayout->addWidget(rbtnFileRight_, 1, 1);

    for (QAbstractButton* button : std::initializer_list<QAbstractButton*> {
             chkFace_, chkFamily_, chkFile_, rbtnFaceLeft_, rbtnFaceRight_, rbtnFileLeft_, rbtnFileRight_ })
        connect(button, &QAbstractButton::clicked, this, &EnvironmentDialog::UpdateCompositionPreview);

    QWidget* preview = NewHeadingPreview(compositionLeft_, compositionRight_);
    preview->setObjectName(QStringLiteral("pnlHeadingPreview"));
    compositionLeft_->setObjectName(QStringLiteral("lblHeadingLeft"));
    compositionRight_->setObjectName(QStringLiteral("lblHeadingRight"));

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* groups = new QHBoxLayout;
    groups->addWidget(names);
    groups->addWidget(file);
    layout->addLayout(groups);
    layout->addWidget(preview);
    layout->addStretch();
    return page;
}

QWidget* EnvironmentDialog::BuildHeadingFontTab()
{
    rbtStandard_ = Named(new QRadioButton(QStringLiteral("Typoscan標準(&S)")), QStringLiteral("rbtStandard"));
    rbtCustom_ = Named(new QRadioButton(QStringLiteral("指定(&U)")), QStringLiteral("rbtCustom"));
    auto* standardLabel = Named(new QLabel(QStringLiteral("ＭＳ Ｐゴシック　12pt")), QStringLiteral("lblStandard"));
    cmbCustom_ = Named(new QComboBox, QStringLiteral("cmbCustom"));
    cmbCustom_->setMaxVisibleItems(kFontListRows);
    cmbCustomSize_ = NewSizeField(QStringLiteral("cmbCustomSize"), kHeadingSizes);

    connect(rbtStandard_, &QRadioButton::clicked, this, &EnvironmentDialog::UpdateHeadingFontPreview);
    connect(rbtCustom_, &QRadioButton::clicked, this, &EnvironmentDialog::HeadingFontEdited);
    connect(cmbCustom_, &QComboBox::activated, this, &EnvironmentDialog::HeadingFontEdited);
    connect(cmbCustomSize_, &QComboBox::activated, this, &EnvironmentDialog::HeadingFontEdited);
    connect(cmbCustomSize_->lineEdit(), &QLineEdit::textEdited, this, &EnvironmentDialog::HeadingFontEdited);

    fontPreview_ = Named(new QWidget, QStringLiteral("pnlFontPreview"));
    fontPreview_->setMinimumSize(360, 80);
    fontPreview_->setAutoFillBackground(true);
    fontPreview_->setBackgroundRole(QPalette::Base);
    fontPreview_->installEventFilter(this);
    fontPreviewNames_
        = Named(new QLabel(QStringLiteral("Verdana Bold / Verdana"), fontPreview_), QStringLiteral("lblFontPreview1"));
    fontPreviewFile_
        = Named(new QLabel(QStringLiteral("VERDANAB.TTF"), fontPreview_), QStringLiteral("lblFontPreview2"));
    fontPreviewSample_ = Named(new QLabel(kSizePreviewText, fontPreview_), QStringLiteral("pnlFontSample"));
    fontPreviewSample_->setFrameShape(QFrame::Box);

    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(rbtStandard_, 0, 0);
    grid->addWidget(standardLabel, 0, 1, 1, 3);
    grid->addWidget(rbtCustom_, 1, 0);
    grid->addWidget(cmbCustom_, 1, 1);
    grid->addWidget(cmbCustomSize_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("pt")), 1, 3);
    grid->addWidget(fontPreview_, 2, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* EnvironmentDialog::BuildMacintoshTab()
{
    chkMacExt_ = Named(new QCheckBox(QStringLiteral("コピー時に拡張子を付加する(&P)")), QStringLiteral("chkMacExt"));
    // Installing always appends the extension; the box only says so.
    auto* install
        = Named(new QCheckBox(QStringLiteral("インストール時に拡張子を付加する(&I)")), QStringLiteral("chkInstallExt"));
    install->setChecked(true);
    install->setEnabled(false);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chkMacExt_);
    layout->addWidget(install);
    layout->addStretch();
    return page;
}

QWidget* EnvironmentDialog::BuildSearchTab()
{
    chkTTCSearch_ = Named(new QCheckBox(QStringLiteral("検索追加時 TTCファイルは一部の書体のみ採用する(&S)")),
        QStringLiteral("chkTTCSearch"));
    rbtTTCSearch1_
        = Named(new QRadioButton(QStringLiteral("最初に登録されている書体")), QStringLiteral("rbtTTCSearch1"));
    rbtTTCSearch2_
        = Named(new QRadioButton(QStringLiteral("最後に登録されている書体")), QStringLiteral("rbtTTCSearch2"));
    chkArchiveSearch_ = Named(new QCheckBox(QStringLiteral("検索追加時，書庫ファイルも追加対象とする(&A)")),
        QStringLiteral("chkArchiveSearch"));
    chkExecuteSearch_ = Named(new QCheckBox(QStringLiteral("検索追加時，自己展開書庫ファイルも追加対象とする(&X)")),
        QStringLiteral("chkExecuteSearch"));
    chkAllFormats_ = Named(new QCheckBox(QStringLiteral("OpenType(CFF)・WOFF形式と7z・tar・RAR書庫も扱う(&O)")),
        QStringLiteral("chkAllFormats"));
    for (QRadioButton* face : { rbtTTCSearch1_, rbtTTCSearch2_ })
        connect(face, &QRadioButton::clicked, chkTTCSearch_, [this] { chkTTCSearch_->setChecked(true); });

    // The two face buttons sit in a box of their own so that they form one
    // exclusive pair.
    auto* faces = new QWidget;
    auto* facesLayout = new QVBoxLayout(faces);
    facesLayout->setContentsMargins(20, 0, 0, 0);
    facesLayout->addWidget(rbtTTCSearch1_);
    facesLayout->addWidget(rbtTTCSearch2_);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chkTTCSearch_);
    layout->addWidget(faces);
    layout->addWidget(chkArchiveSearch_);
    layout->addWidget(chkExecuteSearch_);
    layout->addWidget(chkAllFormats_);
    layout->addStretch();
    return page;
}

QWidget* EnvironmentDialog::BuildDropTab()
{
    chkTTCDrop_ = Named(
        new QCheckBox(QStringLiteral("Drop時 TTCファイルは一部の書体のみ採用する(&D)")), QStringLiteral("chkTTCDrop"));
    rbtTTCDrop1_ = Named(new QRadioButton(QStringLiteral("最初に登録されている書体")), QStringLiteral("rbtTTCDrop1"));
    rbtTTCDrop2_ = Named(new QRadioButton(QStringLiteral("最後に登録されている書体")), QStringLiteral("rbtTTCDrop2"));
    for (QRadioButton* face : { rbtTTCDrop1_, rbtTTCDrop2_ })
        connect(face, &QRadioButton::clicked, chkTTCDrop_, [this] { chkTTCDrop_->setChecked(true); });

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chkTTCDrop_);
    auto* faces = new QVBoxLayout;
    faces->setContentsMargins(20, 0, 0, 0);
    faces->addWidget(rbtTTCDrop1_);
    faces->addWidget(rbtTTCDrop2_);
    layout->addLayout(faces);
    layout->addStretch();
    return page;
}

QWidget* EnvironmentDialog::BuildMiscTab()
{
    chkSjisAscii_ = Named(new QCheckBox(QStringLiteral("SHIFTJIS出力時は ASCII設定の見本文章も採用する(&J)")),
        QStringLiteral("chkSjisAscii"));
    chkPlus_ = Named(
        new QCheckBox(QStringLiteral("プレビュー時，書体見本の縁を滑らかにする(&F)")), QStringLiteral("chkPlus"));
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chkSjisAscii_);
    layout->addWidget(chkPlus_);
    layout->addStretch();
    return page;
}

void EnvironmentDialog::FillFontList(FontConfigView view)
{
    const QSignalBlocker blocker(cmbCustom_);
    cmbCustom_->clear();
    cmbCustom_->addItems(InstalledTrueTypeFamilies(view));
}

void EnvironmentDialog::SelectDefaultFace()
{
    const QSignalBlocker blocker(cmbCustom_);
    cmbCustom_->setCurrentIndex(cmbCustom_->findText(QFontInfo(QFont()).family()));
}

void EnvironmentDialog::RefreshFontList()
{
    FillFontList(FontConfigView::Fresh);
    const int accepted = cmbCustom_->findText(settings_.customFace);
    if (accepted >= 0) {
        const QSignalBlocker blocker(cmbCustom_);
        cmbCustom_->setCurrentIndex(accepted);
    } else {
        SelectDefaultFace();
        // Only the face is taken over: whatever else is being edited in an
        // open dialog has not been accepted.
        settings_.customFace = cmbCustom_->currentText();
    }
    UpdateHeadingFontPreview();
}

void EnvironmentDialog::BindControls()
{
    std::vector<Binding>& b = bindings_;
    for (int i = 0; i < EnvironmentSettings::kLineCount; ++i) {
        b.push_back(CheckBox(lines_[i].shown, [i](auto& s) -> auto& { return s.lineShown[i]; }));
        b.push_back(SizeField(lines_[i].size, [i](auto& s) -> auto& { return s.lineSize[i]; }));
    }
    b.push_back(CheckBox(chkTTCSearch_, TZ_FIELD(search.oneFace)));
    b.push_back(FacePair(rbtTTCSearch1_, rbtTTCSearch2_, TZ_FIELD(search)));
    b.push_back(CheckBox(chkTTCDrop_, TZ_FIELD(drop.oneFace)));
    b.push_back(FacePair(rbtTTCDrop1_, rbtTTCDrop2_, TZ_FIELD(drop)));
    b.push_back(CheckBox(chkSjisAscii_, TZ_FIELD(sjisAlsoAscii)));
    b.push_back(CheckBox(chkMacExt_, TZ_FIELD(macExtension)));
    b.push_back(CheckBox(chkArchiveSearch_, TZ_FIELD(searchArchives)));
    b.push_back(CheckBox(chkExecuteSearch_, TZ_FIELD(searchSelfExtracting)));
    b.push_back(CheckBox(chkAllFormats_, TZ_FIELD(allFormats)));
    b.push_back(Choice(rbtStandard_, rbtCustom_, TZ_FIELD(headingStandard)));
    b.push_back(CheckBox(chkFace_, TZ_FIELD(heading.showFace)));
    b.push_back(CheckBox(chkFamily_, TZ_FIELD(heading.showFamily)));
    b.push_back(CheckBox(chkFile_, TZ_FIELD(heading.showFile)));
    b.push_back(Choice(rbtnFaceLeft_, rbtnFaceRight_, TZ_FIELD(heading.namesLeft)));
    b.push_back(Choice(rbtnFileLeft_, rbtnFileRight_, TZ_FIELD(heading.fileLeft)));
    b.push_back(CheckBox(chkPlus_, TZ_FIELD(smoothPreview)));
    b.push_back(SizeField(cmbCustomSize_, TZ_FIELD(customSize), EnvironmentSettings::kStandardHeadingSize));
}

#undef TZ_FIELD

void EnvironmentDialog::TakeSnapshot()
{
    for (const auto& [take, show] : bindings_)
        take(settings_);
    settings_.customFace = cmbCustom_->currentText();
    LayoutSizePreview();
}

void EnvironmentDialog::Restore()
{
    for (const auto& [take, show] : bindings_)
        show(settings_);
    for (int i = 0; i < EnvironmentSettings::kLineCount; ++i)
        lines_[i].preview->setFont(PreviewFont(kProportionalGothicFace, settings_.lineSize[i]));
    {
        const QSignalBlocker blocker(cmbCustom_);
        cmbCustom_->setCurrentIndex(cmbCustom_->findText(settings_.customFace));
    }
    LayoutSizePreview();
    UpdateCompositionPreview();
    UpdateHeadingFontPreview();
}

bool EnvironmentDialog::AnyLineShown() const
{
    return std::any_of(lines_.begin(), lines_.end(), [](const SizeLine& line) { return line.shown->isChecked(); });
}

bool EnvironmentDialog::ValidateSizes()
{
    const QScopedValueRollback guard(validating_, true);
    for (int i = 0; i < EnvironmentSettings::kLineCount; ++i) {
        const SizeLine& line = lines_[i];
        const std::optional<int> size = ParseSampleSize(line.size->currentText());
        if (!size) {
            line.size->setEditText(QString::number(settings_.lineSize[i]));
            line.size->setFocus();
            ShowSizeError(this);
            return false;
        }
        line.preview->setFont(PreviewFont(kProportionalGothicFace, *size));
        LayoutSizePreview();
    }
    if (!ParseSampleSize(cmbCustomSize_->currentText())) {
        tabs_->setCurrentIndex(2);
        cmbCustomSize_->setEditText(QString::number(EnvironmentSettings::kStandardHeadingSize));
        cmbCustomSize_->setFocus();
        ShowSizeError(this);
        return false;
    }
    return true;
}

void EnvironmentDialog::done(int result)
{
    if (result == QDialog::Accepted) {
        tabs_->setCurrentIndex(0);
        if (!AnyLineShown()) {
            ShowMessage(this, QMessageBox::Information, QStringLiteral("サイズを指定してください"));
            return;
        }
        if (!ValidateSizes())
            return;
        TakeSnapshot();
    }
    Restore();
    btnCancel_->setFocus();
    tabs_->setCurrentIndex(0);
    QDialog::done(result);
}

void EnvironmentDialog::SizeFieldLeft()
{
    tabs_->setCurrentIndex(0);
    ValidateSizes();
}

bool EnvironmentDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == sizePreview_)
            LayoutSizePreview();
        else if (watched == fontPreview_)
            LayoutHeadingFontPreview();
    } else if (event->type() == QEvent::FocusOut && !validating_) {
        // Focus that moves to a message box, another window or a drop-down
        // list has not left the field for another control of this dialog.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool toOtherControl = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        const bool sizeField = std::any_of(
            lines_.begin(), lines_.end(), [watched](const SizeLine& line) { return line.size == watched; });
        if (sizeField && toOtherControl)
            SizeFieldLeft();
    }
    return QDialog::eventFilter(watched, event);
}

void EnvironmentDialog::LayoutSizePreview()
{
    int top = 0;
    for (const SizeLine& line : lines_) {
        line.preview->setVisible(line.shown->isChecked());
        if (!line.shown->isChecked())
            continue;
        const int height = line.preview->sizeHint().height();
        line.preview->setGeometry(0, top, line.preview->sizeHint().width(), height);
        top += height;
    }
}

void EnvironmentDialog::UpdateCompositionPreview()
{
    const HeadingLayout layout { chkFace_->isChecked(), chkFamily_->isChecked(), chkFile_->isChecked(),
        rbtnFaceLeft_->isChecked(), rbtnFileLeft_->isChecked() };
    const HeadingTexts texts
        = layout.Compose(QStringLiteral("Verdana Bold"), QStringLiteral("Verdana"), QStringLiteral("VERDANAB.TTF"));
    compositionLeft_->setText(texts.left);
    compositionRight_->setText(texts.right);
}

void EnvironmentDialog::UpdateHeadingFontPreview()
{
    QFont font = PreviewFont(kProportionalGothicFace, EnvironmentSettings::kStandardHeadingSize);
    if (rbtCustom_->isChecked()) {
        font = PreviewFont(cmbCustom_->currentText(),
            ParseSampleSize(cmbCustomSize_->currentText()).value_or(EnvironmentSettings::kStandardHeadingSize));
    }
    fontPreviewNames_->setFont(font);
    fontPreviewFile_->setFont(font);
    LayoutHeadingFontPreview();
}

void EnvironmentDialog::LayoutHeadingFontPreview()
{
    const QSize names = fontPreviewNames_->sizeHint();
    const QSize file = fontPreviewFile_->sizeHint();
    fontPreviewNames_->setGeometry(0, 0, names.width(), names.height());
    fontPreviewFile_->setGeometry(fontPreview_->width() - file.width(), 0, file.width(), file.height());
    // The sample panel hangs one pixel into the label above it, as a face's
    // sample lines follow its heading.
    fontPreviewSample_->setGeometry(
        0, names.height() - 1, fontPreview_->width(), fontPreviewSample_->sizeHint().height());
    fontPreviewNames_->raise();
}

void EnvironmentDialog::HeadingFontEdited()
{
    rbtCustom_->setChecked(true);
    if (!ParseSampleSize(cmbCustomSize_->currentText())) {
        cmbCustomSize_->setEditText(QString::number(EnvironmentSettings::kStandardHeadingSize));
        cmbCustomSize_->setFocus();
        ShowSizeError(this);
    }
    UpdateHeadingFontPreview();
}

} // namespace tz
