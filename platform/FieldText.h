#pragma once

#include <QAccessibleInterface>
#include <QLineEdit>

// The interface through which screen readers read a one-line field: what Qt's
// own gives a line edit, less what makes Orca drop the last character of every
// field and what freezes the program (FieldText.cpp says what and why).
QAccessibleInterface* newFieldText(QLineEdit* field);
