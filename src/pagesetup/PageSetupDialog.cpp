#include "pagesetup/PageSetupDialog.h"
#include "widgets/MessageText.h"

#include "widgets/BusyCursor.h"

#include "pagesetup/MarginField.h"
#include "pagesetup/PageSetupPictures.h"
#include "pagesetup/PaperDiagram.h"
#include "pagesetup/SetupNameDialog.h"
#include "settings/SettingsStore.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tz {

namespace {

    constexpr int kRowHeight = 16;
    constexpr int kIconSize = 16;

    // Rows of the quick-setting list: the list icon one pixel from the top, the
    // name one pixel right of it, centred vertically.
    class SettingListDelegate final : public QStyledItemDelegate {
    public:
        using QStyledItemDelegate::QStyledItemDelegate;

        void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
        {
            const bool selected = option.state & QStyle::State_Selected;
            painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
            painter->drawPixmap(option.rect.left(), option.rect.top() + 1, SettingListIcon());
            painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            const QRect text = option.rect.adjusted(kIconSize + 1, 0, 0, 0);
            painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        }

        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
        {
            return { QStyledItemDelegate::sizeHint(option, index).width() + kIconSize + 1, kRowHeight };
        }
    };

    QLabel* ValueLabel(QWidget* parent, const char* name)
    {
        auto* label = new QLabel(parent);
        label->setObjectName(QLatin1String(name));
        return label;
    }

    QRadioButton* Radio(QWidget* parent, const char* name, const QString& text, QButtonGroup* group, int id)
    {
        auto* radio = new QRadioButton(text, parent);
        radio->setObjectName(QLatin1String(name));
        radio->setIconSize(QSize(32, 32));
        group->addButton(radio, id);
        return radio;
    }

    const char16_t* const kBindingWords[] = { u"なし", u"上綴じ", u"左綴じ" };

} // namespace

