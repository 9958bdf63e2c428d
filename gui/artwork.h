#pragma once

#include <QImage>

namespace pavona {

// The decorations, drawn at start-up rather than stored: the program name
// over an ordered-dithered gradient in C64 colours.
QImage DrawBanner(int width, int height);        // the strip above the main window's pictures
QImage DrawAboutPicture(int width, int height);  // a peacock feather's eye
QImage DrawIcon(int size);  // the window's icon: the eye alone, `size` pixels square

}  // namespace pavona
