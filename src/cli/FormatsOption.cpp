#include "cli/FormatsOption.h"

#include "settings/EnvironmentSettings.h"
#include "settings/SettingsStore.h"

#include <optional>

namespace tz::cli {

FontFormats TakeFormatsOption(QStringList& args)
{
    std::optional<FontFormats> chosen;
    args.removeIf([&chosen](const QString& arg) {
        if (arg == u"--all-formats")
            chosen = FontFormats::All;
        else if (arg == u"--designed-formats")
            chosen = FontFormats::Designed;
        else
            return false;
        return true;
    });
    if (chosen)
        return *chosen;
    SettingsStore store(SettingsStore::kReadOnly);
    EnvironmentSettings settings;
    settings.Load(store);
    return settings.Formats();
}

} // namespace tz::cli
