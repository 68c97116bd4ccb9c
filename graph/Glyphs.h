#pragma once

#include <QIcon>

// The pictures on the graph window's buttons, drawn by the program itself for
// buttons of the face colour given: their outlines stand out by at least 3:1
// on a dark face.
namespace Glyphs {

enum class Direction { Up, Left, Right, Down };

QIcon arrow(Direction direction, QColor face);
QIcon magnifier(bool plus, QColor face);
QIcon slantedTriangle(bool up, QColor face);

} // namespace Glyphs
