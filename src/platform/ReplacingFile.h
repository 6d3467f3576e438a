#pragma once
// A file written under a temporary name beside its target and renamed over
// the target only once it is complete. Every write, the flush to disk and the
// close are checked (a full disk, a quota, an I/O error); on any failure the
// temporary file is removed and the target stays as it was, so no partial
// file ever appears under the target's name.
#include <QFile>
#include <QString>

class QImage;

namespace tz {

enum class ExistingTarget { Replace, Keep };

class ReplacingFile {
public:
    // Scratch files live only in the work folder and are not synced to disk.
    enum class Durability { Synced, Scratch };

    // A target that is a symbolic link is replaced where the link points, so
    // the link stays. The temporary name is the prefix and six letters or
    // digits.
    explicit ReplacingFile(
        const QString& target, Durability durability = Durability::Synced, const char* prefix = ".tzsave-");
    // Removes the temporary file unless it was committed.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file with the permissions of the file it
    // replaces, or those of a new file.
    bool Open();
    // The temporary file, unbuffered: each write reaches the file system at
    // once, and a failed or short write marks the whole file as failed.
    QIODevice& Device() { return file_; }
    const QString& TemporaryPath() const { return temporary_; }
    bool Write(const char* data, qint64 size);
    bool Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }
    // Appends the contents of another file.
    bool WriteContentsOf(const QString& source);
    // Checks that nothing failed, syncs, closes and renames the file over the
    // target. With ExistingTarget::Keep an existing target makes it fail and
    // stays untouched.
    bool Commit(ExistingTarget existing = ExistingTarget::Replace);
    // What failed, for messages.
    QString ErrorString() const;

private:
    // The temporary file: a write that does not take every byte is retried
    // until the file system reports its error, which then stays.
    class CheckedFile : public QFile {
    public:
        bool Failed() const { return failed_; }
        int SavedErrno() const { return savedErrno_; }

    protected:
        qint64 writeData(const char* data, qint64 size) override;

    private:
        bool failed_ = false;
        int savedErrno_ = 0;
    };

    bool Fail(int error);
    bool Discard();

    QString target_;
    Durability durability_;
    QByteArray prefix_;
    QString temporary_;
    CheckedFile file_;
    int fd_ = -1;
    QString error_;
};

// Writes the bytes as the whole file at path through a ReplacingFile; false
// with the reason when they were not written.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error);

// Writes an image in the format Qt's image writers know by that name ("BMP")
// through a ReplacingFile; false with the reason when it was not written.
bool WriteImageFile(const QImage& image, const QString& path, const char* format, QString* error,
    ReplacingFile::Durability durability = ReplacingFile::Durability::Synced);

} // namespace tz
