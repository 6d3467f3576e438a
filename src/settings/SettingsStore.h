#pragma once
// The per-user settings store: a tree of keys with typed values (string,
// integer, bool) kept in one text file in the layout of a registry export.
// Owners open a key, read or write its values and close it; reads of absent
// strings give the empty text, reads of absent or wrongly typed numbers fail.
#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

namespace tz {

// The base key every owner's keys hang below.
inline const QString kSettingsBase = QStringLiteral("\\Software\\Quillmoor\\Typoscan\\");

class SettingsStore;

// One open key. Valid only while its store lives.
class SettingsKey {
public:
    QString ReadString(const QString& name) const;
    std::optional<int> ReadInteger(const QString& name) const;
    std::optional<bool> ReadBool(const QString& name) const;
    bool WriteString(const QString& name, const QString& value);
    bool WriteInteger(const QString& name, int value);
    bool WriteBool(const QString& name, bool value);

private:
    friend class SettingsStore;
    SettingsKey(SettingsStore& store, QString group) : store_(&store), group_(std::move(group)) { }
    QString Name(const QString& value) const { return group_ + u'/' + value; }
    SettingsStore* store_;
    QString group_; // key path in the QSettings form: "Software/Quillmoor/..."
};

class SettingsStore {
public:
    // Opens the settings file (TYPOSCAN_SETTINGS, else
    // $XDG_CONFIG_HOME/Quillmoor/Typoscan.reg). A file that was read but
    // could not be parsed is renamed aside and the store starts empty; one
    // that cannot be opened (permissions, no descriptor left, not a regular
    // file) is left as it is, and the store starts empty and writes nothing.
    SettingsStore();
    // A store that only reads: keys are never created and nothing is written.
    struct ReadOnlyTag { };
    static constexpr ReadOnlyTag kReadOnly {};
    explicit SettingsStore(ReadOnlyTag);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    static QString FilePath();

    // Key paths are absolute ("\\Software\\Quillmoor\\Typoscan\\Zindel") or
    // relative to the base key ("Zindel\\Search").
    bool KeyExists(const QString& keyPath) const;
    std::optional<SettingsKey> OpenKey(const QString& keyPath, bool create);

    // Writes pending changes to the file; false when that failed.
    bool Close();

private:
    friend class SettingsKey;
    static QString GroupOf(const QString& keyPath);
    enum class FileState { Absent, Readable, Unparsable, Unopenable };
    // Opens the file without blocking (a FIFO would) and parses it.
    static FileState InspectFile(const QString& path);
    void Open(const QString& path, FileState state);
    std::unique_ptr<QSettings> settings_;
    bool readOnly_ = false;
};

// A guarded group of reads or writes on one key: the first read or write that
// fails ends the group, every later call does nothing, the targets of later
// reads keep their defaults.
class SettingsGroup {
public:
    SettingsGroup(SettingsStore& store, const QString& keyPath, bool create = true);

    SettingsGroup& Read(const QString& name, QString& target);
    SettingsGroup& Read(const QString& name, int& target);
    SettingsGroup& Read(const QString& name, bool& target);
    SettingsGroup& Write(const QString& name, const QString& value);
    SettingsGroup& Write(const QString& name, int value);
    SettingsGroup& Write(const QString& name, bool value);
    SettingsGroup& Write(const QString& name, const char* value) = delete;

    bool Ok() const { return key_.has_value(); }

private:
    std::optional<SettingsKey> key_;
};

} // namespace tz
