#pragma once
// The pop-up of a font's documents: a disabled header, a separator and eight
// document items with an icon by the document's kind. Choosing an item opens
// the document through the desktop (a document inside an archive is
// extracted into the work folder first).
#include "fileops/Documents.h"

#include <QMenu>

namespace tz {

class DocumentMenu : public QMenu {
    Q_OBJECT
public:
    static constexpr int kItems = 8;

    DocumentMenu(QString workFolder, QWidget* parent = nullptr);

    // Fills the menu with the documents of entry and pops it up with its
    // top-left corner 12 pixels left of and above at. formats: the archives read.
    void Offer(const FontEntry& entry, const QPoint& at, FontFormats formats = FontFormats::Designed);
    // Fills the menu without showing it.
    void Fill(const FontEntry& entry, FontFormats formats = FontFormats::Designed);

    QAction* Header() const { return header_; }
    QAction* Item(int i) const { return items_[i]; }

private:
    void OpenDocument(int index);

    QString workFolder_;
    FontEntry entry_;
    FontDocuments documents_;
    QAction* header_;
    QAction* items_[kItems];
};

// The 16×16 icon of a document kind (DocumentIconIndex).
QIcon DocumentIcon(int index);

} // namespace tz
