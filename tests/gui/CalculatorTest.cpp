#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <QWindow>

#include "WindowFixture.h"
#include "platform/Palette.h"

namespace {

using Calculator = WindowTest;

const char* const kInvalid = "A Expressão não é Valida\n";

TEST_F(Calculator, StartState)
{
    calculator->show();
    EXPECT_EQ(calculator->windowTitle(), "Calculator");
    EXPECT_EQ(calculator->focusWidget(), calculator->Edit1);
    EXPECT_EQ(text(calculator->Edit1), "");
    EXPECT_EQ(text(calculator->Edit2), "");
    EXPECT_EQ(text(calculator->Edit3), "0");
    EXPECT_EQ(text(calculator->x) + text(calculator->y) + text(calculator->z), "000");
    EXPECT_TRUE(calculator->Edit2->isReadOnly());
    EXPECT_TRUE(calculator->Edit3->isReadOnly());
    EXPECT_FALSE(calculator->Edit1->isReadOnly());
    EXPECT_EQ(calculator->Edit1->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(calculator->pos(), QPoint(224, 115));

    QPushButton* equals = calculator->button(21);
    EXPECT_EQ(equals->text(), "=");
    EXPECT_EQ(equals->geometry(), QRect(120, 312, 49, 33));
    EXPECT_TRUE(equals->font().bold());
    EXPECT_EQ(equals->font().pixelSize(), 19);
    EXPECT_EQ(calculator->button(13)->palette().color(QPalette::ButtonText), QColor(0, 128, 0));
    // A dark theme while the program runs: a lighter green, light outlines on
    // the icons; the light theme again: both as they were.
    const QPalette light = QApplication::palette();
    graph->show(); // its icons are painted when first shown
    const QImage arrow = graph->BitBtn1->icon().pixmap(32).toImage();
    QPalette dark = light;
    dark.setColor(QPalette::Button, QColor(66, 66, 69));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents(); // the change reaches the windows as an event
    const QColor green = calculator->button(13)->palette().color(QPalette::ButtonText);
    EXPECT_GE(contrastRatio(green, buttonFace(calculator->button(13))), 4.5);
    EXPECT_TRUE(green.green() > 128 && green.red() == green.blue()) << green.name().toStdString();
    EXPECT_NE(graph->BitBtn1->icon().pixmap(32).toImage(), arrow);
    QApplication::setPalette(light);
    QCoreApplication::processEvents();
    EXPECT_EQ(calculator->button(13)->palette().color(QPalette::ButtonText), QColor(0, 128, 0));
    EXPECT_EQ(graph->BitBtn1->icon().pixmap(32).toImage(), arrow);
    EXPECT_TRUE(calculator->button(25)->font().bold());
    EXPECT_TRUE(calculator->button(29)->font().bold() && calculator->button(29)->font().italic());
    EXPECT_EQ(calculator->button(29)->geometry(), QRect(168, 384, 153, 25));
    EXPECT_EQ(calculator->button(28)->font().pixelSize(), 11);
    EXPECT_EQ(calculator->Edit1->geometry(), QRect(24, 24, 273, 25));
    EXPECT_EQ(calculator->z->geometry(), QRect(48, 384, 113, 21));
    EXPECT_EQ(calculator->Label2->text(), QString::fromUtf8("Notação PosFixa"));

    // Every control lies inside the client area, with a margin.
    const QRect inner = calculator->rect().adjusted(4, 4, -4, -4);
    for (QWidget* child : calculator->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(inner.contains(child->geometry())) << child->objectName().toStdString();
}

TEST_F(Calculator, TabOrder)
{
    std::string order;
    QWidget* w = calculator->Edit2;
    for (int i = 0; i < 37; ++i) {
        order += w->objectName().toStdString() + " ";
        w = w->nextInFocusChain();
    }
    std::string expected = "Edit2 Edit3 ";
    for (int n = 1; n <= 28; ++n)
        expected += "Button" + std::to_string(n) + " ";
    expected += "x y z ";
    for (int n = 29; n <= 32; ++n)
        expected += "Button" + std::to_string(n) + " ";
    EXPECT_EQ(order.substr(0, expected.size()), expected);
}

TEST_F(Calculator, KeypadAppendsItsTexts)
{
    for (int n = 1; n <= 36; ++n)
        if (n != 21 && n != 25 && n != 28 && n != 29)
            click(n);
    EXPECT_EQ(text(calculator->Edit1), "7894561230_,/*-+^sqrt(sin(cos(xyz()tan(Eepilog(ln(ans");
    EXPECT_EQ(calculator->buffer, text(calculator->Edit1));
}

TEST_F(Calculator, ClearEmptiesTheExpressionOnly)
{
    type("2*3");
    click(21);
    click(25);
    EXPECT_EQ(text(calculator->Edit1), "");
    EXPECT_EQ(calculator->buffer, "");
    EXPECT_EQ(text(calculator->Edit2), "2 3 *");
    EXPECT_EQ(text(calculator->Edit3), "6");
}

TEST_F(Calculator, EraseRemovesNamesAndFunctionsWhole)
{
    struct Case {
        const char* before;
        const char* after;
    };
    for (const Case& c : {Case{"2*sqrt(", "2*"},
                          {"sin(x", "sin("},
                          {"2*(", "2*"},
                          {"((", "("},
                          {"3E", "3"},
                          {"5pi", "5"},
                          {"xsin(", ""},
                          {"12", "1"},
                          {"ans", ""},
                          {"ln(", ""},
                          {"2A", "2"},
                          {"2é", "2"},
                          {"1€", "1"},
                          {"", ""}}) {
        calculator->Edit1->setText(QString::fromUtf8(c.before));
        click(28);
        EXPECT_EQ(text(calculator->Edit1), c.after) << c.before;
        EXPECT_EQ(calculator->buffer, c.after) << c.before;
    }
}

TEST_F(Calculator, EqualsShowsPostfixAndValueAndCarriesAns)
{
    type("2(3+4)");
    click(21);
    EXPECT_EQ(text(calculator->Edit2), "2 3 4 + *");
    EXPECT_EQ(text(calculator->Edit3), "14");
    EXPECT_EQ(text(calculator->Edit1), "2(3+4)"); // the expression stays for editing

    click(25);
    type("ans/4");
    click(21);
    EXPECT_EQ(text(calculator->Edit3), "3,5");
    EXPECT_EQ(calculator->Edit2->cursorPosition(), 0); // read from the first word
    EXPECT_EQ(calculator->Edit3->cursorPosition(), 0);
    click(21);
    EXPECT_EQ(text(calculator->Edit3), "0,875");

    click(25);
    type("x*y+z");
    calculator->x->setText("1,5");
    calculator->y->setText("_2");
    calculator->y->setText("-2");
    calculator->z->setText("1E1");
    click(21);
    EXPECT_EQ(text(calculator->Edit2), "x y * z +");
    EXPECT_EQ(text(calculator->Edit3), "7");
    EXPECT_EQ(messages(), "");

    // Copy with nothing selected copies the result; a double click selects a
    // whole number, a word elsewhere; a triple click, the field.
    QTest::keyClick(calculator->Edit1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "7");
    click(25);
    type("_1/7");
    click(21);
    const auto clickAt = [](QLineEdit* field, int place, bool twice) {
        field->setCursorPosition(place);
        const QPoint at = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        twice ? QTest::mouseDClick(field, Qt::LeftButton, {}, at)
              : QTest::mouseClick(field, Qt::LeftButton, {}, at);
        return field->selectedText().toStdString();
    };
    EXPECT_EQ(clickAt(calculator->Edit3, 5, true), "-0,142857142857143");
    calculator->Edit1->setText("2*sqrt(2)");
    EXPECT_EQ(clickAt(calculator->Edit1, 4, true), "sqrt");
    EXPECT_EQ(clickAt(calculator->Edit1, 4, false), "2*sqrt(2)");
}

TEST_F(Calculator, ErroAndRecovery)
{
    type("5");
    click(21);
    click(25);
    type("1/0");
    click(21);
    EXPECT_EQ(text(calculator->Edit2), "1 0 /");
    EXPECT_EQ(text(calculator->Edit3), "ERRO");
    click(25);
    type("ans+1"); // ans is the last number shown, not a conversion error
    click(21);
    EXPECT_EQ(text(calculator->Edit3), "6");
    EXPECT_EQ(messages(), "");

    click(25);
    type("sqrt(_1)");
    click(21);
    EXPECT_EQ(text(calculator->Edit3), "ERRO");
}

TEST_F(Calculator, BadFieldStopsAtItsConversion)
{
    calculator->Edit2->setText("old");
    calculator->x->setText("");
    type("1+1"); // x is not used, yet every field is converted
    click(21);
    EXPECT_EQ(messages(), "error: '' is not a valid floating point value\n");
    EXPECT_EQ(text(calculator->Edit2), "1 1 +");
    EXPECT_EQ(text(calculator->Edit3), "0");

    // The window still works afterwards.
    calculator->x->setText("2");
    MessageLog::clear();
    click(21);
    EXPECT_EQ(text(calculator->Edit3), "2");
    EXPECT_EQ(messages(), "");

    calculator->y->setText("1.5"); // a full stop is no decimal mark here
    calculator->z->setText("abc");
    click(21);
    EXPECT_EQ(messages(), "error: 'abc' is not a valid floating point value\n");
}

TEST_F(Calculator, EngineFailureInsideEqualsIsReported)
{
    type(",+1"); // accepted by the checks, no number for the conversion
    click(21);
    EXPECT_EQ(messages(), "error: ',' is not a valid floating point value\n");
    EXPECT_EQ(text(calculator->Edit2), ", 1 +");
    EXPECT_EQ(text(calculator->Edit3), "0");
}

TEST_F(Calculator, RejectedExpressions)
{
    calculator->Edit2->setText("keep");
    click(21); // empty
    type("2x");
    click(21);
    click(29);
    EXPECT_EQ(messages(), std::string(kInvalid) + kInvalid + kInvalid);
    EXPECT_EQ(text(calculator->Edit2), "keep");
    EXPECT_EQ(text(calculator->Edit3), "0");
    EXPECT_FALSE(graph->isVisible());
    EXPECT_EQ(calculator->graphExpression.getText(), "2x");
}

TEST_F(Calculator, EnterInTheExpressionRunsEquals)
{
    type("2^3");
    QTest::keyClick(calculator->Edit1, Qt::Key_Return);
    EXPECT_EQ(text(calculator->Edit3), "8");
    EXPECT_EQ(text(calculator->Edit1), "2^3");

    type("+");
    QTest::keyClick(calculator->Edit1, Qt::Key_Enter);
    EXPECT_EQ(messages(), kInvalid);

    // "=" evaluates and stays out; the keypad's decimal key gives "," in every field.
    click(25);
    type("1");
    QTest::keyClick(calculator->Edit1, Qt::Key_Period, Qt::KeypadModifier);
    type("5*2=");
    EXPECT_EQ(text(calculator->Edit1), "1,5*2");
    EXPECT_EQ(text(calculator->Edit3), "3");
    QTest::keyClick(calculator->x, Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(text(calculator->x), "0,");

    // A pasted line loses its breaks, and its paste is an undo step of its own.
    click(25);
    for (const char* clip : {"3*3\n", "\t+1\r\n+1\n\n"}) {
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(calculator->Edit1, Qt::Key_V, Qt::ControlModifier);
    }
    EXPECT_EQ(text(calculator->Edit1), "3*3 +1 +1");
    QTest::keyClick(calculator->Edit1, Qt::Key_Return);
    EXPECT_EQ(text(calculator->Edit3), "11");
    QTest::keyClick(calculator->Edit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(calculator->Edit1), "3*3");
    // A result copied out goes back in as the same number.
    QGuiApplication::clipboard()->setText("-1,5E-7");
    QTest::keyClick(calculator->Edit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(calculator->Edit1), "3*3_0,00000015");
}

TEST_F(Calculator, TypingLandsAtTheCaretKeypadAtTheEnd)
{
    type("12");
    QTest::keyClick(calculator->Edit1, Qt::Key_Home);
    type("3.");
    EXPECT_EQ(text(calculator->Edit1), "3.12");
    click(16);
    EXPECT_EQ(text(calculator->Edit1), "3.12+");
    EXPECT_EQ(calculator->Edit1->cursorPosition(), 5);
    QTest::keyClick(calculator->Edit1, Qt::Key_Backspace);
    EXPECT_EQ(calculator->buffer, "3.12");
}

TEST_F(Calculator, KeypadLeavesTheKeyboardInTheExpression)
{
    calculator->show();
    calculator->x->setFocus();
    click(1); // 7
    QWidget* keyboard = calculator->focusWidget();
    EXPECT_EQ(keyboard, calculator->Edit1);
    QTest::keyClicks(keyboard, "+1");
    QTest::keyClick(keyboard, Qt::Key_Return);
    EXPECT_EQ(text(calculator->Edit3), "8");
    click(21);
    EXPECT_EQ(calculator->focusWidget(), calculator->Edit1);
    for (int n = 1; n <= 36; ++n)
        EXPECT_EQ(calculator->button(n)->focusPolicy(), Qt::TabFocus) << n;

    // Pressed from the keyboard, a button keeps it: Space and Enter press it
    // again; a character typed goes on in the expression, at its end.
    calculator->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(calculator.get()));
    click(25);
    QPushButton* seven = calculator->button(1);
    seven->setFocus(Qt::TabFocusReason);
    QTest::keyClick(seven, Qt::Key_Space);
    QTest::keyClick(seven, Qt::Key_Return);
    EXPECT_EQ(calculator->focusWidget(), seven);
    QTest::keyClick(seven, '+');
    QTest::keyClicks(calculator->focusWidget(), "1\r");
    EXPECT_EQ(text(calculator->Edit1), "77+1");
    EXPECT_EQ(text(calculator->Edit3), "78");

    // C, Escape, "<--" and the keypad are edits of their own that Ctrl+Z undoes
    // and Ctrl+Shift+Z or Ctrl+Y redoes, as typing is.
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        QTest::keyClick(calculator->Edit1, k, m);
        return text(calculator->Edit1) + (calculator->Edit1->hasSelectedText() ? " selected" : "");
    };
    click(16); // +
    click(28); // <--
    click(18); // sqrt(
    click(25); // C
    for (const char* before : {"77+1sqrt(", "77+1", "77+1+", "77+1", "77"})
        EXPECT_EQ(key(Qt::Key_Z), before);
    EXPECT_EQ(key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), "77+1");
    EXPECT_EQ(key(Qt::Key_Y), "77+1+");
    EXPECT_EQ(key(Qt::Key_Escape, Qt::NoModifier), "");
    EXPECT_EQ(key(Qt::Key_Z), "77+1+");
    EXPECT_EQ(calculator->buffer, "77+1+");

    // So does a character typed in the result or the postfix field.
    for (const auto& [shown, typed] :
         {std::pair{calculator->Edit3, "1\r"}, {calculator->Edit2, "*2\r"}}) {
        shown->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(shown, typed[0]);
        QTest::keyClicks(calculator->focusWidget(), typed + 1);
    }
    EXPECT_EQ(text(calculator->Edit1), "77+1+1*2");
    EXPECT_EQ(text(calculator->Edit3), "80");
}

TEST_F(Calculator, GraficoOpensTheGraphWindowModally)
{
    graph->setPopupParent(calculator.get()); // as the application does for its second window
    calculator->show();
    type("x");
    calculator->Edit2->setText("keep");
    bool wasModal = false;
    bool overCalculator = false;
    QTimer::singleShot(0, [&] {
        wasModal = graph->isVisible() && QApplication::activeModalWidget() == graph.get();
        overCalculator = graph->windowHandle()->transientParent() == calculator->windowHandle() &&
                         graph->frameGeometry().center() == calculator->frameGeometry().center();
        graph->close();
    });
    click(29);
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(overCalculator);
    EXPECT_FALSE(graph->isVisible());
    EXPECT_EQ(text(calculator->Edit2), "keep");
    EXPECT_EQ(text(calculator->Edit3), "0");
    EXPECT_EQ(calculator->graphExpression.getText(), "x");
}

} // namespace
