#pragma once
// The sample sheets of one generation run: the input it was given, its
// messages, its block index, its outcome and the pages it left. The viewer
// owns the sheets of the last preview run and shows their pages; the print
// command, the PDF catalog and `tzind sample` make sheets of their own and use
// them the same way.
#include "sample/SampleRun.h"

namespace tz {

class FontList;
class PageSetupList;
class PrinterAccess;
class SettingsStore;

// The most threads a run may draw its pages on.
inline constexpr int kMostSampleWorkers = 256;
// The number of page workers the settings ask for (the value "Workers" under
// Zindel\Sample, which no dialog shows): 0, the machine's cores, when it is
// absent or outside 1 … kMostSampleWorkers.
int LoadSampleWorkers(SettingsStore& store);

// A run's input from the program's state: every row of the list, the
// environment settings and sample texts, the current page setting's binding,
// the applied margins and orientation, and the current printer's
// capabilities. The caller adds the preview resolution and the work folder.
SampleInput SampleInputOf(RunMode mode, const FontList& list, const EnvironmentSettings& environment,
    const SampleTextSet& texts, const PageSetupList& setups, const PrinterAccess& printers);

class SampleSheets {
public:
    SampleSheets() = default;
    explicit SampleSheets(SampleInput input);
    SampleSheets(const SampleSheets&) = delete;
    SampleSheets& operator=(const SampleSheets&) = delete;

    // Forgets the last run (log, index, outcome) and takes the next one's input.
    void Reset(SampleInput input = {});

    SampleInput& Input() { return input_; }
    const SampleInput& Input() const { return input_; }
    GenerationLog& Log() { return log_; }
    const GenerationLog& Log() const { return log_; }
    PageIndex& Index() { return index_; }
    const PageIndex& Index() const { return index_; }
    const SampleResult& Result() const { return result_; }
    // Whether the sheets hold a run's outcome.
    bool Generated() const { return generated_; }
    const QString& WorkFolder() const { return input_.workFolder; }

    // Runs the generation over the input: the log and the index gain the
    // run's lines and entries.
    const SampleResult& Generate(RunObserver& observer);
    // Takes the outcome of pages put in the work folder by other means.
    void Adopt(const SampleResult& result);

private:
    SampleInput input_;
    GenerationLog log_;
    PageIndex index_;
    SampleResult result_;
    bool generated_ = false;
};

} // namespace tz
