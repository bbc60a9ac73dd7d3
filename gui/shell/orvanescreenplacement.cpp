#include "orvanescreenplacement.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

namespace OrvaneScreenPlacement {

void centreOnItsScreen(QWidget* widget)
{
    const QScreen* screen = widget->screen();
    if (!screen)
        return;
    QRect frame = widget->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    widget->move(frame.topLeft());
}

} // namespace OrvaneScreenPlacement
