#ifndef ORVANESCREENPLACEMENT_H
#define ORVANESCREENPLACEMENT_H

class QWidget;

namespace OrvaneScreenPlacement {

// Moves a top-level (or floating) widget so that its frame is centred on the
// available area of the screen that holds it; nothing without a screen.
void centreOnItsScreen(QWidget* widget);

} // namespace OrvaneScreenPlacement

#endif
