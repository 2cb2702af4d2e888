#include "demo/DemoData.h"

#include "device/SimulatedMouse.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace z417 {

const char* const kDemoMouseState = "mouse.state";

namespace {

// Where the defaults lie: beside the executable in a build tree or unpacked folder, else in
// the installed shared folder.
fs::path defaultsFolder(const std::string& exeDir) {
    if (fs::exists(fs::path(exeDir) / "config.bin"))
        return exeDir;
    return Z417_SHARED_DATA_DIR;
}

} // namespace

bool prepareDemoData(const std::string& exeDir, const std::string& dataDir, std::string& error) {
    std::error_code ec;
    const fs::path dir(dataDir);
    if (!fs::exists(dir, ec)) {
        const fs::path from = defaultsFolder(exeDir);
        fs::create_directories(dir, ec);
        if (ec) {
            error = dataDir + ": " + ec.message();
            return false;
        }
        for (const char* name : {"config.bin", "str.ini"}) {
            fs::copy_file(from / name, dir / name, ec);
            if (ec) {
                error = (from / name).string() + ": " + ec.message();
                return false;
            }
        }
        fs::copy(from / "Skins", dir / "Skins", fs::copy_options::recursive, ec);
        if (ec) {
            error = (from / "Skins").string() + ": " + ec.message();
            return false;
        }
    }
    const fs::path state = dir / kDemoMouseState;
    if (!fs::exists(state, ec)) {
        SimulatedMouse::Config config;
        config.sensorVariant = 0;
        config.reportRate = 1;
        config.dpiStage = 1;
        if (Status made = SimulatedMouse::createStateFile(state.string(), config); !made) {
            error = made.reason;
            return false;
        }
    }
    return true;
}

} // namespace z417
