// The program's entry point.
#include "app/CMOrvalenApp.h"
#include "framework/StartupTrace.h"

// Xlib last: its macros clash with Qt's headers.
#include <X11/Xlib.h>

int main(int argc, char** argv) {
    framework::TracePhase("start");
    // The splash thread talks to the X server beside the main thread: Xlib
    // must be made thread-safe before anyone opens a display.
    XInitThreads();
    CMOrvalenApp app(argc, argv);
    return app.Run();
}
