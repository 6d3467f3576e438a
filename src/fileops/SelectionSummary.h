#pragma once
// What the selected rows amount to: faces, distinct files and their bytes,
// whether an archive member is among them. The install wizard's summary and
// the properties window show it.
#include <QStringList>

namespace tz {

class FontList;

struct SelectionSummary {
    int Faces = 0; // selected rows
    int Files = 0; // distinct file keys
    qint64 Bytes = 0; // each file's size counted once
    bool Archive = false; // a file key belongs to an archive member
    // One line per selected row: "face(member)" inside an archive, else the
    // file name.
    QStringList FaceLines;
};

SelectionSummary SummarizeSelection(const FontList& list);

// The size in MB with two decimals ("10.00").
QString MegabyteText(qint64 bytes);

} // namespace tz

namespace tz {

// How the install wizard installs.
struct InstallChoice {
    bool custom = false; // the custom method
    bool copyFiles = true; // custom: copy into the folder, else link in place
    QString folder; // where the fonts are copied to
};

// The install wizard's summary of what is about to happen, line by line.
QStringList InstallSummaryLines(const SelectionSummary& summary, const InstallChoice& choice);

} // namespace tz
