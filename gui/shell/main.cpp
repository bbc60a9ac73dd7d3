#include "orvanestartup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    OrvaneStartup::prepareLibraryPath();
    QApplication app(argc, argv);
    return OrvaneStartup::run(QApplication::arguments());
}
