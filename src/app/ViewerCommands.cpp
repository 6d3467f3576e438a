#include "app/ViewerCommands.h"

#include "app/MainWindow.h"
#include "fontlist/FontList.h"
#include "fontlist/FontListView.h"
#include "viewer/SampleViewer.h"
#include "widgets/BusyCursor.h"

#include <QDialog>
#include <QLineEdit>

namespace tz {

namespace {

    void Activate(QWidget& window)
    {
        window.raise();
        window.activateWindow();
    }

} // namespace

bool SelectFaceRow(MainWindow& main, const QString& face)
{
    FontList& list = main.List();
    {
        BusyCursor busy;
        FontListUpdate batch(list);
        list.DeselectAll();
        for (int row = 0; row < list.Count(); ++row) {
            if (list.Entry(row).FaceName == face) {
                list.SetSelected(row, true);
                break;
            }
        }
    }
    if (list.SelectedCount() == 0)
        return false;
    main.View().MakeVisible(list.FirstSelected());
    Activate(main);
    return true;
}

void ConnectViewer(SampleViewer& viewer, MainWindow& main, QDialog& find)
{
    QObject::connect(&viewer, &SampleViewer::ActivateEditRequested, &main, [&main] { Activate(main); });
    QObject::connect(&viewer, &SampleViewer::SelectFaceRequested, &main,
        [&main](const QString& face) { SelectFaceRow(main, face); });
    QObject::connect(&viewer, &SampleViewer::FindFaceRequested, &main, [&main, &find](const QString& face) {
        Activate(main);
        if (auto* edit = find.findChild<QLineEdit*>(QStringLiteral("Edit1")))
            edit->setText(face);
        find.exec();
    });
}

} // namespace tz
