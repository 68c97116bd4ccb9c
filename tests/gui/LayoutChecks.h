#pragma once

class QWidget;

// Checks that a top-level window shows every control whole, at whatever scale
// the test runs: each visible widget lies inside its parent and overlaps none
// of its siblings, and its caption fits the room it has in its own font.
// Failures are reported as test failures naming the widget.
void expectLayoutFits(const QWidget* window);
