#pragma once
// The name window of the page setup ("ページ設定名を編集"): edits the name of the
// selected quick setting. OK refuses an empty name and the name of another
// setting; every other close puts the selected setting's name back.
#include <QDialog>
#include <QStringList>

class QLineEdit;

namespace tz {

class SetupNameDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNameBytes = 32; // in CP932, a double-byte character counts two

    explicit SetupNameDialog(QWidget* parent = nullptr);

    // The names of the four settings and the one being renamed; call before showing.
    void SetNames(const QStringList& names, int selected);
    // The field's text.
    QString Name() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString Validate(const QString& name) const;

    QLineEdit* edtName_;
    QStringList names_;
    int selected_ = 0;
};

} // namespace tz
