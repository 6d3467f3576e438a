#pragma once
// The help window: contents, full-text search and context help by number over
// the pages bundled with the program.
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace tz {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    struct Topic {
        int Context;   // help context number, 0 for the contents page
        QString Page;  // resource path
        QString Title;
    };

    explicit HelpWindow(QWidget* parent = nullptr);

    static const QList<Topic>& Topics();
    // Shows the page of a context number (the contents page for unknown ones).
    void ShowContext(int context);
    // Shows the search tab with the focus in its field.
    void ShowSearch();
    // Titles of the pages that contain every word of text, ignoring case.
    static QStringList Search(const QString& text);
    QString CurrentPage() const;

private:
    void ShowPage(const QString& page);
    void RunSearch();

    QTabWidget* tabs_;
    QListWidget* contents_;
    QLineEdit* query_;
    QListWidget* results_;
    QTextBrowser* browser_;
};

} // namespace tz
