#include "settings/EnvironmentSettings.h"

#include "platform/FontSubstitutes.h"
#include "settings/SettingsStore.h"

#include <cstring>
#include <type_traits>
#include <variant>

namespace tz {

namespace {

    using Settings = EnvironmentSettings;

    // One stored value of the record: its key and name, how it is stored, its
    // default and the field of the record that holds it.
    struct StoredValue {
        enum class Type {
            Bool,
            SampleSize, // an integer; a stored size outside 1-99 leaves the field as it was
            Text,
            SizeText, // an integer stored as text; text that is no size in 1-99 reads as the default
        };
        using Field = std::variant<bool& (*)(Settings&), int& (*)(Settings&), QString& (*)(Settings&)>;

        const char* key; // below the base key
        const char* name;
        Type type;
        int defaultValue; // bools as 0 or 1; texts start empty
        Field field;
        // The first button of a radio-button pair this value is the second of:
        // when both are stored as chosen, the one read last wins, as it would
        // on screen.
        bool& (*pairedWith)(Settings&) = nullptr;
        // Read and written in a guarded group of its own, not with the values
        // of its key before it.
        bool ownGroup = false;
    };

    using T = StoredValue::Type;
#define TZ_FIELD(member) +[](Settings& s) -> auto& { return s.member; }

    // In the order of reading: a value that cannot be read ends its group
    // (the values of one key in a row, see ownGroup).
    const StoredValue kValues[] = {
        { "Common\\Size", "pt8", T::Bool, 0, TZ_FIELD(lineShown[0]) },
        { "Common\\Size", "pt12", T::Bool, 1, TZ_FIELD(lineShown[1]) },
        { "Common\\Size", "pt30", T::Bool, 1, TZ_FIELD(lineShown[2]) },
        { "Common\\Size", "pt60", T::Bool, 0, TZ_FIELD(lineShown[3]) },
        { "Common\\Size", "size8", T::SampleSize, 8, TZ_FIELD(lineSize[0]) },
        { "Common\\Size", "size12", T::SampleSize, 12, TZ_FIELD(lineSize[1]) },
        { "Common\\Size", "size30", T::SampleSize, 30, TZ_FIELD(lineSize[2]) },
        { "Common\\Size", "size60", T::SampleSize, 60, TZ_FIELD(lineSize[3]) },
        { "Zindel\\Drop", "Item1", T::Bool, 1, TZ_FIELD(drop.firstFace) },
        { "Zindel\\Drop", "Item2", T::Bool, 0, TZ_FIELD(drop.lastFace), TZ_FIELD(drop.firstFace) },
        { "Zindel\\Drop", "Enable", T::Bool, 1, TZ_FIELD(drop.oneFace) },
        { "Zindel\\Search", "Item1", T::Bool, 1, TZ_FIELD(search.firstFace) },
        { "Zindel\\Search", "Item2", T::Bool, 0, TZ_FIELD(search.lastFace), TZ_FIELD(search.firstFace) },
        { "Zindel\\Search", "Enable", T::Bool, 1, TZ_FIELD(search.oneFace) },
        { "Zindel\\Search", "Archive", T::Bool, 1, TZ_FIELD(searchArchives), nullptr, true },
        { "Zindel\\Search", "Execute", T::Bool, 1, TZ_FIELD(searchSelfExtracting), nullptr, true },
        { "Zindel\\Title", "Text", T::Text, 0, TZ_FIELD(customFace) },
        { "Zindel\\Title", "Size", T::SizeText, Settings::kStandardHeadingSize, TZ_FIELD(customSize) },
        { "Zindel\\Title", "Value", T::Bool, 1, TZ_FIELD(headingStandard) },
        { "Zindel\\Misc", "EnableAnsiMessage", T::Bool, 1, TZ_FIELD(sjisAlsoAscii) },
        { "Zindel\\Misc", "EnablePlus", T::Bool, 0, TZ_FIELD(smoothPreview) },
        { "Zindel\\Misc", "EnableMacExt", T::Bool, 1, TZ_FIELD(macExtension) },
        // A group of its own: files written before it existed lack it, and the
        // values read before it must not depend on it.
        { "Zindel\\Misc", "EnableAllFormats", T::Bool, 0, TZ_FIELD(allFormats), nullptr, true },
        { "Zindel\\Caption", "EnablechkFace", T::Bool, 1, TZ_FIELD(heading.showFace) },
        { "Zindel\\Caption", "EnablechkFamily", T::Bool, 1, TZ_FIELD(heading.showFamily) },
        { "Zindel\\Caption", "EnablechkFile", T::Bool, 1, TZ_FIELD(heading.showFile) },
        { "Zindel\\Caption", "FaceLeftValue", T::Bool, 1, TZ_FIELD(heading.namesLeft) },
        { "Zindel\\Caption", "FileLeftValue", T::Bool, 0, TZ_FIELD(heading.fileLeft) },
    };

#undef TZ_FIELD

