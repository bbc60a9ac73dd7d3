#include "orvaneglut.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {
bool glutReady = false;
}

bool OrvaneGlut::displayAvailable()
{
    // The same display glutInit opens (no "-display" argument is passed).
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    int errorBase = 0;
    int eventBase = 0;
    const bool glx = glXQueryExtension(display, &errorBase, &eventBase);
    XCloseDisplay(display);
    return glx;
}

bool OrvaneGlut::initialize()
{
    if (glutReady)
        return true;
    if (!displayAvailable())
        return false;
    // freeglut keeps argv[0] as the program name; the program's own arguments
    // are not its business.
    static char programName[] = "OrvaneGUI";
    static char* arguments[] = {programName, nullptr};
    int count = 1;
    glutInit(&count, arguments);
    glutReady = true;
    return true;
}

bool OrvaneGlut::isInitialized()
{
    return glutReady;
}
