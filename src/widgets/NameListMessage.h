#pragma once
// An information message over a list of names that may be long (the files an
// adding command could not add, each with the reason): the text stands above
// a two-column list of bounded height that scrolls, so the box never grows
// past the screen however many names there are.
#include <QList>
#include <QString>

class QWidget;

namespace tz {

class NameListMessage {
public:
    struct Row {
        QString name;
        QString note; // shown beside the name
    };
    // Rows shown before the list scrolls.
    static constexpr int kVisibleRows = 12;

    // Shows the message modally, titled with the product name.
    static void Show(QWidget* parent, const QString& text, const QList<Row>& rows);
};

} // namespace tz
