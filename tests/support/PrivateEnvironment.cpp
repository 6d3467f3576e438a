// Every test program runs with its own settings file and XDG folders: ctest
// sets them per test, and a test started by hand gets fresh temporary ones
// here, before main, so that no test ever touches the user's real files.
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

struct PrivateEnvironment {
    PrivateEnvironment()
    {
        // The runtime folder ctest names must exist, or the run lock would
        // fall back to the temporary folder shared by all tests.
        if (const char* run = std::getenv("XDG_RUNTIME_DIR")) {
            const std::string folder(run);
            mkdir(folder.substr(0, folder.rfind('/')).c_str(), 0700);
            mkdir(folder.c_str(), 0700);
        }
        if (std::getenv("TYPOSCAN_SETTINGS"))
            return;
        const char* tmp = std::getenv("TMPDIR");
        std::string root = std::string(tmp && *tmp ? tmp : "/tmp") + "/tz-test-XXXXXX";
        if (!mkdtemp(root.data()))
            std::abort();
        setenv("TYPOSCAN_SETTINGS", (root + "/Typoscan.reg").c_str(), 1);
        for (const char* name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" }) {
            const std::string folder = root + "/" + name;
            mkdir(folder.c_str(), 0700);
            setenv(name, folder.c_str(), 1);
        }
    }
};

const PrivateEnvironment environment;

} // namespace
