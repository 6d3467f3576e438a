#pragma once
// What the sample viewer asks of the main window: bring it to the front,
// select a face's row, open the find dialog on a face.
class QDialog;
class QString;

namespace tz {

class MainWindow;
class SampleViewer;

void ConnectViewer(SampleViewer& viewer, MainWindow& main, QDialog& find);
// Selects the first row whose face name is exactly `face`; false when none.
bool SelectFaceRow(MainWindow& main, const QString& face);

} // namespace tz
