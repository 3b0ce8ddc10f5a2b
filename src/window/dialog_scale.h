#pragma once
// Messages, dialogs and the menu opened over the window take the window's scale in full screen
// and when zoomed in, so that they can be read from as far away as the window itself; at 100 %
// they keep the desktop's look.

class QFont;
class QWidget;

// Notes on the window the scale it is shown at.
void setShownScale(QWidget *window, double scale);
// The scale noted on the window of `widget` (1 when none, or below 1: a dialog is never made smaller).
double shownScale(const QWidget *widget);
// The desktop's font for `widget`, `scale` times as large.
QFont scaledFont(const QWidget *widget, double scale);
// Gives a dialog (or menu) the font at the scale of `over`'s window, before it lays itself out;
// returns that scale, for sizes the dialog sets in pixels. At 1 the dialog is left as it is.
double takeShownScale(QWidget *dialog, const QWidget *over);
