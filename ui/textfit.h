#pragma once

class QWidget;

// The form's geometry is fixed, and desktop fonts on Linux are wider than
// the Windows font it was drawn for: this picks the largest font, from the
// application's size downwards in half points, at which every caption, combo
// box entry, button text and a full MAC in the device table fit. Windows
// keeps its font.
namespace TextFit {

void fitForm(QWidget *window);

// The same, once the window is shown: a window not yet on screen (the
// language is set twice before it first shows) is fitted when it shows.
void fitWhenShown(QWidget *window);
void fitIfPending(QWidget *window);

} // namespace TextFit
