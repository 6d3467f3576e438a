#pragma once
// The sample viewer TForm2: shows the pages of the last preview run one at a
// time at screen resolution, with navigation by tool bar, menu, keys and
// mouse gestures, a list of the sampled faces that jumps to a face's block,
// the run's messages in a log panel, and the export commands. It owns the
// sheets of the last preview run until the next run resets them.
#include "sample/SampleSheets.h"
#include "viewer/PNGImage.h"

#include <QElapsedTimer>
#include <QHash>
#include <QIcon>
#include <QMainWindow>

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

    // The sheets of the last preview run, which the PDF commands run again.
    SampleSheets& Sheets() { return sheets_; }
    void SetKindIcons(const QList<QIcon>& icons) { icons_ = icons; }

    // Closes the viewer and forgets the last run.
    void ResetViewer();
    // Shows the pages of the sheets' finished run.
    void ShowRun();
    void ShowPage(int pageNumber, int y);
    // The face of the block under the last right-button press, or empty.
    QString FaceAtPoint() const;
    // Chooses the first item naming the face (letter case ignored) and
    // brings the viewer to the front; false when there is none.
    bool JumpToFace(const QString& faceName);

    int CurrentPage() const { return currentPage_; }
    int PageCount() const { return sheets_.Result().pageCount; }
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
    void LastPage() { ShowPage(PageCount(), 0); }
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

    SampleSheets sheets_;
    QList<QIcon> icons_;
    int currentPage_ = 0;
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
