#include "fileops/FontInstaller.h"

#include "fileops/CopyRun.h"
#include "fileops/FileOpsLog.h"
#include "fontfile/InstalledFontFiles.h"
#include "fontlist/FontList.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>

namespace tz {

namespace {

    void Problem(InstallResult& result, const QString& line)
    {
        result.Log << line;
        result.Problems << line;
    }

    // The target is this very file already: the same file, a link to it, or
    // a file of the same bytes.
    bool AlreadyThere(const QString& source, const QString& target, bool linking)
    {
        const QString canonical = QFileInfo(target).canonicalFilePath();
        if (!canonical.isEmpty() && canonical == QFileInfo(source).canonicalFilePath())
            return true;
        return !linking && SameContent(source, target);
    }

    // A font that lies in the folder (or below) is installed there already,
    // whatever name a copy would get.
    bool InsideFolder(const QString& path, const QString& folder)
    {
        const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
        return !canonicalFolder.isEmpty() && QFileInfo(path).canonicalFilePath().startsWith(canonicalFolder + u'/');
    }

} // namespace

FontInstaller::FontInstaller(const FontList& list, QString workFolder)
    : list_(list)
    , workFolder_(std::move(workFolder))
{
}

QString FontInstaller::TargetFolder() const
{
    return Method == InstallMethod::CopyToFolder ? Folder : InstalledFontFiles::FontsFolder();
}

int FontInstaller::RunFcCache(const QString& folder)
{
    return QProcess::execute(QStringLiteral("fc-cache"), { folder });
}

InstallResult FontInstaller::Run()
{
    aborted_ = false;
    InstallResult result;
    const QString folder = TargetFolder();
    if (!QDir().mkpath(folder)) {
        Problem(result, QStringLiteral("%1 が作成できませんでした．").arg(folder));
        return result;
    }
    std::vector<int> rows;
    QSet<QString> keys;
    for (int row = 0; row < list_.Count(); ++row) {
        if (!list_.IsSelected(row) || keys.contains(FileKey(list_.Entry(row))))
            continue;
        keys.insert(FileKey(list_.Entry(row)));
        rows.push_back(row);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const FontEntry& entry = list_.Entry(rows[i]);
        if (Progress)
            Progress(int(i * 100 / rows.size()), entry.FaceName);
        if (LetEventsRun)
            LetEventsRun();
        if (aborted_) {
            result.Log << QStringLiteral("インストールを中止しました．");
            result.Stopped = true;
            break;
        }
        if (InstallRow(entry, folder, result) == Step::End) {
            result.Stopped = true;
            break;
        }
    }
    if (Progress)
        Progress(100, QString());
    if (result.Installed > 0 && RefreshFontCache && RefreshFontCache(folder) != 0)
        Problem(result, QStringLiteral("フォントキャッシュが更新できませんでした．"));
    result.Log << QStringLiteral("%1 ファイルをインストールしました．").arg(result.Installed);
    return result;
}

FontInstaller::Step FontInstaller::InstallRow(const FontEntry& entry, const QString& folder, InstallResult& result)
{
    const bool linking = Method == InstallMethod::LinkInPlace;
    // The file's own name (the member's for an archive member) decides.
    const int kind = WrittenKind(entry.MemberName.isEmpty() ? entry.FilePath : entry.MemberName, entry.Kind, Formats);
    if (linking && (!entry.MemberName.isEmpty() || (kind & kKindMac))) {
        Problem(result, entry.FaceName + QStringLiteral(" はコピーせずにインストールできません．"));
        return Step::Next;
    }
    std::optional<FontSource> source = FontSource::Obtain(entry, workFolder_, Formats);
    if (!source || !QFileInfo(source->Path()).isFile()) {
        Problem(result, NotExtractedLine(entry));
        return Step::Next;
    }
    if (InsideFolder(source->Path(), folder)) {
        result.Log << source->Name() + QStringLiteral(" はインストール済みです．");
        ++result.AlreadyInstalled;
        return Step::Next;
    }
    const std::optional<FontSource> font = FontSource::AsTrueType(std::move(*source), kind, workFolder_);
    if (!font) {
        Problem(result, entry.FaceName + QStringLiteral("がインストールできませんでした．"));
        return Step::Next;
    }
    const QString name = TargetFileName(font->Name(), kind, AddExtension, Formats);
    return Place(*font, folder + u'/' + name, result);
}

FontInstaller::Step FontInstaller::Place(const FontSource& font, const QString& target, InstallResult& result)
{
    const bool linking = Method == InstallMethod::LinkInPlace;
    const QString name = QFileInfo(target).fileName();
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink()) {
        if (AlreadyThere(font.Path(), target, linking)) {
            result.Log << name + QStringLiteral(" はインストール済みです．");
            ++result.AlreadyInstalled;
        } else {
            Problem(result, name + QStringLiteral(" と同じ名前のファイルがあるためインストールしませんでした．"));
        }
        return Step::Next;
    }
    if (!linking) {
        const std::optional<qint64> free = FreeBytes ? FreeBytes(QFileInfo(target).path()) : std::nullopt;
        if (free && font.Size() > *free) {
            Problem(result, kNoFreeSpace);
            result.Log << QStringLiteral("インストールを中止しました．");
            return Step::End;
        }
    }
    const bool placed = linking ? QFile::link(font.Path(), target)
                                : CopyOneFont(kKindSingle, font.Path(), target, ExistingTarget::Keep);
    if (!placed) {
        Problem(result, name + QStringLiteral("がインストールできませんでした．"));
        return Step::Next;
    }
    result.Log << name + QStringLiteral(" をインストールしました．");
    ++result.Installed;
    return Step::Next;
}

} // namespace tz
