#pragma once

class QWidget;

// The form's geometry is fixed, and desktop fonts on Linux are wider than
// the Windows font it was drawn for: this picks the largest font, from the
// application's size downwards in half points, at which every caption, combo
// box entry, button text and a full MAC in the device table fit. Windows
// keeps its font.
namespace TextFit {

void fitForm(QWidget *window);

} // namespace TextFit
