#include "viewer/SampleViewer.h"

#include "sample/PageStore.h"
#include "viewer/PageExport.h"
#include "viewer/PdfCatalog.h"
#include "widgets/BusyCursor.h"
#include "widgets/MessageText.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace tz {

namespace {

    // The face list's items: the row's kind icon at the item's corner, then
    // the face name, vertically centred.
    class FaceItemDelegate : public QStyledItemDelegate {
    public:
        FaceItemDelegate(const QList<QIcon>& icons, const QStringList& kinds, QObject* parent)
            : QStyledItemDelegate(parent)
            , icons_(icons)
            , kinds_(kinds)
        {
        }
        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
        {
            return { option.rect.width(), SampleViewer::kItemHeight };
        }
        void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
        {
            const bool selected = option.state & QStyle::State_Selected;
            painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
            const int kind = index.row() < kinds_.size() ? kinds_.at(index.row()).toInt() : -1;
            constexpr int kIconSize = 16;
            if (kind >= 0 && kind < icons_.size())
                icons_.at(kind).paint(painter, QRect(option.rect.topLeft(), QSize(kIconSize, kIconSize)));
            const QString text = index.data().toString();
            const QFontMetrics metrics(option.font);
            const int spare = (option.rect.height() - metrics.height()) / 2;
            painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            painter->drawText(
                QPoint(kIconSize + option.rect.left() + 1, option.rect.top() + spare + metrics.ascent()), text);
        }

    private:
        const QList<QIcon>& icons_;
        const QStringList& kinds_;
    };

    int KeyField(const QString& key, int from, int length) { return key.mid(from, length).toInt(); }

    QString PageNumberText(int pageNumber) { return QStringLiteral("%1").arg(pageNumber, 4, 10, QLatin1Char('0')); }

    // The file-type number (1, 2, 3) of a dialog's chosen filter.
    int FileTypeOf(const QFileDialog& dialog) { return int(SaveFilters().indexOf(dialog.selectedNameFilter())) + 1; }

} // namespace

struct SampleViewer::ActionSpec {
    const char* name;
    const char16_t* caption;
    QKeySequence shortcut;
    void (SampleViewer::*slot)();
};

