#include "sample/SampleSheets.h"

#include "fontlist/FontList.h"
#include "page/PrinterAccess.h"
#include "pagesetup/PageSetup.h"
#include "settings/SettingsStore.h"

namespace tz {

SampleInput SampleInputOf(RunMode mode, const FontList& list, const EnvironmentSettings& environment,
    const SampleTextSet& texts, const PageSetupList& setups, const PrinterAccess& printers)
{
    SampleInput input;
    input.mode = mode;
    input.rows.reserve(list.Count());
    for (int row = 0; row < list.Count(); ++row)
        input.rows.append(list.Entry(row));
    input.environment = environment;
    input.texts = texts;
    input.binding = setups.CurrentSetting().binding;
    input.margins = setups.AppliedMarginHundredths();
    input.orientation = setups.AppliedOrientation();
    input.printer = printers.CurrentMetrics();
    return input;
}

int LoadSampleWorkers(SettingsStore& store)
{
    int workers = 0;
    SettingsGroup(store, QStringLiteral("Zindel\\Sample"), false).Read(QStringLiteral("Workers"), workers);
    return workers >= 1 && workers <= kMostSampleWorkers ? workers : 0;
}

SampleSheets::SampleSheets(SampleInput input)
    : input_(std::move(input))
{
}

void SampleSheets::Reset(SampleInput input)
{
    input_ = std::move(input);
    log_.Clear();
    index_.Clear();
    result_ = {};
    generated_ = false;
}

const SampleResult& SampleSheets::Generate(RunObserver& observer)
{
    SampleRun run(input_, log_, index_);
    result_ = run.Run(observer);
    generated_ = true;
    return result_;
}

void SampleSheets::Adopt(const SampleResult& result)
{
    result_ = result;
    generated_ = true;
}

} // namespace tz
