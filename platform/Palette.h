#pragma once

#include <QColor>
#include <QPushButton>
#include <QWidget>
#include <functional>

// The program's own colours on controls (the green of the "/" key, the
// outlines of the graph window's icons) were chosen for light button faces.
// On a light face where they stand out by the ratio asked for they stay as
// they are; elsewhere the same hue is moved toward black on a face black
// stands out on more than white (a light or mid-grey one), toward white on a
// dark one, until it stands out by the ratio, and a margin, from every pixel
// of the face, so that every theme keeps them readable.

// The WCAG 2 contrast ratio of two colours, from 1 to 21.
double contrastRatio(QColor a, QColor b);

QColor readableOn(QColor color, QColor face, double ratio);

// The face of a push button as the running style paints it, where its text
// goes: styles shade QPalette::Button (Fusion lightens it by a third on a dark
// theme), often in a gradient, and that is what the text has to stand out on.
// Of the shades of every pixel inside its frame on the rows of its text or
// icon, painted at the screen's resolution for a window in front and one
// behind, the one nearest the middle grey: on a dark face its lightest.
QColor buttonFace(const QPushButton* button);

// Runs update at once and again whenever the widget's palette or style changes
// (a theme switched while the program runs).
void followPalette(QWidget* widget, std::function<void()> update);
