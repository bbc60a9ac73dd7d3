#include "orvanestartup.h"

#include "orvanefrmfileviewer.h"
#include "orvanefrmmainwindow.h"
#include "orvaneglut.h"
#include "orvaneplatform.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QSplashScreen>
#include <QTimer>

const QStringList OrvaneStartup::fileTypes = {
    QStringLiteral("mop"),   QStringLiteral("out"),       QStringLiteral("orcinp"),
    QStringLiteral("pointcharge"), QStringLiteral("orcout"), QStringLiteral("omega"),
    QStringLiteral("orvaneexp"),   QStringLiteral("orvane")};

void OrvaneStartup::prepareLibraryPath()
{
    QCoreApplication::addLibraryPath(QDir::currentPath());
}

void OrvaneStartup::registerFileTypes(const QString& programPath)
{
    for (const QString& extension : fileTypes)
        OrvanePlatform::registerFileType(extension, programPath);
    OrvanePlatform::refreshFileTypes();
}

int OrvaneStartup::run(const QStringList& arguments)
{
    OrvaneGlut::initialize();

    // The open command must name this program wherever it was started from;
    // the first argument may be a bare name found on the PATH, or relative.
    QString programPath = arguments.value(0);
    if (!QFileInfo(programPath).isAbsolute() || !QFileInfo(programPath).isExecutable())
        programPath = QCoreApplication::applicationFilePath();
    registerFileTypes(programPath);

    if (arguments.size() > 1)
        return runViewer(arguments.at(1));
    return runMainWindow();
}

int OrvaneStartup::runViewer(const QString& fileName)
{
    OrvaneFrmFileViewer viewer;
    viewer.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                          | Qt::WindowCloseButtonHint);
    viewer.loadFile(fileName);
    viewer.show();
    if (const QScreen* screen = viewer.screen())
        viewer.move(screen->availableGeometry().center() - viewer.rect().center());
    return QApplication::exec();
}

int OrvaneStartup::runMainWindow()
{
    QSplashScreen splash(QPixmap(QStringLiteral(":/icones/SplashImage.png")));
    splash.show();
    OrvanePlatform::applyApplicationStyle();

    OrvaneFrmMainWindow window;
    // The window is shown before the splash closes, so that the application
    // never has no window at all.
    QTimer::singleShot(splashMilliseconds, &window, &QWidget::showMaximized);
    QTimer::singleShot(splashMilliseconds, &splash, &QWidget::close);
    return QApplication::exec();
}
