#pragma once
// What the last preview run left for the viewer: its generation log, the
// index of its blocks and its pages in the work folder.
#include "sample/GenerationLog.h"
#include "sample/PageIndex.h"
#include "sample/PageStore.h"
#include "sample/SampleRun.h"

namespace tz {

struct PreviewPages {
    GenerationLog log;
    PageIndex index;
    SampleResult result;

    // Forgets the pages, the index and the log, and deletes the page files.
    void Reset(const QString& workFolder)
    {
        EmptyWorkFolder(workFolder);
        log.Clear();
        index.Clear();
        result = {};
    }
};

} // namespace tz
