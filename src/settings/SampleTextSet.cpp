#include "settings/SampleTextSet.h"

#include "platform/Text.h"
#include "settings/SettingsStore.h"
#include "settings/TextHistory.h"

namespace tz {

namespace {

    const QString kAlphanumeric = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");

    QByteArray ByteRange(unsigned char first, unsigned char last)
    {
        QByteArray bytes;
        for (int b = first; b <= last; ++b)
            bytes.append(static_cast<char>(b));
        return bytes;
    }

    // ASCII punctuation and digits "!" to "@", "[" to "`", then the half-width
    // punctuation and katakana "｡" to "ｿ" of CP932: 69 bytes in all.
    QString SymbolHistoryLine()
    {
        const QByteArray bytes = ByteRange(0x21, 0x40) + ByteRange(0x5B, 0x60) + ByteRange(0xA1, 0xBF);
        return DecodeCp932(bytes).value_or(QString());
    }

} // namespace

SampleTextSet::SampleTextSet()
{
    for (int c = 0; c < kSampleClassCount; ++c)
        entries_[c].history = DefaultHistory(c);
}

QString SampleTextSet::StandardText(int sampleClass)
{
    switch (sampleClass) {
    case kSymbolClass:
    case kAsciiClass:
        return kAlphanumeric;
    case kShiftJisClass:
        return QStringLiteral("美しいかなと漢字が作り出すさまざまなイメージが紙面を彩る。");
    default:
        return QString();
    }
}

QStringList SampleTextSet::DefaultHistory(int sampleClass)
{
    switch (sampleClass) {
    case kSymbolClass:
        return { SymbolHistoryLine() };
    case kAsciiClass:
        return {
            QStringLiteral("How razorback-jumping frogs can level six piqued gymnasts!"),
            QStringLiteral("The quick brown fox jumps over the lazy dog. 1234567890"),
            QStringLiteral("The newspaper reporter of 1917 carried a pencil and a notebook."),
            // A keyboard test line.
            QStringLiteral("3e456tgh'bxdrpcqazwsui1,kfv2\\-jn]/m789ol.;\"0)y"),
        };
    case kShiftJisClass:
        return {
            QStringLiteral("一行の文字をつぎつぎに視線が追う。美辞麗句もなく、飾りもない。むりに飾ろうとすれば、"
                           "無用な混乱をきたし、美術的にも実用的にも欠けるものである。"),
            QStringLiteral("ひらがな、カタカナ、漢字、数字の123、Alphabetが混在した文章のサンプルです。"),
            QStringLiteral("TrueTypeでｺﾝﾋﾟｭｰﾀの世界が広がります。1234567890"),
            QStringLiteral("テーブルに並んだ６個のレモンが清涼な香りを漂わせて、朝のテーブルに華やかさを添えていた。"),
            QStringLiteral("うつくしいかなとかんじがつくりだすさまざまないめーじがしめんをいろどる。"),
        };
    default:
        return {};
    }
}

QString SampleTextSet::KeyPath(int sampleClass)
{
    static const std::array<QString, kSampleClassCount> keys { QStringLiteral("Common\\SYMBOL"),
        QStringLiteral("Common\\Ascii"), QStringLiteral("Common\\SHIFTJIS") };
    return keys.at(sampleClass);
}

QString SampleTextSet::EffectiveText(int sampleClass) const
{
    if (sampleClass < 0 || sampleClass >= kSampleClassCount)
        return QString();
    const SampleText& entry = entries_[sampleClass];
    return entry.useStandard ? StandardText(sampleClass) : entry.customText;
}

void SampleTextSet::FallBackFromEmptyTexts()
{
    for (SampleText& entry : entries_) {
        if (entry.customText.isEmpty())
            entry.useStandard = true;
    }
}

void SampleTextSet::RememberCustomTexts()
{
    for (SampleText& entry : entries_)
        RememberText(entry.history, entry.customText, kHistoryLimit);
}

void SampleTextSet::Load(SettingsStore& store)
{
    for (int c = 0; c < kSampleClassCount; ++c) {
        SettingsGroup group(store, KeyPath(c));
        bool useStandard = true;
        group.Read(QStringLiteral("Value"), useStandard);
        if (!group.Ok())
            continue;
        SampleText& entry = entries_[c];
        entry.useStandard = useStandard;
        group.Read(QStringLiteral("Text"), entry.customText);
        entry.history = ReadTextHistory(group, kHistoryLimit);
    }
    FallBackFromEmptyTexts();
}

void SampleTextSet::Save(SettingsStore& store) const
{
    for (int c = 0; c < kSampleClassCount; ++c) {
        const SampleText& entry = entries_[c];
        SettingsGroup group(store, KeyPath(c));
        group.Write(QStringLiteral("Value"), entry.useStandard).Write(QStringLiteral("Text"), entry.customText);
        WriteTextHistory(group, entry.history, kHistoryLimit);
    }
}

} // namespace tz
