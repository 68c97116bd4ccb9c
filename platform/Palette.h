#pragma once

#include <QColor>
#include <QPushButton>
#include <QWidget>
#include <functional>

// The program's own colours on controls (the green of the "/" key, the
// outlines of the graph window's icons) were chosen for light button faces.
// On a light face they stay as they are; on a dark one (a face white text
// stands out on more than black text) the same hue is made lighter until it
// stands out by the ratio asked for, and a margin, from every pixel of the
// face, so that dark themes keep them readable.

// The WCAG 2 contrast ratio of two colours, from 1 to 21.
double contrastRatio(QColor a, QColor b);

QColor readableOn(QColor color, QColor face, double ratio);

// The face of a push button as the running style paints it, where its text
// goes: styles shade QPalette::Button (Fusion lightens it by a third on a dark
// theme), often in a gradient, and that is what the text has to stand out on.
// Of the shades of every pixel inside its frame, painted at the screen's
// resolution, the one nearest the middle grey: on a dark face its lightest.
QColor buttonFace(const QPushButton* button);

// Runs update at once and again whenever the widget's palette or style changes
// (a theme switched while the program runs).
void followPalette(QWidget* widget, std::function<void()> update);
