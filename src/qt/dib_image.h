#pragma once

#include <QImage>

class Dib;

// The picture as a 32-bit image, ready to draw. A null image when there is no memory for it.
QImage dibImage(const Dib& dib);
