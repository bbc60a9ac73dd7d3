#include "orvaneoptionwindow.h"

#include <QPoint>
#include <QWidget>

namespace OrvaneOptionWindow {

void configure(QWidget* window, const QPoint& topLeft)
{
    window->setWindowFlags(Qt::WindowCloseButtonHint);
    window->setWindowModality(Qt::ApplicationModal);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    // An empty size: the layout and the size limits give the smallest window.
    window->setGeometry(topLeft.x(), topLeft.y(), 0, 0);
}

} // namespace OrvaneOptionWindow
