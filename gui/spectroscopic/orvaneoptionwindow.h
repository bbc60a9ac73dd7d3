#ifndef ORVANEOPTIONWINDOW_H
#define ORVANEOPTIONWINDOW_H

class QPoint;
class QWidget;

// The option windows of the calculation form (report sections, transfer
// channels) are parentless top-level windows with only a close button that
// block the rest of the program while open. Closing one only hides it, so its
// choices last as long as the form that owns it.
namespace OrvaneOptionWindow {

// Makes `window` such a window, its top-left corner at `topLeft` and its size
// the smallest its layout allows.
void configure(QWidget* window, const QPoint& topLeft);

} // namespace OrvaneOptionWindow

#endif
