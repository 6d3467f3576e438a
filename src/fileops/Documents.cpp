#include "fileops/Documents.h"

#include "archive/Archivettf.h"
#include "fileops/FontFileCopy.h"
#include "fontlist/FontList.h"
#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>

namespace tz {

namespace {

    // The extensions looked for beside a plain font, in this order.
    const char16_t* const kFolderDocumentExtensions[]
        = { u".TXT", u".DOC", u".WRI", u".RTF", u".HTM", u".HTML", u".URL" };

    QString BaseName(const QString& fileName)
    {
        const qsizetype dot = fileName.lastIndexOf(u'.');
        return dot < 0 ? fileName : fileName.left(dot);
    }

    QString ExtractedDocument(
        const QString& archive, const ArchiveMember& member, const QString& workFolder, FontFormats formats)
    {
        const QString name = FileNamePart(member.Name);
        if (!IsPlainFileName(name))
            return {};
        const QString extracted = workFolder + u'/' + name;
        if (!ExtractMember(archive, member, extracted, formats))
            return {};
        const QString ext = UpperExtension(name);
        if (!ext.isEmpty() && ext != u".DIZ")
            return extracted;
        // Shown as text: a copy named ".TXT"; one made earlier is kept.
        const QString text = extracted + QStringLiteral(".TXT");
        if (!QFileInfo::exists(text))
            QFile::copy(extracted, text);
        QFile::remove(extracted);
        return text;
    }

} // namespace

int DocumentIconIndex(const QString& name)
{
    const QString ext = UpperExtension(name);
    if (ext == u".DOC" || ext == u".WRI" || ext == u".RTF")
        return 1;
    if (ext == u".HTM" || ext == u".HTML")
        return 2;
    if (ext == u".URL")
        return 3;
    return 0;
}

FontDocuments FindDocuments(const FontEntry& entry, FontFormats formats)
{
    FontDocuments found;
    found.Formats = formats;
    const QString path = ResolvePath(entry.FilePath);
    if (!QFileInfo::exists(path)) {
        found.Header = QStringLiteral("ファイルが見つかりません");
        return found;
    }
    if (!entry.MemberName.isEmpty()) {
        found.Where = FontDocuments::Place::Archive;
        found.Header = QStringLiteral("書庫ファイル内のドキュメント");
        found.Members = ListDocumentMembers(path, formats).Members;
        for (const ArchiveMember& member : std::as_const(found.Members))
            found.Names << member.Name;
        return found;
    }
    found.Where = FontDocuments::Place::Folder;
    found.Header = QStringLiteral("フォルダ内のドキュメント");
    const QFileInfo font(path);
    found.Folder = font.absolutePath();
    const QString base = found.Folder + u'/' + BaseName(font.fileName());
    for (const char16_t* ext : kFolderDocumentExtensions) {
        const QFileInfo document(ResolveLastComponent(base + QString::fromUtf16(ext)));
        if (document.isFile())
            found.Names << document.fileName();
    }
    return found;
}

QString PrepareDocument(const FontDocuments& documents, const FontEntry& entry, int index, const QString& workFolder)
{
    if (index < 0 || index >= documents.Names.size())
        return {};
    switch (documents.Where) {
    case FontDocuments::Place::Folder:
        return documents.Folder + u'/' + documents.Names[index];
    case FontDocuments::Place::Archive:
        return ExtractedDocument(entry.FilePath, documents.Members[index], workFolder, documents.Formats);
    case FontDocuments::Place::Missing:
        break;
    }
    return {};
}

QStringList SelectedFontFiles(const FontList& list)
{
    QStringList files;
    for (int row = 0; row < list.Count(); ++row) {
        if (!list.IsSelected(row))
            continue;
        const QString path = ResolvePath(list.Entry(row).FilePath);
        if (QFileInfo::exists(path))
            files << path;
    }
    return files;
}

QStringList SelectedFolders(const FontList& list)
{
    QStringList folders;
    for (int row = 0; row < list.Count(); ++row) {
        if (!list.IsSelected(row))
            continue;
        const QString& path = list.Entry(row).FilePath;
        const QString folder = UpperAscii(path.left(path.lastIndexOf(u'/') + 1));
        if (!folders.contains(folder, Qt::CaseInsensitive))
            folders << folder;
    }
    return folders;
}

} // namespace tz
