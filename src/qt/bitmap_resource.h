#pragma once

#include <QPixmap>

// A bitmap resource by its name ("ID_PLAY_B", "WHOLE"): the picture compiled in from
// resources/bitmaps. An unknown name gives a null pixmap, which draws nothing.
QPixmap bitmapResource(const char* name);
