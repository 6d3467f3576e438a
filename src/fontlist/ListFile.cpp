#include "fontlist/ListFile.h"

#include "fontlist/DrivePart.h"
#include "fontlist/FontList.h"
#include "platform/Logging.h"
#include "platform/ReplacingFile.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>

namespace tz {

namespace {

    TZ_LOGGING_CATEGORY(lcListFile, "fontlist.listfile", QtWarningMsg)

    constexpr char kHeader[] = "[Generator]\r\nSoftware=\"Typoscan Zindel\"\r\nVersion=0.99\r\n[List099]\r\n";

    // Appends a field with its line breaks and NULs blanked, and its tabs too
    // unless it is the last field (everything after the fifth tab is the size).
    void AppendField(QByteArray& out, const QString& field, bool last)
    {
        const qsizetype start = out.size();
        out += field.toUtf8();
        char* bytes = out.data();
        std::replace_if(
            bytes + start, bytes + out.size(),
            [last](char c) { return c == '\r' || c == '\n' || c == '\0' || (c == '\t' && !last); }, ' ');
    }

    void AppendListRow(QByteArray& out, const FontEntry& entry)
    {
        out += QByteArray::number(entry.Kind);
        for (const QString* field :
            { &entry.FaceName, &entry.FamilyName, &entry.FilePath, &entry.MemberName, &entry.Size }) {
            out += '\t';
            AppendField(out, *field, field == &entry.Size);
        }
    }

    // Splits the content into lines of any length, each without its line end
    // (LF or CR LF). Rows have no length limit: a saved path may be far longer
    // than the 260 characters of Windows, and text read as CP932 grows up to
    // threefold when saved as UTF-8, so any limit would lose saved rows.
    class LineReader {
    public:
        explicit LineReader(const QByteArray& content)
            : content_(content)
        {
        }

        bool Next(QByteArrayView& line)
        {
            const qsizetype left = content_.size() - pos_;
            if (left <= 0)
                return false;
            const char* start = content_.constData() + pos_;
            const auto* feed = static_cast<const char*>(std::memchr(start, '\n', size_t(left)));
            qsizetype length = feed ? feed - start : left;
            pos_ += feed ? length + 1 : length;
            if (feed && length > 0 && start[length - 1] == '\r')
                --length;
            line = QByteArrayView(start, length);
            return true;
        }

    private:
        const QByteArray& content_;
        qsizetype pos_ = 0;
    };

    // Reads lines up to the section line and tells its format.
    ListFormat FindListSection(LineReader& lines)
    {
        QByteArrayView line;
        while (lines.Next(line)) {
            if (line.startsWith("[List0"))
                return line.startsWith("[List098]") ? ListFormat::Previous : ListFormat::Current;
        }
        return ListFormat::None;
    }

    bool IsCSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'; }

    // The decimal integer at the start of the kind field: white space skipped,
    // an optional sign, then digits up to the first non-digit; no digits give 0.
    // Values far outside the kinds stop growing, so nothing overflows.
    int LeadingInteger(QStringView field)
    {
        qsizetype i = 0;
        while (i < field.size() && IsCSpace(field[i]))
            ++i;
        bool negative = false;
        if (i < field.size() && (field[i] == u'+' || field[i] == u'-'))
            negative = field[i++] == u'-';
        int value = 0;
        for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i)
            value = std::min(value * 10 + (field[i].unicode() - u'0'), 1000);
        return negative ? -value : value;
    }

    // Reads the section of one list file into the list, counting into result as
    // it goes so that an exception leaves the counts of the rows already read.
    class SectionReader {
    public:
        SectionReader(FontList& list, const QByteArray& content, const QString& listPath,
            const ListReadOptions& options, ListReadResult& result)
            : list_(list)
            , lines_(content)
            , listPath_(listPath)
            , options_(options)
            , result_(result)
            , utf8_(IsValidUtf8(content))
        {
            if (options_.IgnoreDriveLetter)
                mountPoints_ = options_.MountPoints.isEmpty() ? MountPoints() : options_.MountPoints;
        }

        void Run()
        {
            result_.Format = FindSection();
            if (result_.Format == ListFormat::Previous
                && !(options_.ConfirmConversion && options_.ConfirmConversion())) {
                result_.ConversionDeclined = true;
                return;
            }
            if (result_.Format != ListFormat::None)
                ReadRows();
        }

    private:
        ListFormat FindSection() { return FindListSection(lines_); }

        void ReadRows()
        {
            QByteArrayView line;
            while (lines_.Next(line)) {
                if (line.startsWith('['))
                    return;
                if (AddRow(line))
                    ++result_.Added;
                else
                    ++result_.Failures;
            }
        }

