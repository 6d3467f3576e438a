#pragma once
// The find dialog TForm15: searches the face names of the main list and
// selects the row found. Its text and the row found last survive between
// showings; each showing starts the search at the top again.
#include "fontlist/FaceSearch.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tz {

class FontListView;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize kClientSize { 384, 72 };

    explicit FindDialog(FontListView& view, QWidget* parent = nullptr);

    const FaceSearch& Search() const { return search_; }

public slots:
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Searches once and selects the row found, in one batch; returns the row.
    int SearchAndSelect();
    void ReportNotFound();

    FontListView& view_;
    FaceSearch search_;
    QLineEdit* edit1_ = nullptr;
    QPushButton* button1_ = nullptr;
};

} // namespace tz
