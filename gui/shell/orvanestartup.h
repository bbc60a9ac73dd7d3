#ifndef ORVANESTARTUP_H
#define ORVANESTARTUP_H

#include <QString>
#include <QStringList>

// What the program does from its start to the end of its event loop, kept out
// of main() so that the tests run the very same steps.
class OrvaneStartup
{
public:
    OrvaneStartup() = delete;

    // The extensions the program opens, in the order they are registered.
    static const QStringList fileTypes;

    // Before the application object exists: plug-ins may also come from the
    // current folder.
    static void prepareLibraryPath();

    // Makes the program at programPath the current user's opener of every
    // type in fileTypes, then asks the desktop to pick them up. Failures are
    // ignored: the program works without the association.
    static void registerFileTypes(const QString& programPath);

    // Everything after the application object exists: GLUT, the file types,
    // then either the viewer on arguments[1] (further arguments ignored) or
    // the splash and the main window. Runs the event loop and returns its
    // exit code. arguments[0] is the program as started.
    static int run(const QStringList& arguments);

    // Delay after which the splash closes and the main window shows.
    static const int splashMilliseconds = 350;

private:
    static int runViewer(const QString& fileName);
    static int runMainWindow();
};

#endif
