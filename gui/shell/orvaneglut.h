#ifndef ORVANEGLUT_H
#define ORVANEGLUT_H

// GLUT serves only the bitmap font of the molecule viewer's atom labels. It
// must be initialised once, and freeglut ends the whole process when it
// cannot open an X display with GLX, or when a font is drawn before it was
// initialised. Everything that touches GLUT goes through here.
class OrvaneGlut
{
public:
    OrvaneGlut() = delete;

    // Initialises GLUT once, only when the X display it would open exists and
    // offers GLX. Returns whether GLUT is initialised; without a display the
    // program goes on and the viewer draws no labels.
    static bool initialize();
    static bool isInitialized();
    // Whether the display named by DISPLAY can be opened and offers GLX.
    static bool displayAvailable();
};

#endif
