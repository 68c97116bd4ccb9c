#pragma once

#include <QAbstractSlider>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <functional>

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

// A widget given a role is described by what the function says when a screen
// reader asks, worked out then rather than each time it might change.
void describeWhenAsked(QWidget* widget, std::function<QString()> describe);

// A one-line field read whole, every character once (FieldText.h).
void readWhole(QLineEdit* field);

// A slider whose positions stand for other numbers is read out as its position
// plus offset: positions 0 to 2 of a pen width read as 1 to 3 pixels.
void setAccessibleValueOffset(QAbstractSlider* slider, int offset);

// Makes a label the one of a field: a screen reader names the field by its
// label, so the label is read as the field's own name.
void labelField(QLabel* label, QWidget* field);

// Speaks a message once, leaving the keyboard where it is. Qt 6.4 has no
// announcement event; what screen readers speak of an object that has not
// the focus is a notification coming into view. So each message hides the
// notification and shows it again with the new text. A message the next one
// follows before the screen reader has taken it in goes unsaid: Orca keeps the
// later of two like events from one object. It is spoken as the text alone,
// without a role word, as a status bar's message is. It paints nothing and
// takes one pixel of the control it is about, its parent.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* parent);
    void say(const QString& text);
};