        std::optional<QString> Decode(QByteArrayView bytes) const
        {
            if (bytes.contains('\0'))
                return std::nullopt;
            if (utf8_)
                return QString::fromUtf8(bytes);
            return DecodeCp932(bytes.toByteArray());
        }

        bool AddRow(QByteArrayView bytes)
        {
            const std::optional<QString> line = Decode(bytes);
            if (!line)
                return false;
            const bool previous = result_.Format == ListFormat::Previous;
            const int tabCount = previous ? 4 : 5;
            qsizetype tabs[5];
            qsizetype from = 0;
            for (int i = 0; i < tabCount; ++i) {
                tabs[i] = line->indexOf(u'\t', from);
                if (tabs[i] < 0)
                    return false;
                from = tabs[i] + 1;
            }
            const QStringView text(*line);
            const int kind = LeadingInteger(text.first(tabs[0]));
            if (kind < 0 || kind > 3)
                return false;
            auto field = [&](int n) { return text.sliced(tabs[n] + 1, tabs[n + 1] - tabs[n] - 1).toString(); };
            auto rest = [&](int n) { return text.sliced(tabs[n] + 1).toString(); };
            QString path = field(2);
            if (options_.IgnoreDriveLetter)
                path = RebaseOnListDrive(path, listPath_, mountPoints_);
            const QString member = previous ? rest(3) : field(3);
            QString size;
            if (!previous)
                size = rest(4);
            else if (options_.MeasureSize)
                size = options_.MeasureSize(path, member);
            else
                size = QStringLiteral("0");
            list_.AddEntry(field(0), field(1), path, member, size, kind);
            return true;
        }

        FontList& list_;
        LineReader lines_;
        const QString& listPath_;
        const ListReadOptions& options_;
        ListReadResult& result_;
        const bool utf8_; // else the file is read as CP932
        QStringList mountPoints_;
    };

} // namespace

QByteArray FormatListRow(const FontEntry& entry)
{
    QByteArray out;
    AppendListRow(out, entry);
    return out;
}

QByteArray FormatListFile(const FontList& list)
{
    QByteArray out;
    out.reserve(qsizetype(sizeof kHeader) + qsizetype(list.Count()) * 128);
    out += kHeader;
    for (int row = 0; row < list.Count(); ++row) {
        AppendListRow(out, list.Entry(row));
        out += "\r\n";
    }
    return out;
}

bool WriteListFile(const FontList& list, const QString& path)
{
    // A device or a FIFO (/dev/null, a pipe) is written into: replacing it
    // by a new file, as the atomic write below does, would destroy it.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        QFile device(path);
        const QByteArray content = FormatListFile(list);
        if (device.open(QIODevice::WriteOnly) && device.write(content) == content.size())
            return true;
        qCWarning(lcListFile) << "cannot write" << path << device.errorString();
        return false;
    }
    QString error;
    if (WriteWholeFile(path, FormatListFile(list), &error))
        return true;
    qCWarning(lcListFile) << "cannot write" << path << error;
    return false;
}

ListReadResult ReadListContent(
    FontList& list, const QByteArray& content, const QString& listPath, const ListReadOptions& options)
{
    ListReadResult result;
    FontListUpdate update(list);
    try {
        SectionReader(list, content, listPath, options, result).Run();
    } catch (const std::exception& error) {
        qCWarning(lcListFile) << "reading" << listPath << "stopped:" << error.what();
        result.Status = ListReadStatus::InternalError;
    }
    return result;
}

bool IsFontList(const QByteArray& content)
{
    LineReader lines(content);
    return FindListSection(lines) != ListFormat::None;
}

ListFileBytes LoadListFile(const QString& path)
{
    ListFileBytes bytes;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(lcListFile) << "cannot open" << path << file.errorString();
        bytes.Status = ListReadStatus::CannotOpen;
        return bytes;
    }
    try {
        bytes.Content = file.readAll();
    } catch (const std::bad_alloc&) {
        bytes.Status = ListReadStatus::InternalError;
        return bytes;
    }
    if (file.error() != QFileDevice::NoError) {
        qCInfo(lcListFile) << "cannot read" << path << file.errorString();
        bytes.Status = ListReadStatus::CannotOpen;
    }
    return bytes;
}

ListReadResult ReadListFile(FontList& list, const QString& path, const ListReadOptions& options)
{
    const ListFileBytes bytes = LoadListFile(path);
    if (bytes.Status != ListReadStatus::Read) {
        ListReadResult result;
        result.Status = bytes.Status;
        return result;
    }
    return ReadListContent(list, bytes.Content, path, options);
}

} // namespace tz
