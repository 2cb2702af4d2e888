// z417-gaming-mouse: the utility, talking to the mouse through hidraw.
#include "app/COstrelApp.h"
#include "platform/HidrawTransport.h"
#include "platform/Paths.h"

#include <cstdio>

int main(int argc, char** argv) {
    z417::choosePlatformBeforeStart();
    z417::COstrelApp app(argc, argv);

    z417::HidrawTransport transport;
    z417::SystemClock clock;
    z417::DesktopUiServices services;
    z417::AppEnvironment env;
    env.transport = &transport;
    env.clock = &clock;
    env.services = &services;
    std::string error;
    if (!z417::readModulePath(env.modulePath, error)) {
        std::fprintf(stderr, "z417-gaming-mouse: %s\n", error.c_str());
        return 1;
    }
    return app.run(env);
}
