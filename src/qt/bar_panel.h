#pragma once

class QPainter;

// The bars' bevelled fields: a raised frame with a sunken one 2 pixels inside it, from x left
// to right and y top to bottom of the bar.
void drawBarPanel(QPainter& painter, int left, int right, int top, int bottom);
