// Every test program runs with its own settings file and XDG folders: ctest
// sets them per test, and a test started by hand gets fresh temporary ones
// here, before main, so that no test ever touches the user's real files.
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

// mkdir -p, owner only.
void MakeFolders(std::string path)
{
    for (std::size_t at = 1; (at = path.find('/', at)) != std::string::npos; ++at)
        mkdir(path.substr(0, at).c_str(), 0700);
    mkdir(path.c_str(), 0700);
}

struct PrivateEnvironment {
    PrivateEnvironment()
    {
        // The run lock lives in the runtime folder, which must exist to keep
        // it private to this test.
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
            MakeFolders(runtime);
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
