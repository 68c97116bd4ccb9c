#pragma once

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <string>

#include "engine/Expression.h"
#include "platform/Form.h"
#include "platform/NumberField.h"
#include "platform/ScreenReader.h"

// The calculator window: an expression typed or built on the keypad, checked,
// shown in postfix notation and evaluated with the variables x, y, z and ans.
class TForm1 : public TForm {
    Q_DECLARE_TR_FUNCTIONS(TForm1)
public:
    TForm1();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    NumberField* Edit1; // the expression
    NumberField* Edit2; // its postfix notation
    NumberField* Edit3; // the last result, also the value of ans
    NumberField* x;
    NumberField* y;
    NumberField* z;

    QPushButton* button(int number) const
    {
        return buttons.at(static_cast<std::size_t>(number - 1));
    }

    // The value of ans: the result field, or the last number it showed while
    // it shows something else ("ERRO").
    double answer() const;

    std::string buffer;
    Expression graphExpression;

    void Edit1Change();
    void Edit1KeyPress(char& key);
    void Button21Click(); // =
    void Button25Click(); // C
    void Button28Click(); // <--
    void Button29Click(); // Grafico
    void append(const char* text);

    // Speaks each result, and what the graph window tells: Orca speaks a
    // message of a dialog's after the dialog's name, of this window's alone.
    Announcer* announcer = nullptr;

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void passOn(QEvent* event); // to the end of the expression

    std::array<QPushButton*, 36> buttons{};
    double lastAnswer = 0.0;
};

extern TForm1* Form1;
