#include "calculator/Keypad.h"

#include <QCoreApplication>

// One row a button: kept on one line each, past the usual width.
// clang-format off
const KeySpec kKeypad[36] = {
    {1, "7", 8, 152, 49, 33, 16, false, false, false, "7", QT_TRANSLATE_NOOP("Keypad", "seven")},
    {2, "8", 64, 152, 49, 33, 16, false, false, false, "8", QT_TRANSLATE_NOOP("Keypad", "eight")},
    {3, "9", 120, 152, 49, 33, 16, false, false, false, "9", QT_TRANSLATE_NOOP("Keypad", "nine")},
    {4, "4", 8, 192, 49, 33, 16, false, false, false, "4", QT_TRANSLATE_NOOP("Keypad", "four")},
    {5, "5", 64, 192, 49, 33, 16, false, false, false, "5", QT_TRANSLATE_NOOP("Keypad", "five")},
    {6, "6", 120, 192, 49, 33, 16, false, false, false, "6", QT_TRANSLATE_NOOP("Keypad", "six")},
    {7, "1", 8, 232, 49, 33, 16, false, false, false, "1", QT_TRANSLATE_NOOP("Keypad", "one")},
    {8, "2", 64, 232, 49, 33, 16, false, false, false, "2", QT_TRANSLATE_NOOP("Keypad", "two")},
    {9, "3", 120, 232, 49, 33, 16, false, false, false, "3", QT_TRANSLATE_NOOP("Keypad", "three")},
    {10, "0", 8, 272, 49, 33, 16, false, false, false, "0", QT_TRANSLATE_NOOP("Keypad", "zero")},
    {11, "_(-)", 120, 272, 49, 33, 16, false, false, false, "_", QT_TRANSLATE_NOOP("Keypad", "negative sign")},
    {12, ",", 64, 272, 49, 33, 16, false, false, false, ",", QT_TRANSLATE_NOOP("Keypad", "decimal comma")},
    {13, "/", 184, 152, 41, 33, 13, false, false, true, "/", QT_TRANSLATE_NOOP("Keypad", "divide")},
    {14, "*", 184, 192, 41, 33, 13, false, false, false, "*", QT_TRANSLATE_NOOP("Keypad", "multiply")},
    {15, "--", 184, 232, 41, 33, 13, false, false, false, "-", QT_TRANSLATE_NOOP("Keypad", "subtract")},
    {16, "+", 184, 272, 41, 33, 13, false, false, false, "+", QT_TRANSLATE_NOOP("Keypad", "add")},
    {17, "^", 232, 192, 41, 25, 13, false, false, false, "^", QT_TRANSLATE_NOOP("Keypad", "power")},
    {18, "sqrt", 232, 224, 41, 25, 13, false, false, false, "sqrt(", QT_TRANSLATE_NOOP("Keypad", "square root")},
    {19, "sin", 232, 256, 41, 25, 13, false, false, false, "sin(", QT_TRANSLATE_NOOP("Keypad", "sine")},
    {20, "cos", 232, 288, 41, 25, 13, false, false, false, "cos(", QT_TRANSLATE_NOOP("Keypad", "cosine")},
    {21, "=", 120, 312, 49, 33, 19, true, false, false, nullptr, QT_TRANSLATE_NOOP("Keypad", "equals")},
    {22, "x", 8, 352, 33, 25, 13, false, false, false, "x", QT_TRANSLATE_NOOP("Keypad", "variable x")},
    {23, "y", 168, 352, 33, 25, 13, false, false, false, "y", QT_TRANSLATE_NOOP("Keypad", "variable y")},
    {24, "z", 8, 384, 33, 25, 13, false, false, false, "z", QT_TRANSLATE_NOOP("Keypad", "variable z")},
    {25, "C", 280, 152, 41, 33, 13, true, false, false, nullptr, QT_TRANSLATE_NOOP("Keypad", "clear")},
    {26, "(", 8, 312, 49, 33, 16, false, false, false, "(", QT_TRANSLATE_NOOP("Keypad", "open parenthesis")},
    {27, ")", 64, 312, 49, 33, 16, false, false, false, ")", QT_TRANSLATE_NOOP("Keypad", "close parenthesis")},
    {28, "<--", 232, 152, 41, 33, 11, false, false, false, nullptr, QT_TRANSLATE_NOOP("Keypad", "erase")},
    {29, "Grafico", 168, 384, 153, 25, 16, true, true, false, nullptr, QT_TRANSLATE_NOOP("Keypad", "graph")},
    {30, "tan", 232, 320, 41, 25, 0, false, false, false, "tan(", QT_TRANSLATE_NOOP("Keypad", "tangent")},
    {31, "E", 184, 312, 41, 33, 0, false, false, false, "E", QT_TRANSLATE_NOOP("Keypad", "exponent mark")},
    {32, "e", 280, 224, 41, 25, 0, false, false, false, "e", QT_TRANSLATE_NOOP("Keypad", "constant e")},
    {33, "pi", 280, 192, 41, 25, 0, false, false, false, "pi", QT_TRANSLATE_NOOP("Keypad", "pi")},
    {34, "log", 280, 288, 41, 25, 0, false, false, false, "log(", QT_TRANSLATE_NOOP("Keypad", "logarithm")},
    {35, "ln", 280, 320, 41, 25, 0, false, false, false, "ln(", QT_TRANSLATE_NOOP("Keypad", "natural logarithm")},
    {36, "ANS", 280, 256, 41, 25, 0, false, false, false, "ans", QT_TRANSLATE_NOOP("Keypad", "previous answer")},
};
// clang-format on
