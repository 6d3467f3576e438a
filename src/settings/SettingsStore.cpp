#include "settings/SettingsStore.h"

#include "platform/Logging.h"
#include "settings/RegFormat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TZ_LOGGING_CATEGORY(lcSettings, "settings")

namespace tz {

namespace {

    // A file that was read but could not be parsed is moved aside so that
    // the user's data is never overwritten without a trace.
    void SetAside(const QString& path)
    {
        const QString stem
            = path + QStringLiteral(".broken-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString aside = stem;
        for (int n = 2; QFile::exists(aside); ++n)
            aside = stem + QStringLiteral("-%1").arg(n);
        if (QFile::rename(path, aside))
            qCWarning(lcSettings) << "unreadable settings file kept as" << aside;
        else
            qCWarning(lcSettings) << "unreadable settings file could not be set aside:" << path;
    }

} // namespace

QString SettingsStore::FilePath()
{
    const QString override = qEnvironmentVariable("TYPOSCAN_SETTINGS");
    if (!override.isEmpty())
        return override;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Quillmoor/Typoscan.reg");
}

SettingsStore::FileState SettingsStore::InspectFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? FileState::Absent : FileState::Unopenable;
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileState::Unopenable;
    }
    QFile file;
    QSettings::SettingsMap probe;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return FileState::Unopenable;
    return ReadRegFormat(file, probe) ? FileState::Readable : FileState::Unparsable;
}

SettingsStore::SettingsStore()
{
    const QString path = FilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    Open(path, InspectFile(path));
}

SettingsStore::SettingsStore(ReadOnlyTag)
    : readOnly_(true)
{
    const QString path = FilePath();
    // Only the writing store sets a broken file aside; this one reads what
    // it can.
    const FileState state = InspectFile(path);
    Open(path, state == FileState::Unparsable ? FileState::Readable : state);
}

void SettingsStore::Open(const QString& path, FileState state)
{
    if (state == FileState::Unparsable)
        SetAside(path);
    if (state != FileState::Unopenable) {
        settings_ = std::make_unique<QSettings>(path, RegFormat());
        return;
    }
    // Neither read nor written: the program runs on the defaults and the
    // file stays exactly as it is.
    qCWarning(lcSettings) << "settings file cannot be opened; the defaults are used and it is left alone:" << path;
    settings_ = std::make_unique<QSettings>(QString(), RegFormat());
    readOnly_ = true;
}

SettingsStore::~SettingsStore() { Close(); }

bool SettingsStore::Close()
{
    if (!settings_ || readOnly_)
        return true;
    settings_->sync();
    const bool ok = settings_->status() == QSettings::NoError;
    if (!ok)
        qCWarning(lcSettings) << "settings could not be written:" << FilePath();
    return ok;
}

QString SettingsStore::GroupOf(const QString& keyPath)
{
    QString path = keyPath;
    if (!path.startsWith(u'\\'))
        path.prepend(kSettingsBase);
    path.replace(u'\\', u'/');
    while (path.startsWith(u'/'))
        path.remove(0, 1);
    while (path.endsWith(u'/'))
        path.chop(1);
    return path;
}

bool SettingsStore::KeyExists(const QString& keyPath) const
{
    const QString group = GroupOf(keyPath);
    if (settings_->contains(group + u'/' + kKeyMarker))
        return true;
    // Any value or sub-key below the key makes it exist as well.
    const QStringList keys = settings_->allKeys();
    const QString prefix = group + u'/';
    return std::any_of(keys.begin(), keys.end(), [&](const QString& k) { return k.startsWith(prefix); });
}

std::optional<SettingsKey> SettingsStore::OpenKey(const QString& keyPath, bool create)
{
    const QString group = GroupOf(keyPath);
    if (!KeyExists(keyPath)) {
        if (!create || readOnly_)
            return std::nullopt;
        // Every key on the way exists afterwards, as with a registry.
        QString partial;
        for (const QString& part : group.split(u'/')) {
            partial += (partial.isEmpty() ? QString() : QStringLiteral("/")) + part;
            if (!settings_->contains(partial + u'/' + kKeyMarker))
                settings_->setValue(partial + u'/' + kKeyMarker, 1);
        }
    }
    return SettingsKey(*this, group);
}

QString SettingsKey::ReadString(const QString& name) const
{
    const QVariant value = store_->settings_->value(Name(name));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

std::optional<int> SettingsKey::ReadInteger(const QString& name) const
{
    const QVariant value = store_->settings_->value(Name(name));
    if (value.typeId() != QMetaType::Int)
        return std::nullopt;
    return value.toInt();
}

std::optional<bool> SettingsKey::ReadBool(const QString& name) const
{
    const auto value = ReadInteger(name);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

bool SettingsKey::WriteString(const QString& name, const QString& value)
{
    store_->settings_->setValue(Name(name), value);
    return store_->settings_->isWritable();
}

bool SettingsKey::WriteInteger(const QString& name, int value)
{
    store_->settings_->setValue(Name(name), value);
    return store_->settings_->isWritable();
}

bool SettingsKey::WriteBool(const QString& name, bool value) { return WriteInteger(name, value ? 1 : 0); }

SettingsGroup::SettingsGroup(SettingsStore& store, const QString& keyPath, bool create)
    : key_(store.OpenKey(keyPath, create))
{
}

SettingsGroup& SettingsGroup::Read(const QString& name, QString& target)
{
    if (key_)
        target = key_->ReadString(name);
    return *this;
}

SettingsGroup& SettingsGroup::Read(const QString& name, int& target)
{
    if (!key_)
        return *this;
    if (const auto value = key_->ReadInteger(name))
        target = *value;
    else
        key_.reset();
    return *this;
}

SettingsGroup& SettingsGroup::Read(const QString& name, bool& target)
{
    if (!key_)
        return *this;
    if (const auto value = key_->ReadBool(name))
        target = *value;
    else
        key_.reset();
    return *this;
}

SettingsGroup& SettingsGroup::Write(const QString& name, const QString& value)
{
    if (key_ && !key_->WriteString(name, value))
        key_.reset();
    return *this;
}

SettingsGroup& SettingsGroup::Write(const QString& name, int value)
{
    if (key_ && !key_->WriteInteger(name, value))
        key_.reset();
    return *this;
}

SettingsGroup& SettingsGroup::Write(const QString& name, bool value)
{
    if (key_ && !key_->WriteBool(name, value))
        key_.reset();
    return *this;
}

} // namespace tz
