#ifndef VIEWERINPUT_H
#define VIEWERINPUT_H

// Mouse input for the molecule viewer's tests. Events are sent straight to
// the widget: QTest's mouse moves do not reach a widget on the offscreen
// platform. atomAt builds one atom of a test molecule.

#include "molecule.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace ViewerInput {

inline void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
    Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void drag(QWidget* widget, const QPoint& from, const QPoint& to)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

inline void turnWheel(QWidget* widget, int delta)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, widget->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

inline MoleculeAtom atomAt(int atomicNumber, double x, double y, double z)
{
    MoleculeAtom atom;
    atom.atomicNumber = atomicNumber;
    atom.x = static_cast<float>(x);
    atom.y = static_cast<float>(y);
    atom.z = static_cast<float>(z);
    return atom;
}

} // namespace ViewerInput

#endif
