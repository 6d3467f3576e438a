#pragma once
// A desktop shell that records what it was asked to open instead of starting
// applications; in use while it lives.
#include "fileops/DesktopShell.h"

#include <QStringList>

namespace tz::test {

class RecordingShell : public DesktopShell {
public:
    RecordingShell() { DesktopShell::Use(this); }
    ~RecordingShell() override { DesktopShell::Use(nullptr); }

    bool Open(const QString& path) override
    {
        Opened << path;
        return true;
    }
    bool ShowProperties(const QString& path) override
    {
        PropertiesShown << path;
        return FileManagerAnswers;
    }

    QStringList Opened;
    QStringList PropertiesShown;
    bool FileManagerAnswers = true;
};

} // namespace tz::test
