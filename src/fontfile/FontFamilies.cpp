#include "fontfile/FontFamilies.h"

#include "platform/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>

#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <memory>

TZ_LOGGING_CATEGORY(lcFontFamilies, "fontfamilies")

namespace tz {

namespace {

    constexpr int kSettleMs = 300;

    struct ConfigDeleter {
        void operator()(FcConfig* config) const { FcConfigDestroy(config); }
    };
    using ConfigPtr = std::unique_ptr<FcConfig, ConfigDeleter>;

    // A configuration of its own, loaded from the files as they are now; the
    // process-wide one would only notice changes after its rescan interval.
    ConfigPtr FreshConfig()
    {
        ConfigPtr config(FcInitLoadConfigAndFonts());
        if (!config)
            qCWarning(lcFontFamilies) << "fontconfig configuration could not be loaded";
        return config;
    }

    // The process-wide configuration, loaded once; cheap, but possibly stale.
    ConfigPtr CurrentConfig() { return ConfigPtr(FcConfigReference(nullptr)); }

    QString ToQString(const FcChar8* text) { return QString::fromUtf8(reinterpret_cast<const char*>(text)); }

    // An OpenType file with CFF outlines and a bare CFF file both report the
    // format "CFF"; only the first is an sfnt font.
    bool StartsWithSfntTag(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray tag = file.read(4);
        return tag == QByteArrayLiteral("OTTO") || tag == QByteArray("\x00\x01\x00\x00", 4)
            || tag == QByteArrayLiteral("true") || tag == QByteArrayLiteral("ttcf");
    }

    bool IsSfntFont(FcPattern* font)
    {
        FcChar8* format = nullptr;
        if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch)
            return false;
        const QByteArray name(reinterpret_cast<const char*>(format));
        if (name == "TrueType")
            return true;
        FcChar8* file = nullptr;
        return name == "CFF" && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch
            && StartsWithSfntTag(ToQString(file));
    }

    QStringList ToStringList(FcStrList* list)
    {
        QStringList result;
        if (!list)
            return result;
        while (FcChar8* item = FcStrListNext(list))
            result << ToQString(item);
        FcStrListDone(list);
        return result;
    }

    // The home folder and the root change all the time and never hold fonts
    // themselves, so they are not watched in place of a missing font folder.
    QString NearestExistingFolder(QString path)
    {
        while (!QFileInfo(path).isDir()) {
            const QString parent = QFileInfo(path).absolutePath();
            if (parent == path || parent == QDir::homePath() || parent == QDir::rootPath())
                return QString();
            path = parent;
        }
        return path;
    }

} // namespace

QStringList InstalledTrueTypeFamilies(FontConfigView view)
{
    const ConfigPtr config = view == FontConfigView::Fresh ? FreshConfig() : CurrentConfig();
    if (!config)
        return {};
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FONTFORMAT, FC_FILE, nullptr);
    FcFontSet* fonts = FcFontList(config.get(), pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);

    QSet<QString> seen;
    QStringList families;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
            continue;
        const QString name = ToQString(family);
        if (name.isEmpty() || name.startsWith(u'@') || seen.contains(name) || !IsSfntFont(fonts->fonts[i]))
            continue;
        seen.insert(name);
        families << name;
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return families;
}

FontFolderWatcher::FontFolderWatcher(QObject* parent)
    : QObject(parent)
    , watcher_(new QFileSystemWatcher(this))
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &FontFolderWatcher::Settled);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    Rewatch(false);
}

QStringList FontFolderWatcher::WatchedPaths() const { return watcher_->directories() + watcher_->files(); }

void FontFolderWatcher::Rewatch(bool freshConfig)
{
    const ConfigPtr config = freshConfig ? FreshConfig() : CurrentConfig();
    if (!config)
        return;
    QSet<QString> paths;
    const QStringList configured = ToStringList(FcConfigGetConfigDirs(config.get()));
    const QStringList scanned = ToStringList(FcConfigGetFontDirs(config.get()));
    for (const QString& folder : configured + scanned) {
        const QString existing = NearestExistingFolder(folder);
        if (!existing.isEmpty())
            paths.insert(existing);
    }
    // A configuration file that is replaced stops being watched, so its folder
    // is watched as well (conf.d gains and loses files too).
    for (const QString& file : ToStringList(FcConfigGetConfigFiles(config.get()))) {
        if (QFileInfo::exists(file)) {
            paths.insert(file);
            paths.insert(QFileInfo(file).absolutePath());
        }
    }
    const QStringList old = WatchedPaths();
    if (!old.isEmpty())
        watcher_->removePaths(old);
    const QStringList wanted(paths.begin(), paths.end());
    if (!wanted.isEmpty())
        watcher_->addPaths(wanted);
    qCDebug(lcFontFamilies) << "watching" << wanted.size() << "font and configuration paths";
}

void FontFolderWatcher::Settled()
{
    // New sub-folders and replaced files need watching from now on.
    Rewatch(true);
    emit FontsChanged();
}

} // namespace tz