PageSetupDialog::PageSetupDialog(PrinterAccess& printers, PrinterSetup printerSetup, QWidget* parent)
    : QDialog(parent)
    , list_(printers)
    , printerSetup_(std::move(printerSetup))
    , cmbSpeedSetting1_(new QComboBox(this))
    , pgcSetup_(new QTabWidget(this))
    , btnCancel_(new QPushButton(QStringLiteral("キャンセル"), this))
    , btnApply_(new QPushButton(QStringLiteral("適用(&A)"), this))
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("用紙設定"));
    setModal(true);

    auto* quick = new QGroupBox(QStringLiteral("クイック設定"), this);
    quick->setObjectName(QStringLiteral("grpSpeedSetting"));
    cmbSpeedSetting1_->setObjectName(QStringLiteral("cmbSpeedSetting1"));
    cmbSpeedSetting1_->setItemDelegate(new SettingListDelegate(cmbSpeedSetting1_));
    cmbSpeedSetting1_->setIconSize(QSize(kIconSize, kIconSize));
    for (int slot = 0; slot < PageSetupList::kSlots; ++slot)
        cmbSpeedSetting1_->addItem(SettingListIcon(), QStringLiteral("カスタム%1").arg(slot + 1));
    auto* rename = new QPushButton(QStringLiteral("編集(&E)"), quick);
    rename->setObjectName(QStringLiteral("Button2"));
    auto* quickLayout = new QHBoxLayout(quick);
    quickLayout->addWidget(cmbSpeedSetting1_, 1);
    quickLayout->addWidget(rename);

    pgcSetup_->setObjectName(QStringLiteral("pgcSetup"));
    tabSummary_ = BuildSummaryPage();
    pgcSetup_->addTab(tabSummary_, QStringLiteral("設定内容"));
    pgcSetup_->addTab(BuildPaperPage(), QStringLiteral("用紙"));
    tabMargin_ = BuildMarginPage();
    pgcSetup_->addTab(tabMargin_, QStringLiteral("マージン"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnApply_->setObjectName(QStringLiteral("btnApply"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(btnCancel_);
    buttons->addWidget(btnApply_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(quick);
    layout->addWidget(pgcSetup_);
    layout->addLayout(buttons);

    connect(cmbSpeedSetting1_, &QComboBox::activated, this, &PageSetupDialog::cmbSpeedSetting1Change);
    connect(rename, &QPushButton::clicked, this, &PageSetupDialog::Button2Click);
    connect(pgcSetup_, &QTabWidget::currentChanged, this, [this] {
        if (pgcSetup_->currentWidget() == tabSummary_)
            RefreshSummary();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApply_, &QPushButton::clicked, this, &PageSetupDialog::btnApplyClick);

    btnPrinterSetting_->setEnabled(list_.Printers().Installed());
    SettingsStore store;
    list_.Load(store);
    for (int slot = 0; slot < PageSetupList::kSlots; ++slot)
        cmbSpeedSetting1_->setItemText(slot, list_.Setting(slot).name);
    Restore();
}

PageSetupDialog::~PageSetupDialog()
{
    SettingsStore store;
    list_.Save(store);
}

QWidget* PageSetupDialog::BuildSummaryPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabSummary"));
    lblPrinter_ = ValueLabel(page, "lblPrinter");
    lblPaperSize_ = ValueLabel(page, "lblPaperSize");
    lblOrientation_ = ValueLabel(page, "lblOrientation");
    lblBinding_ = ValueLabel(page, "lblBinding");
    lblMargins_ = { ValueLabel(page, "lblMarginL"), ValueLabel(page, "lblMarginT"), ValueLabel(page, "lblMarginR"),
        ValueLabel(page, "lblMarginB") };

    auto* margins = new QGridLayout;
    const std::pair<const char16_t*, int> rows[] = { { u"上側:", kSideTop }, { u"下側:", kSideBottom },
        { u"左側:", kSideLeft }, { u"右側:", kSideRight } };
    for (int row = 0; row < 4; ++row) {
        margins->addWidget(new QLabel(QString::fromUtf16(rows[row].first), page), row, 0);
        lblMargins_[rows[row].second]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        margins->addWidget(lblMargins_[rows[row].second], row, 1);
        margins->addWidget(new QLabel(QStringLiteral("cm"), page), row, 2);
    }
    margins->setColumnStretch(3, 1);

    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("プリンタ:"), lblPrinter_);
    form->addRow(QStringLiteral("用紙サイズ:"), lblPaperSize_);
    form->addRow(QStringLiteral("用紙方向:"), lblOrientation_);
    form->addRow(QStringLiteral("綴じ:"), lblBinding_);
    form->addRow(QStringLiteral("マージン:"), margins);
    return page;
}

QWidget* PageSetupDialog::BuildPaperPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabPaper"));

    auto* binding = new QGroupBox(QStringLiteral("綴じ"), page);
    binding->setObjectName(QStringLiteral("grpBinding"));
    bindingGroup_ = new QButtonGroup(this);
    auto* bindingLayout = new QHBoxLayout(binding);
    bindingLayout->addWidget(Radio(binding, "rbtnBindNone", QStringLiteral("なし(&N)"), bindingGroup_, 1));
    bindingLayout->addWidget(Radio(binding, "rbtnBindH", QStringLiteral("上綴じ(&T)"), bindingGroup_, 2));
    bindingLayout->addWidget(Radio(binding, "rbtnBindV", QStringLiteral("左綴じ(&L)"), bindingGroup_, 3));

    auto* orientation = new QGroupBox(QStringLiteral("用紙方向"), page);
    orientation->setObjectName(QStringLiteral("grpOrientation"));
    orientationGroup_ = new QButtonGroup(this);
    imgOrientation_ = new QLabel(orientation);
    imgOrientation_->setObjectName(QStringLiteral("imgOrientation"));
    imgOrientation_->setFixedSize(32, 32);
    auto* orientationLayout = new QHBoxLayout(orientation);
    orientationLayout->addWidget(imgOrientation_);
    orientationLayout->addWidget(
        Radio(orientation, "rbtnPaperOrientationV", QStringLiteral("縦(&V)"), orientationGroup_, kPortrait));
    orientationLayout->addWidget(
        Radio(orientation, "rbtnPaperOrientationH", QStringLiteral("横(&H)"), orientationGroup_, kLandscape));
    orientationLayout->addStretch();

    btnPrinterSetting_ = new QPushButton(QStringLiteral("プリンタ(&P)..."), page);
    btnPrinterSetting_->setObjectName(QStringLiteral("btnPrinterSetting"));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(binding);
    layout->addWidget(orientation);
    layout->addWidget(btnPrinterSetting_, 0, Qt::AlignRight);
    layout->addStretch();

    connect(bindingGroup_, &QButtonGroup::idClicked, this, &PageSetupDialog::rbtnBindClick);
    connect(orientationGroup_, &QButtonGroup::idClicked, this, &PageSetupDialog::rbtnPaperOrientationClick);
    connect(btnPrinterSetting_, &QPushButton::clicked, this, &PageSetupDialog::btnPrinterSettingClick);
    return page;
}

QWidget* PageSetupDialog::BuildMarginPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabMargin"));
    diagram_ = new PaperDiagram(page);

    struct FieldRow {
        const char* name;
        const char16_t* caption;
        int side;
        int id;
    };
    const FieldRow rows[] = { { "SaNumEditT", u"上側(&T):", kSideTop, kFieldTop },
        { "SaNumEditB", u"下側(&B):", kSideBottom, kFieldBottom }, { "SaNumEditL", u"左側(&L):", kSideLeft, kFieldLeft },
        { "SaNumEditR", u"右側(&R):", kSideRight, kFieldRight } };
    auto* grid = new QGridLayout;
    for (int row = 0; row < 4; ++row) {
        auto* field = new MarginField(page);
        field->setObjectName(QLatin1String(rows[row].name));
        auto* caption = new QLabel(QString::fromUtf16(rows[row].caption), page);
        caption->setBuddy(field);
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row, 1);
        fields_[rows[row].side] = field;
        const int id = rows[row].id;
        connect(field, &MarginField::Entered, diagram_, [this, id] { diagram_->ShowGuide(id); });
        connect(field, &QDoubleSpinBox::valueChanged, this, &PageSetupDialog::EnableApply);
        connect(field, &QDoubleSpinBox::valueChanged, diagram_,
            [this, id](double centimetres) { diagram_->SetMargin(id, centimetres); });
    }
    Button1_ = new QPushButton(QStringLiteral("最大活用(&M)"), page);
    Button1_->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(Button1_, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(diagram_);
    connect(Button1_, &QPushButton::clicked, this, &PageSetupDialog::Button1Click);
    return page;
}

void PageSetupDialog::EnableApply() const { btnApply_->setEnabled(true); }

int PageSetupDialog::SelectedOrientation() const
{
    return orientationGroup_->checkedId() == kLandscape ? kLandscape : kPortrait;
}

int PageSetupDialog::SelectedBinding() const { return qMax(bindingGroup_->checkedId(), 1) - 1; }

MarginTexts PageSetupDialog::FieldTexts() const
{
    MarginTexts texts;
    for (int side = kSideLeft; side <= kSideBottom; ++side)
        texts[side] = fields_[side]->cleanText();
    return texts;
}

void PageSetupDialog::ShowOrientation(int orientation)
{
    orientationGroup_->button(orientation)->setChecked(true);
    imgOrientation_->setPixmap(PageSetupPicture(OrientationPicture(orientation)));
    for (int binding = kBindNone; binding <= kBindLeft; ++binding)
        bindingGroup_->button(binding + 1)->setIcon(PageSetupPicture(BindingPicture(orientation, binding)));
    diagram_->SetPaper(list_.PaperMillimetres(), orientation);
    ShowBinding(kBindNone);
}

void PageSetupDialog::ShowBinding(int binding)
{
    bindingGroup_->button(binding + 1)->setChecked(true);
    diagram_->SetBinding(binding);
}

void PageSetupDialog::ShowMargins(const MarginTexts& margins)
{
    for (int side = kSideLeft; side <= kSideBottom; ++side)
        fields_[side]->setValue(ParseMargin(margins[side]).value_or(0.0));
}

void PageSetupDialog::cmbSpeedSetting1Change(int slot)
{
    EnableApply();
    list_.Select(slot);
    const PageSetup& s = list_.Setting(slot);
    ShowOrientation(s.orientation);
    ShowBinding(s.binding);
    ShowMargins({ FormatMargin(s.marginLeft), FormatMargin(s.marginTop), FormatMargin(s.marginRight),
        FormatMargin(s.marginBottom) });
    RefreshSummary();
}

void PageSetupDialog::Button2Click()
{
    EnableApply();
    if (!nameWindow_)
        nameWindow_ = new SetupNameDialog(this);
    const int slot = cmbSpeedSetting1_->currentIndex();
    QStringList names;
    for (int i = 0; i < PageSetupList::kSlots; ++i)
        names.append(list_.Setting(i).name);
    nameWindow_->SetNames(names, slot);
    nameWindow_->exec();
    list_.Rename(slot, nameWindow_->Name().trimmed());
    cmbSpeedSetting1_->setItemText(slot, list_.Setting(slot).name);
}

void PageSetupDialog::rbtnPaperOrientationClick(int orientation)
{
    EnableApply();
    ShowOrientation(orientation);
    if (list_.Printers().Installed())
        list_.Printers().SetOrientation(orientation);
}

void PageSetupDialog::rbtnBindClick(int id)
{
    EnableApply();
    ShowBinding(id - 1);
}

void PageSetupDialog::Button1Click()
{
    Button1_->setEnabled(false);
    {
        BusyCursor busy;
        ShowMargins(list_.MaximumMargins(SelectedOrientation()));
    }
    Button1_->setEnabled(true);
    EnableApply();
}

void PageSetupDialog::btnPrinterSettingClick()
{
    EnableApply();
    printerSetup_(this);
    if (!list_.Printers().Installed())
        return;
    const int orientation = list_.Printers().Orientation();
    if (orientation != SelectedOrientation())
        rbtnPaperOrientationClick(orientation);
    else
        diagram_->SetPaper(list_.PaperMillimetres(), orientation);
}

void PageSetupDialog::btnApplyClick()
{
    btnApply_->setEnabled(false);
    ApplyEdits();
}

bool PageSetupDialog::ApplyEdits()
{
    const ApplyResult result
        = list_.Apply(cmbSpeedSetting1_->currentIndex(), SelectedOrientation(), SelectedBinding(), FieldTexts());
    if (result.ok)
        return true;
    QMessageBox::critical(this, kProductTitle, result.message);
    pgcSetup_->setCurrentWidget(tabMargin_);
    fields_[result.side]->setFocus();
    return false;
}

void PageSetupDialog::done(int result)
{
    if (result == Accepted && !ApplyEdits())
        return;
    Restore();
    btnCancel_->setFocus();
    pgcSetup_->setCurrentWidget(tabSummary_);
    QDialog::done(result);
}

void PageSetupDialog::Restore()
{
    const int current = list_.Current();
    cmbSpeedSetting1_->setCurrentIndex(current);
    list_.PushIntoPrinter(current);
    ShowOrientation(list_.CurrentSetting().orientation);
    ShowBinding(list_.CurrentSetting().binding);
    ShowMargins(list_.AppliedMargins());
    btnApply_->setEnabled(false);
    RefreshSummary();
}

void PageSetupDialog::RefreshSummary()
{
    const PrinterAccess& printers = list_.Printers();
    lblPrinter_->setText(printers.Installed() ? printers.CurrentName() : QStringLiteral("(プリンタが登録されていません)"));
    lblPaperSize_->setText(list_.PaperName());
    lblOrientation_->setText(SelectedOrientation() == kLandscape ? QStringLiteral("横") : QStringLiteral("縦"));
    lblBinding_->setText(QString::fromUtf16(kBindingWords[SelectedBinding()]));
    for (int side = kSideLeft; side <= kSideBottom; ++side)
        lblMargins_[side]->setText(QString::asprintf("%2.1f", fields_[side]->value()));
}

} // namespace tz
