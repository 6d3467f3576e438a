#include "settings/EnvironmentSettings.h"

#include "platform/FontSubstitutes.h"
#include "settings/SettingsStore.h"

namespace tz {

namespace {

    constexpr std::array<const char*, EnvironmentSettings::kLineCount> kShownNames { "pt8", "pt12", "pt30", "pt60" };
    constexpr std::array<const char*, EnvironmentSettings::kLineCount> kSizeNames { "size8", "size12", "size30",
        "size60" };

    QString Name(const char* name) { return QString::fromLatin1(name); }

    // Read apart from the designed values of its group: a file written before
    // it existed lacks it, and the values read before it must not depend on it.
    const QString kAllFormatsName = QStringLiteral("EnableAllFormats");

    void AppendJoined(QString& target, const QString& part)
    {
        if (!target.isEmpty())
            target += QStringLiteral(" / ");
        target += part;
    }

    // Item1 and Item2 are the two radio buttons of one choice: when both are
    // stored as chosen, the one read last wins, as it would on screen.
    void ReadChoice(SettingsGroup& group, OneFaceChoice& choice)
    {
        group.Read(QStringLiteral("Item1"), choice.firstFace).Read(QStringLiteral("Item2"), choice.lastFace);
        if (group.Ok() && choice.firstFace && choice.lastFace)
            choice.firstFace = false;
        group.Read(QStringLiteral("Enable"), choice.oneFace);
    }

} // namespace

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
    {
        SettingsGroup size(store, QStringLiteral("Common\\Size"));
        for (int i = 0; i < kLineCount; ++i)
            size.Read(Name(kShownNames[i]), lineShown[i]);
        // A stored size the size fields could not show keeps its default, so
        // no sample line is ever drawn at 0 pt or larger than designed.
        for (int i = 0; i < kLineCount; ++i) {
            int stored = lineSize[i];
            size.Read(Name(kSizeNames[i]), stored);
            if (IsValidSampleSize(stored))
                lineSize[i] = stored;
        }
    }
    {
        SettingsGroup dropGroup(store, QStringLiteral("Zindel\\Drop"));
        ReadChoice(dropGroup, drop);
    }
    {
        SettingsGroup searchGroup(store, QStringLiteral("Zindel\\Search"));
        ReadChoice(searchGroup, search);
    }
    SettingsGroup(store, QStringLiteral("Zindel\\Search")).Read(QStringLiteral("Archive"), searchArchives);
    SettingsGroup(store, QStringLiteral("Zindel\\Search")).Read(QStringLiteral("Execute"), searchSelfExtracting);
    {
        QString sizeText;
        SettingsGroup title(store, QStringLiteral("Zindel\\Title"));
        title.Read(QStringLiteral("Text"), customFace).Read(QStringLiteral("Size"), sizeText);
        if (title.Ok())
            customSize = ParseSampleSize(sizeText).value_or(kStandardHeadingSize);
        title.Read(QStringLiteral("Value"), headingStandard);
    }
    SettingsGroup(store, QStringLiteral("Zindel\\Misc"))
        .Read(QStringLiteral("EnableAnsiMessage"), sjisAlsoAscii)
        .Read(QStringLiteral("EnablePlus"), smoothPreview)
        .Read(QStringLiteral("EnableMacExt"), macExtension);
    SettingsGroup(store, QStringLiteral("Zindel\\Misc")).Read(kAllFormatsName, allFormats);
    SettingsGroup(store, QStringLiteral("Zindel\\Caption"))
        .Read(QStringLiteral("EnablechkFace"), heading.showFace)
        .Read(QStringLiteral("EnablechkFamily"), heading.showFamily)
        .Read(QStringLiteral("EnablechkFile"), heading.showFile)
        .Read(QStringLiteral("FaceLeftValue"), heading.namesLeft)
        .Read(QStringLiteral("FileLeftValue"), heading.fileLeft);
}

void EnvironmentSettings::Save(SettingsStore& store) const
{
    {
        SettingsGroup size(store, QStringLiteral("Common\\Size"));
        for (int i = 0; i < kLineCount; ++i)
            size.Write(Name(kShownNames[i]), lineShown[i]);
        for (int i = 0; i < kLineCount; ++i)
            size.Write(Name(kSizeNames[i]), lineSize[i]);
    }
    SettingsGroup(store, QStringLiteral("Zindel\\Drop"))
        .Write(QStringLiteral("Enable"), drop.oneFace)
        .Write(QStringLiteral("Item1"), drop.firstFace)
        .Write(QStringLiteral("Item2"), drop.lastFace);
    SettingsGroup(store, QStringLiteral("Zindel\\Search"))
        .Write(QStringLiteral("Enable"), search.oneFace)
        .Write(QStringLiteral("Archive"), searchArchives)
        .Write(QStringLiteral("Execute"), searchSelfExtracting)
        .Write(QStringLiteral("Item1"), search.firstFace)
        .Write(QStringLiteral("Item2"), search.lastFace);
    SettingsGroup(store, QStringLiteral("Zindel\\Title"))
        .Write(QStringLiteral("Text"), customFace)
        .Write(QStringLiteral("Value"), headingStandard)
        .Write(QStringLiteral("Size"), QString::number(customSize));
    SettingsGroup(store, QStringLiteral("Zindel\\Misc"))
        .Write(QStringLiteral("EnableAnsiMessage"), sjisAlsoAscii)
        .Write(QStringLiteral("EnablePlus"), smoothPreview)
        .Write(QStringLiteral("EnableMacExt"), macExtension)
        .Write(kAllFormatsName, allFormats);
    SettingsGroup(store, QStringLiteral("Zindel\\Caption"))
        .Write(QStringLiteral("EnablechkFace"), heading.showFace)
        .Write(QStringLiteral("EnablechkFamily"), heading.showFamily)
        .Write(QStringLiteral("EnablechkFile"), heading.showFile)
        .Write(QStringLiteral("FaceLeftValue"), heading.namesLeft)
        .Write(QStringLiteral("FileLeftValue"), heading.fileLeft);
}

} // namespace tz
