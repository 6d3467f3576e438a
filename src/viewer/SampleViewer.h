#pragma once
// The sample viewer TForm2: shows the pages of the last preview run one at a
// time at screen resolution, with navigation by tool bar, menu, keys and
// mouse gestures, a list of the sampled faces that jumps to a face's block,
// the run's messages in a log panel, and the export commands. It owns the
// run's log, index and result until the next run resets it.
#include "sample/GenerationLog.h"
#include "sample/PageIndex.h"
#include "sample/SampleRun.h"
#include "viewer/PNGImage.h"

#include <QElapsedTimer>
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QToolButton;

namespace tz {

class SampleViewer : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize kDesignedSize { 371, 520 };
    static constexpr QSize kMinimumSize { 256, 256 };
    static constexpr int kLogPanelHeight = 34;
    static constexpr int kItemHeight = 16;
    static constexpr int kDragIntervalMs = 50;
    static constexpr int kGestureSlack = 10;

    explicit SampleViewer(QWidget* parent = nullptr);

    // Where the run keeps its messages and its index.
    GenerationLog& Log() { return log_; }
    PageIndex& Index() { return index_; }
    void SetKindIcons(const QList<QIcon>& icons) { icons_ = icons; }
    // The input of the last preview run, which the PDF commands run again.
    void SetRunInput(std::optional<SampleInput> input) { runInput_ = std::move(input); }

    // Closes the viewer and forgets the last run.
    void ResetViewer();
    // Shows the pages a finished preview run left in the work folder.
    void ShowRun(const SampleResult& result, const QString& workFolder);
    void ShowPage(int pageNumber, int y);
    // The face of the block under the last right-button press, or empty.
    QString FaceAtPoint() const;
    // Chooses the first item naming the face (letter case ignored) and
    // brings the viewer to the front; false when there is none.
    bool JumpToFace(const QString& faceName);

    int CurrentPage() const { return currentPage_; }
    int PageCount() const { return pageCount_; }
    const QImage& Page() const { return page_; }
    QAction* Action(const QString& name) const { return actions_.value(name); }
    void SetPressPoint(QPoint point) { pressPoint_ = point; }

    // The commands.
    void SavePage();
    void SaveAllPages();
    void CopyPage();
    void SavePdf();
    void FirstPage() { ShowPage(1, 0); }
    void PreviousPage() { ShowPage(currentPage_ - 1, 0); }
    void NextPage() { ShowPage(currentPage_ + 1, 0); }
    void LastPage() { ShowPage(pageCount_, 0); }
    void CloseViewer() { close(); }
    void FitToPage();
    void ToggleWindowState();

signals:
    // Bring the main window to the front.
    void ActivateEditRequested();
    // Select the face's first row in the main list.
    void SelectFaceRequested(const QString& faceName);
    // Open the find dialog on the face.
    void FindFaceRequested(const QString& faceName);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ActionSpec;
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildPageArea();
    void PlaceToolBar();
    void UpdateNavigation();
    void AppendLogLine(const QString& line);
    void ChooseFace(int item);
    void ScrollPage(bool down);
    // Ctrl+digit, Space and Shift+Space; true when the key was used.
    bool PreviewKey(const QKeyEvent& event);
    bool PageBottomVisible() const;
    void MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    // Writes the whole run, or page n alone, as a PDF file.
    void WritePdf(const QString& fileName, int onlyPage);
    void ReportError(const QString& reason);

    GenerationLog log_;
    PageIndex index_;
    std::optional<SampleInput> runInput_;
    QString workFolder_;
    QList<QIcon> icons_;
    int currentPage_ = 0;
    int pageCount_ = 0;
    int initialScrollX_ = 0;
    QImage page_;
    TPNGImage png_;
    quint32 dragStart_ = 0;
    QElapsedTimer ticks_;
    qint64 lastMove_ = 0;
    QPoint pressPoint_;
    bool rightButton_ = false;

    QHash<QString, QAction*> actions_;
    QWidget* toolBar_ = nullptr;
    QHash<QString, QToolButton*> buttons_;
    QList<QWidget*> separators_;
    QComboBox* fontNames_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* image2_ = nullptr;
    QWidget* panel_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QMenu* popup_ = nullptr;
};

} // namespace tz
