#pragma once

#include <QIcon>

// The pictures on the graph window's buttons, drawn by the program itself.
namespace Glyphs {

enum class Direction { Up, Left, Right, Down };

QIcon arrow(Direction direction);
QIcon magnifier(bool plus);
QIcon slantedTriangle(bool up);

} // namespace Glyphs