    // Runs visit(group, value) over the table, one guarded group per run of
    // values of one key.
    template <class Visit> void ForEachValue(SettingsStore& store, Visit visit)
    {
        std::optional<SettingsGroup> group;
        const StoredValue* previous = nullptr;
        for (const StoredValue& value : kValues) {
            if (!previous || std::strcmp(previous->key, value.key) != 0 || value.ownGroup || previous->ownGroup)
                group.emplace(store, QString::fromLatin1(value.key));
            visit(*group, value);
            previous = &value;
        }
    }

    void SetDefault(Settings& settings, const StoredValue& value)
    {
        std::visit(
            [&](auto field) {
                auto& target = field(settings);
                using Target = std::remove_reference_t<decltype(target)>;
                if constexpr (std::is_same_v<Target, QString>)
                    target.clear();
                else
                    target = Target(value.defaultValue);
            },
            value.field);
    }

    void Read(SettingsGroup& group, Settings& settings, const StoredValue& value)
    {
        const QString name = QString::fromLatin1(value.name);
        switch (value.type) {
        case T::Bool: {
            bool& target = std::get<bool& (*)(Settings&)>(value.field)(settings);
            group.Read(name, target);
            if (value.pairedWith && group.Ok() && target && value.pairedWith(settings))
                value.pairedWith(settings) = false;
            break;
        }
        case T::SampleSize: {
            int& target = std::get<int& (*)(Settings&)>(value.field)(settings);
            int stored = target;
            group.Read(name, stored);
            if (IsValidSampleSize(stored))
                target = stored;
            break;
        }
        case T::Text:
            group.Read(name, std::get<QString& (*)(Settings&)>(value.field)(settings));
            break;
        case T::SizeText: {
            QString text;
            group.Read(name, text);
            if (group.Ok())
                std::get<int& (*)(Settings&)>(value.field)(settings)
                    = ParseSampleSize(text).value_or(value.defaultValue);
            break;
        }
        }
    }

    // The table's accessors give references to change; Save only reads them.
    void Write(SettingsGroup& group, const Settings& settings, const StoredValue& value)
    {
        Settings& fields = const_cast<Settings&>(settings);
        const QString name = QString::fromLatin1(value.name);
        switch (value.type) {
        case T::Bool:
            group.Write(name, std::get<bool& (*)(Settings&)>(value.field)(fields));
            break;
        case T::SampleSize:
            group.Write(name, std::get<int& (*)(Settings&)>(value.field)(fields));
            break;
        case T::Text:
            group.Write(name, std::get<QString& (*)(Settings&)>(value.field)(fields));
            break;
        case T::SizeText:
            group.Write(name, QString::number(std::get<int& (*)(Settings&)>(value.field)(fields)));
            break;
        }
    }

    void AppendJoined(QString& target, const QString& part)
    {
        if (!target.isEmpty())
            target += QStringLiteral(" / ");
        target += part;
    }

} // namespace

EnvironmentSettings::EnvironmentSettings()
{
    for (const StoredValue& value : kValues)
        SetDefault(*this, value);
}

bool IsValidSampleSize(int size) { return size >= 1 && size <= 99; }

std::optional<int> ParseSampleSize(const QString& text)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int size = text.toInt();
    if (!IsValidSampleSize(size))
        return std::nullopt;
    return size;
}

HeadingTexts HeadingLayout::Compose(const QString& faceName, const QString& familyName, const QString& fileText) const
{
    HeadingTexts texts;
    QString& names = namesLeft ? texts.left : texts.right;
    if (showFace)
        names = faceName;
    if (showFamily)
        AppendJoined(names, familyName);
    if (showFile)
        AppendJoined(fileLeft ? texts.left : texts.right, fileText);
    return texts;
}

QString EnvironmentSettings::HeadingFace() const { return headingStandard ? kProportionalGothicFace : customFace; }

int EnvironmentSettings::HeadingSize() const { return headingStandard ? kStandardHeadingSize : customSize; }

void EnvironmentSettings::Load(SettingsStore& store)
{
    ForEachValue(store, [this](SettingsGroup& group, const StoredValue& value) { Read(group, *this, value); });
}

void EnvironmentSettings::Save(SettingsStore& store) const
{
    ForEachValue(store, [this](SettingsGroup& group, const StoredValue& value) { Write(group, *this, value); });
}

} // namespace tz
