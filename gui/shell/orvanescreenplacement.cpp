#include "orvanescreenplacement.h"

#include <QDockWidget>
#include <QRect>
#include <QScreen>
#include <QTimer>

namespace OrvaneScreenPlacement {

void placeFloatingDock(QDockWidget* dock)
{
    QTimer::singleShot(0, dock, [dock] {
        const QScreen* screen = dock->screen();
        if (!dock->isFloating() || !screen)
            return;
        const QRect area = screen->availableGeometry();
        const QSize size = dock->size().expandedTo(QSize(480, 480)).boundedTo(area.size() * 0.8);
        QRect target(QPoint(), size);
        target.moveCenter(area.center());
        dock->setGeometry(target);
    });
}

} // namespace OrvaneScreenPlacement
