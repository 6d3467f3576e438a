#pragma once
// The sample texts: per character-set class (symbol, single-byte, Japanese)
// the standard text or a custom one, with a short history of custom texts.
// The sample-text dialog owns the accepted record; the renderer and the
// add-dialog preview read the effective texts from it.
#include <QString>
#include <QStringList>
#include <array>

namespace tz {

class SettingsStore;

// Character-set classes, in the order of the dialog's tabs and the stored keys.
enum SampleClass : int { kSymbolClass = 0, kAsciiClass = 1, kShiftJisClass = 2 };
inline constexpr int kSampleClassCount = 3;

struct SampleText {
    bool useStandard = true;
    QString customText;
    QStringList history; // most recent first, at most SampleTextSet::kHistoryLimit

    bool operator==(const SampleText&) const = default;
};

class SampleTextSet {
public:
    static constexpr int kHistoryLimit = 8;

    // The designed defaults: standard texts in use, no custom texts, and the
    // default histories.
    SampleTextSet();

    static QString StandardText(int sampleClass);
    static QStringList DefaultHistory(int sampleClass);
    // The stored key of a class below the base key ("Common\\Ascii").
    static QString KeyPath(int sampleClass);

    // What the sample sheets draw for a class: the standard text when it is in
    // use, else the custom text. Empty for a class that does not exist.
    QString EffectiveText(int sampleClass) const;

    const SampleText& Entry(int sampleClass) const { return entries_.at(sampleClass); }
    SampleText& Entry(int sampleClass) { return entries_.at(sampleClass); }

    // An empty custom text can never be in force: such a class goes back to
    // its standard text.
    void FallBackFromEmptyTexts();
    // Puts every non-empty custom text at the top of its history, removing an
    // entry equal to it ignoring case, and keeps at most kHistoryLimit entries.
    void RememberCustomTexts();

    // Per class one guarded group: Value, Text, then the non-empty history
    // entries Item0 to Item7. A class whose Value cannot be read keeps its
    // defaults.
    void Load(SettingsStore& store);
    // Per class: Value, Text and Item0 to Item7; slots beyond the history are
    // written empty so that no older entry comes back at the next start.
    void Save(SettingsStore& store) const;

    bool operator==(const SampleTextSet&) const = default;

private:
    std::array<SampleText, kSampleClassCount> entries_;
};

} // namespace tz
