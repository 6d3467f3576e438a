#pragma once
// The messages of a generation run, one line each: the run, the renderer and
// the viewer append them; the viewer shows them in its log panel, the print
// command in its information window, `tzind sample` in log.txt.
#include <QObject>
#include <QStringList>

namespace tz {

enum class LogEvent : int {
    AlreadyInstalled = 0, // the font's path, the face name
    Unavailable = 1, // the face name, the file name
    Substituted = 2, // the face name, the file name, the substitute's face name
    DoesNotFit = 3, // the face name, the file name
    NotEmbedded = 4, // the face name, the file name: drawn as outlines in a PDF
    FileError = 0xFFFD,
    AnotherRun = 0xFFFE,
    Stopped = 0xFFFF,
};

class GenerationLog : public QObject {
    Q_OBJECT
public:
    // Formats one line of the event with its texts (a missing text is empty)
    // and appends it.
    void LogMessage(LogEvent event, const QString& first = {}, const QString& second = {}, const QString& third = {});
    static QString Format(LogEvent event, const QString& first, const QString& second, const QString& third);

    const QStringList& Lines() const { return lines_; }
    bool IsEmpty() const { return lines_.isEmpty(); }
    bool Contains(LogEvent event) const;
    void Clear();

signals:
    void LineAppended(const QString& line);

private:
    QStringList lines_;
    QList<LogEvent> events_;
};

} // namespace tz
