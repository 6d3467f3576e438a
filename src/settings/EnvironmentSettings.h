#pragma once
// The environment settings: which sample lines are drawn at which sizes, the
// heading font and the composition of each face's heading, how multi-face
// files are taken when adding, and a few switches. The environment dialog owns
// the accepted record; everything else reads it from there.
#include "fontfile/FontFormats.h"

#include <QString>
#include <array>
#include <optional>

namespace tz {

class SettingsStore;

// A whole number from 1 to 99 written in decimal digits, else nothing.
std::optional<int> ParseSampleSize(const QString& text);
bool IsValidSampleSize(int size);

// Whether a multi-face file gives all of its faces or one, and which one.
struct OneFaceChoice {
    // The face-selection numbers of the adding code.
    static constexpr int kAllFaces = -1;
    static constexpr int kFirstFace = 0;
    static constexpr int kLastFace = 1;

    bool oneFace = true;
    bool firstFace = true; // the first registered face
    bool lastFace = false; // the last registered face; kept, but the rule looks at firstFace only

    int FaceSelection() const { return !oneFace ? kAllFaces : firstFace ? kFirstFace : kLastFace; }
    bool operator==(const OneFaceChoice&) const = default;
};

// The left and right texts of a face's heading line.
struct HeadingTexts {
    QString left;
    QString right;
    bool operator==(const HeadingTexts&) const = default;
};

// What a face's heading shows and on which side.
struct HeadingLayout {
    bool showFace = true;
    bool showFamily = true;
    bool showFile = true;
    bool namesLeft = true; // face and family names left, else right
    bool fileLeft = false; // file name left, else right

    // Names on their side joined by " / ", then the file text on its side,
    // joined the same way when it shares a side with the names.
    HeadingTexts Compose(const QString& faceName, const QString& familyName, const QString& fileText) const;
    bool operator==(const HeadingLayout&) const = default;
};

// Every stored value is named once, with its key, type and default, in the
// table of EnvironmentSettings.cpp, which drives the defaults, Load and Save.
struct EnvironmentSettings {
    static constexpr int kLineCount = 4;
    static constexpr int kStandardHeadingSize = 12;

    // The defaults of the table.
    EnvironmentSettings();

    std::array<bool, kLineCount> lineShown;
    std::array<int, kLineCount> lineSize;
    OneFaceChoice search;
    OneFaceChoice drop;
    bool sjisAlsoAscii; // Shift-JIS faces are also drawn with the Ascii text
    bool macExtension; // copying a Macintosh font file appends an extension
    bool searchArchives;
    bool searchSelfExtracting;
    bool headingStandard; // false: the custom heading font
    HeadingLayout heading;
    bool smoothPreview;
    bool allFormats; // also the wider set of font formats and archives
    QString customFace;
    int customSize;

    // The heading font in force.
    QString HeadingFace() const;
    int HeadingSize() const;

    FontFormats Formats() const { return allFormats ? FontFormats::All : FontFormats::Designed; }
    int DropFaceSelection() const { return drop.FaceSelection(); }
    int SearchFaceSelection() const { return search.FaceSelection(); }

    // Reads the stored values group by group; a value that cannot be read ends
    // its group and leaves the rest of the group as it was.
    void Load(SettingsStore& store);
    // Writes every value, group by group.
    void Save(SettingsStore& store) const;

    bool operator==(const EnvironmentSettings&) const = default;
};

} // namespace tz
