#ifndef ORVANESCREENPLACEMENT_H
#define ORVANESCREENPLACEMENT_H

class QDockWidget;

namespace OrvaneScreenPlacement {

// Places a molecule dock that has just been floated: at a size that shows a
// molecule (at least 480 x 480, at most 80 % of the screen), centred on the
// available area of its screen. The dock becomes a window of its own only
// after it reports the change, so the placement waits for the event loop; a
// dock docked again by then is left alone.
void placeFloatingDock(QDockWidget* dock);

} // namespace OrvaneScreenPlacement

#endif
