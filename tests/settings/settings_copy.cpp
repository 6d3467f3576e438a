// settings_copy TARGET: loads the environment settings and the sample texts
// from the settings file of TYPOSCAN_SETTINGS, as the program does at start,
// and saves them into TARGET, as the program does at exit.
#include "settings/EnvironmentSettings.h"
#include "settings/SampleTextSet.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    tz::EnvironmentSettings settings;
    tz::SampleTextSet texts;
    {
        tz::SettingsStore store;
        settings.Load(store);
        texts.Load(store);
    }
    qputenv("TYPOSCAN_SETTINGS", argv[1]);
    tz::SettingsStore store;
    settings.Save(store);
    texts.Save(store);
    return store.Close() ? 0 : 1;
}
