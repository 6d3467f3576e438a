#pragma once
// The dialog of the character search: the text whose characters the faces
// must have, in an editable drop-down list holding the texts searched before
// (most recent first, at most eight, stored under Zindel\CharSearch), with
// OK and Cancel.
#include <QDialog>
#include <optional>

class QComboBox;

namespace tz {

class CharSearchDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHistoryLimit = 8;
    static const QString kKeyPath;

    // Loads the history.
    explicit CharSearchDialog(QWidget* parent = nullptr);
    // Stores the history.
    ~CharSearchDialog() override;

    // Shows the dialog modally: the text on OK, nothing on Cancel.
    std::optional<QString> Ask();
    const QStringList& History() const { return history_; }

    // OK takes a text only when it holds a character other than white space;
    // the text goes to the top of the history.
    void done(int result) override;

private:
    void ShowHistory(const QString& text);

    QStringList history_;
    QComboBox* cmbText_ = nullptr;
};

} // namespace tz
