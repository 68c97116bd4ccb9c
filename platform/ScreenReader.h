#pragma once

#include <QAccessible>
#include <QLabel>
#include <QWidget>

// What a screen reader is told beyond what the widgets' classes say.
//
// A plain widget or frame given a role is exposed with that role and without
// the children hidden on purpose (QWidget::hide), which no one can reach: a
// window as a main window or a dialog, a strip of controls as a grouping (a
// bare QFrame is announced as a window of its own, which screen readers take
// for one that is not active and keep silent in), a picture as an image.
// Controls whose class has an interface of its own (text, value, actions) keep
// it: this is for plain widgets only.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// Makes a label the one of a field: a screen reader names the field by its
// label, so the label is read as the field's own name.
void labelField(QLabel* label, QWidget* field);

// Speaks a message once, leaving the keyboard where it is. Qt 6.4 has no
// announcement event; what screen readers speak of an object that has not
// the focus is a notification coming into view. So each message hides the
// notification and shows it again with the new text. A message the next one
// follows before the screen reader has taken it in goes unsaid: Orca keeps the
// later of two like events from one object. It paints nothing and takes one
// pixel of the control it is about, its parent.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* parent);
    void say(const QString& text);
};