SampleViewer::SampleViewer(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("見本一覧"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(kDesignedSize);
    setMinimumSize(kMinimumSize);
    ticks_.start();
    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildPageArea();
    connect(&sheets_.Log(), &GenerationLog::LineAppended, this, &SampleViewer::AppendLogLine);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    UpdateNavigation();
}

void SampleViewer::BuildActions()
{
    using V = SampleViewer;
    const ActionSpec specs[] = {
        { "fmnSaveAs", u"名前を付けて保存(&A)...", {}, &V::SavePage },
        { "fmnSaveAll", u"すべて保存(&V)...", {}, &V::SaveAllPages },
        { "fmnSavePDF", u"Acrobat PDF出力", {}, &V::SavePdf },
        { "fmnClose", u"閉じる(&C)", Qt::CTRL | Qt::Key_W, &V::CloseViewer },
        { "emnCopy", u"コピー(&C)", Qt::CTRL | Qt::Key_C, &V::CopyPage },
        { "vmnAheadPage", u"先頭(&A)", Qt::CTRL | Qt::Key_A, &V::FirstPage },
        { "vmnBackPage", u"前へ(&B)", Qt::CTRL | Qt::Key_B, &V::PreviousPage },
        { "vmnFowardPage", u"次へ(&F)", Qt::CTRL | Qt::Key_F, &V::NextPage },
        { "vmnEndOfBook", u"最終(&E)", Qt::CTRL | Qt::Key_E, &V::LastPage },
        { "wmnActiveEditWindow", u"編集ウィンドウをアクティブにする(&A)", {}, &V::ActivateEditRequested },
        { "wmnWindowStretch", u"用紙サイズにあわせる(&S)", {}, &V::FitToPage },
        { "wmnWindowState", u"ウィンドウサイズの切替", Qt::Key_F11, &V::ToggleWindowState },
        { "pmnBackPage", u"前へ(&B)", {}, &V::PreviousPage },
        { "pmnFowardPage", u"次へ(&F)", {}, &V::NextPage },
        { "pmnJumpEditor", u"書体を選択(&J)", {}, nullptr },
        { "pmnSerchFontFace", u"書体を検索(&S)", {}, nullptr },
        // Tool buttons (the caption is the tip).
        { "tBtnSave", u"名前を付けて保存", {}, &V::SavePage },
        { "tBtnAhead", u"先頭", {}, &V::FirstPage },
        { "tBtnBackword", u"前へ", {}, &V::PreviousPage },
        { "tBtnForword", u"次へ", {}, &V::NextPage },
        { "tBtnEndOfPage", u"最終", {}, &V::LastPage },
    };
    for (const ActionSpec& spec : specs) {
        auto* action = new QAction(QString::fromUtf16(spec.caption), this);
        action->setObjectName(QString::fromLatin1(spec.name));
        action->setShortcut(spec.shortcut);
        if (spec.slot)
            connect(action, &QAction::triggered, this, spec.slot);
        actions_.insert(action->objectName(), action);
    }
    connect(actions_.value(QStringLiteral("pmnJumpEditor")), &QAction::triggered, this, [this] {
        const QString face = FaceAtPoint();
        if (!face.isEmpty())
            emit SelectFaceRequested(face);
    });
    connect(actions_.value(QStringLiteral("pmnSerchFontFace")), &QAction::triggered, this,
        [this] { emit FindFaceRequested(FaceAtPoint()); });
}

void SampleViewer::BuildMenus()
{
    auto menu = [this](const char* name, const char16_t* caption, std::initializer_list<const char*> items) {
        QMenu* m = name ? menuBar()->addMenu(QString::fromUtf16(caption)) : new QMenu(this);
        m->setObjectName(QString::fromLatin1(name ? name : "PopupMenu1"));
        for (const char* item : items) {
            if (QByteArrayView(item) == "-")
                m->addSeparator();
            else
                m->addAction(actions_.value(QString::fromLatin1(item)));
        }
        return m;
    };
    menu("FileMenu", u"ファイル(&F)", { "fmnSaveAs", "fmnSaveAll", "fmnSavePDF", "-", "fmnClose" });
    menu("EditMenu", u"編集(&E)", { "emnCopy" });
    menu("ViewMenu", u"表示(&V)", { "vmnAheadPage", "vmnBackPage", "vmnFowardPage", "vmnEndOfBook" });
    menu("WindowMenu", u"ウィンドウ(&W)", { "wmnActiveEditWindow", "-", "wmnWindowStretch", "wmnWindowState" });
    popup_ = menu(nullptr, u"", { "pmnBackPage", "pmnFowardPage", "-", "pmnJumpEditor", "pmnSerchFontFace" });
}

void SampleViewer::BuildToolBar()
{
    toolBar_ = new QWidget(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setFixedHeight(22);
    const std::pair<const char*, QStyle::StandardPixmap> buttons[] = {
        { "tBtnSave", QStyle::SP_DialogSaveButton },
        { "tBtnAhead", QStyle::SP_MediaSkipBackward },
        { "tBtnBackword", QStyle::SP_ArrowLeft },
        { "tBtnForword", QStyle::SP_ArrowRight },
        { "tBtnEndOfPage", QStyle::SP_MediaSkipForward },
    };
    for (const auto& [name, icon] : buttons) {
        auto* button = new QToolButton(toolBar_);
        QAction* action = actions_.value(QString::fromLatin1(name));
        action->setIcon(style()->standardIcon(icon));
        action->setToolTip(action->text());
        button->setDefaultAction(action);
        button->setObjectName(action->objectName());
        button->setAutoRaise(true);
        buttons_.insert(button->objectName(), button);
    }
    for (int i = 0; i < 2; ++i) {
        auto* separator = new QFrame(toolBar_);
        separator->setFrameShape(QFrame::VLine);
        separator->setFrameShadow(QFrame::Sunken);
        separators_.append(separator);
    }
    fontNames_ = new QComboBox(toolBar_);
    fontNames_->setObjectName(QStringLiteral("cmbFontNames"));
    fontNames_->setModel(new QStringListModel(fontNames_));
    fontNames_->setMaxVisibleItems(16);
    // A list-style drop-down measures only the visible items, not all of them.
    fontNames_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    auto* list = new QListView(fontNames_);
    list->setUniformItemSizes(true);
    fontNames_->setView(list);
    fontNames_->setItemDelegate(new FaceItemDelegate(icons_, sheets_.Index().BlockKinds, fontNames_));
    connect(fontNames_, &QComboBox::activated, this, &SampleViewer::ChooseFace);
}

void SampleViewer::PlaceToolBar()
{
    constexpr int kButtonWidth = 23;
    const int height = toolBar_->height();
    buttons_.value(QStringLiteral("tBtnSave"))->setGeometry(0, 0, kButtonWidth, height);
    separators_[0]->setGeometry(23, 0, 25, height);
    const char* names[] = { "tBtnAhead", "tBtnBackword", "tBtnForword", "tBtnEndOfPage" };
    for (int i = 0; i < 4; ++i)
        buttons_.value(QString::fromLatin1(names[i]))->setGeometry(48 + 23 * i, 0, kButtonWidth, height);
    separators_[1]->setGeometry(140, 0, 25, height);
    fontNames_->setGeometry(165, 0, std::max(0, toolBar_->width() - 167), height);
    UpdateNavigation();
}

void SampleViewer::BuildPageArea()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    splitter_ = new QSplitter(Qt::Vertical, central);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setChildrenCollapsible(false);
    layout->addWidget(splitter_, 1);

    scrollBox_ = new QScrollArea(splitter_);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollBox_->setBackgroundRole(QPalette::Dark);
    image1_ = new QLabel;
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_->setContextMenuPolicy(Qt::PreventContextMenu);
    scrollBox_->setWidget(image1_);
    image1_->hide();
    for (QScrollBar* bar : { scrollBox_->horizontalScrollBar(), scrollBox_->verticalScrollBar() }) {
        bar->setSingleStep(1);
        bar->setTracking(true);
    }
    image2_ = new QLabel(scrollBox_);
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->hide();

    panel_ = new QWidget(splitter_);
    panel_->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(panel_);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    memo_ = new QPlainTextEdit(panel_);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The panel opens 34 pixels high, less than the text box would ask for.
    memo_->setMinimumHeight(1);
    panelLayout->addWidget(memo_);
    splitter_->addWidget(scrollBox_);
    splitter_->addWidget(panel_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setSizes({ kDesignedSize.height(), kLogPanelHeight });
    panel_->hide();
    setCentralWidget(central);
}

void SampleViewer::ResetViewer()
{
    if (isVisible())
        close();
    currentPage_ = 0;
    page_ = QImage();
    panel_->hide();
    sheets_.Reset();
    memo_->clear();
    static_cast<QStringListModel*>(fontNames_->model())->setStringList({});
    resize(kDesignedSize);
}

void SampleViewer::ShowRun()
{
    currentPage_ = 0;
    static_cast<QStringListModel*>(fontNames_->model())->setStringList(sheets_.Index().BlockFaces);
    const bool blocks = fontNames_->count() > 0;
    for (const char* name : { "fmnSaveAs", "fmnSaveAll", "tBtnSave", "emnCopy", "fmnSavePDF" })
        actions_.value(QString::fromLatin1(name))->setEnabled(blocks);
    show();
    if (blocks)
        fontNames_->setCurrentIndex(0);
    fontNames_->setFocus();
    ShowPage(1, 0);
}

void SampleViewer::ShowPage(int pageNumber, int y)
{
    if (pageNumber <= 0 || pageNumber > PageCount())
        return;
    QScrollBar* horizontal = scrollBox_->horizontalScrollBar();
    QScrollBar* vertical = scrollBox_->verticalScrollBar();
    horizontal->setValue(0);
    vertical->setValue(0);
    if (pageNumber != currentPage_) {
        image1_->hide();
        page_ = QImage();
        if (PageCount() != 0)
            page_ = LoadPage(sheets_.WorkFolder(), pageNumber);
        if (page_.isNull()) {
            sheets_.Log().LogMessage(LogEvent::FileError);
            image1_->clear();
        } else {
            image1_->setPixmap(QPixmap::fromImage(page_));
            image1_->resize(page_.size());
            image1_->show();
        }
        currentPage_ = pageNumber;
    }
    setWindowTitle(QStringLiteral("見本一覧(%1/%2)").arg(pageNumber).arg(PageCount()));
    // The widget's geometry has to take the new page's size before the bars
    // can reach their new positions.
    scrollBox_->widget()->updateGeometry();
    QCoreApplication::sendPostedEvents(scrollBox_, QEvent::LayoutRequest);
    const int initialScrollX = sheets_.Result().initialScrollX;
    if (horizontal->value() < initialScrollX)
        horizontal->setValue(initialScrollX);
    vertical->setValue(y);
    UpdateNavigation();
}

void SampleViewer::UpdateNavigation()
{
    const bool back = currentPage_ > 1 && PageCount() != 0;
    const bool ahead = currentPage_ < PageCount() && PageCount() != 0;
    for (const char* name : { "tBtnAhead", "tBtnBackword", "vmnAheadPage", "vmnBackPage", "pmnBackPage" })
        actions_.value(QString::fromLatin1(name))->setEnabled(back);
    for (const char* name : { "tBtnForword", "tBtnEndOfPage", "vmnFowardPage", "vmnEndOfBook", "pmnFowardPage" })
        actions_.value(QString::fromLatin1(name))->setEnabled(ahead);
}

void SampleViewer::AppendLogLine(const QString& line)
{
    if (panel_->isHidden()) {
        panel_->show();
        splitter_->setSizes({ std::max(0, splitter_->height() - kLogPanelHeight), kLogPanelHeight });
    }
    memo_->appendPlainText(line);
}

void SampleViewer::ChooseFace(int item)
{
    const PageIndex& index = sheets_.Index();
    if (item < 0 || item >= index.PageKeys.size())
        return;
    const QString& key = index.PageKeys.at(item);
    ShowPage(KeyField(key, 0, 4), KeyField(key, 4, 5));
}

bool SampleViewer::JumpToFace(const QString& faceName)
{
    if (!isVisible())
        return false;
    const QStringList& faces = sheets_.Index().BlockFaces;
    const auto found = std::find_if(faces.cbegin(), faces.cend(),
        [&faceName](const QString& face) { return face.compare(faceName, Qt::CaseInsensitive) == 0; });
    if (found == faces.cend())
        return false;
    const int item = int(found - faces.cbegin());
    fontNames_->setCurrentIndex(item);
    ChooseFace(item);
    raise();
    activateWindow();
    return true;
}

QString SampleViewer::FaceAtPoint() const
{
    const QString page = PageNumberText(currentPage_);
    QStringList entries { page + QStringLiteral("000000000") };
    const PageIndex& index = sheets_.Index();
    for (qsizetype i = 0; i < index.PageKeys.size(); ++i) {
        const QString& key = index.PageKeys.at(i);
        const int keyPage = KeyField(key, 0, 4);
        if (keyPage < currentPage_)
            continue;
        if (keyPage > currentPage_)
            break;
        entries.append(key + index.BlockFaces.value(i));
    }
    entries.append(page + QStringLiteral("999999999"));
    // The leading entry only marks the page: a press above the first block
    // finds nothing.
    for (qsizetype i = 2; i < entries.size(); ++i) {
        const int top = KeyField(entries.at(i - 1), 4, 5);
        const int bottom = KeyField(entries.at(i), 4, 5);
        if (pressPoint_.y() >= top && pressPoint_.y() <= bottom)
            return entries.at(i - 1).mid(9);
    }
    return {};
}

bool SampleViewer::PageBottomVisible() const
{
    return scrollBox_->verticalScrollBar()->value() + scrollBox_->viewport()->height() >= image1_->height();
}

void SampleViewer::ScrollPage(bool down)
{
    scrollBox_->verticalScrollBar()->triggerAction(
        down ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
}

bool SampleViewer::PreviewKey(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier && key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (PageCount() != 0)
            ShowPage(key == Qt::Key_0 ? 10 : key - Qt::Key_0, 0);
        return true;
    }
    if (key != Qt::Key_Space || (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier))
        return false;
    const bool down = modifiers == Qt::NoModifier;
    if (down && PageBottomVisible())
        ShowPage(currentPage_ + 1, 0);
    else if (!down && scrollBox_->verticalScrollBar()->value() == 0)
        ShowPage(currentPage_ - 1, image1_->height());
    else
        ScrollPage(down);
    return true;
}

void SampleViewer::keyPressEvent(QKeyEvent* event)
{
    if (!PreviewKey(*event))
        QMainWindow::keyPressEvent(event);
}

bool SampleViewer::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees the keys before its controls do.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this
        && PreviewKey(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == toolBar_ && event->type() == QEvent::Resize) {
        PlaceToolBar();
    } else if (watched == image1_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            MousePress(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            MouseMove(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            MouseRelease(static_cast<QMouseEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void SampleViewer::MousePress(QMouseEvent* event)
{
    pressPoint_ = event->position().toPoint();
    rightButton_ = event->button() == Qt::RightButton;
    if (event->button() == Qt::LeftButton) {
        image1_->grabMouse(Qt::ClosedHandCursor);
        dragStart_ = quint32(ticks_.elapsed()) | 1u;
        lastMove_ = ticks_.elapsed();
    }
}

void SampleViewer::MouseMove(QMouseEvent* event)
{
    if (dragStart_ == 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const qint64 now = ticks_.elapsed();
    if (now - lastMove_ <= kDragIntervalMs)
        return;
    lastMove_ = now;
    // Positions are in page-image pixels, so the page follows the pointer.
    const QPoint at = event->position().toPoint();
    QScrollBar* horizontal = scrollBox_->horizontalScrollBar();
    QScrollBar* vertical = scrollBox_->verticalScrollBar();
    horizontal->setValue(pressPoint_.x() + horizontal->value() - at.x());
    vertical->setValue(pressPoint_.y() + vertical->value() - at.y());
}

void SampleViewer::MouseRelease(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        dragStart_ = 0;
        image1_->releaseMouse();
        return;
    }
    if (event->button() != Qt::RightButton)
        return;
    const int dx = std::abs(at.x() - pressPoint_.x());
    const int dy = std::abs(at.y() - pressPoint_.y());
    if (dx < dy) {
        if (dy < kGestureSlack)
            popup_->popup(event->globalPosition().toPoint());
        else if (at.y() < pressPoint_.y())
            scrollBox_->verticalScrollBar()->value() == 0 ? ShowPage(currentPage_ - 1, image1_->height())
                                                          : ScrollPage(false);
        else
            PageBottomVisible() ? ShowPage(currentPage_ + 1, 0) : ScrollPage(true);
    } else if (dx < kGestureSlack) {
        popup_->popup(event->globalPosition().toPoint());
        pressPoint_ = at;
    } else {
        at.x() < pressPoint_.x() ? PreviousPage() : NextPage();
    }
}

void SampleViewer::FitToPage()
{
    hide();
    auto widen = [this] { resize(width() + image1_->width() - scrollBox_->viewport()->width(), height()); };
    auto centre = [this] {
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    };
    resize(width() + image1_->width() - scrollBox_->viewport()->width(),
        height() + image1_->height() - scrollBox_->viewport()->height());
    centre();
    widen();
    centre();
    show();
    raise();
}

void SampleViewer::ToggleWindowState()
{
    if (windowState() == Qt::WindowNoState)
        showMaximized();
    else
        showNormal();
}

void SampleViewer::closeEvent(QCloseEvent* event)
{
    if (!sheets_.WorkFolder().isEmpty())
        EmptyWorkFolder(sheets_.WorkFolder());
    event->accept();
}

namespace {

    // The program's own save dialog with the page types.
    void SetUpSaveDialog(QFileDialog& dialog, const QString& name)
    {
        dialog.setObjectName(name);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilters(SaveFilters());
    }

} // namespace

void SampleViewer::ReportError(const QString& reason) { QMessageBox::critical(this, kProductTitle, reason); }

void SampleViewer::SavePage()
{
    QFileDialog dialog(this);
    SetUpSaveDialog(dialog, QStringLiteral("SaveDialog1"));
    dialog.setDefaultSuffix(DefaultSuffixOf(kTypePng));
    dialog.selectFile(QStringLiteral("tzsm") + PageNumberText(currentPage_));
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog] { dialog.setDefaultSuffix(DefaultSuffixOf(FileTypeOf(dialog))); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString name = dialog.selectedFiles().constFirst();
    const SaveFormat format = SaveFormatOf(name);
    if (format == SaveFormat::Pdf) {
        WritePdf(name, currentPage_);
        return;
    }
    QString reason;
    if (!SaveBitmapFile(page_, name, format, png_, &reason))
        ReportError(reason);
}

void SampleViewer::SaveAllPages()
{
    QFileDialog dialog(this);
    SetUpSaveDialog(dialog, QStringLiteral("SaveDialog2"));
    dialog.selectFile(QStringLiteral("tzsm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString reason;
    bool ok;
    {
        BusyCursor busy;
        ok = tz::SaveAllPages(
            sheets_.WorkFolder(), PageCount(), dialog.selectedFiles().constFirst(), FileTypeOf(dialog), png_, &reason);
        image2_->setPixmap(QPixmap(1, 1));
    }
    if (!ok)
        ReportError(reason);
}

void SampleViewer::CopyPage()
{
    const QImage page = LoadPage(sheets_.WorkFolder(), currentPage_);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        QMessageBox::critical(this, kProductTitle, QStringLiteral("クリップボードへのコピーに失敗しました"));
        return;
    }
    clipboard->setImage(page);
}

void SampleViewer::SavePdf()
{
    QFileDialog dialog(this);
    SetUpSaveDialog(dialog, QStringLiteral("SaveDialog1"));
    dialog.selectNameFilter(SaveFilters().value(kTypePdf - 1));
    dialog.setDefaultSuffix(DefaultSuffixOf(kTypePdf));
    dialog.selectFile(QStringLiteral("tzsm"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        WritePdf(dialog.selectedFiles().constFirst(), 0);
}

void SampleViewer::WritePdf(const QString& fileName, int onlyPage)
{
    if (!sheets_.Generated()) {
        ReportError(GenerationLog::Format(LogEvent::FileError, {}, {}, {}));
        return;
    }
    SampleSheets scratch(sheets_.Input());
    RunObserver observer;
    QString reason;
    bool ok;
    {
        BusyCursor busy;
        ok = WritePdfCatalog(scratch, fileName, onlyPage, observer, &reason);
    }
    if (!ok)
        ReportError(reason);
}

} // namespace tz
