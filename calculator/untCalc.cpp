#include "calculator/untCalc.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QShortcut>
#include <algorithm>
#include <cmath>
#include <limits>

#include "calculator/Keypad.h"
#include "engine/Conversions.h"
#include "engine/ExpressionNumber.h"
#include "graph/Graf.h"
#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/Palette.h"

TForm1* Form1 = nullptr;

namespace {

const char* const kInvalid = "A Expressão não é Valida";
const QColor kGreen(0, 128, 0);

bool isLowercaseLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

// Removes the last whole UTF-8 character.
void removeLastCharacter(std::string& text)
{
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty())
        text.pop_back();
}

NumberField* makeField(QWidget* parent, const char* name, const char* text, QRect place,
                       const QString& spokenName)
{
    auto* field = new NumberField(QString::fromUtf8(text), parent);
    field->setObjectName(name);
    field->setGeometry(place);
    field->setAccessibleName(spokenName);
    return field;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, QRect place)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    label->setFont(SansFont(13));
    // Sized to its caption, as the font may be wider than the one the layout was drawn with.
    place.setWidth(std::max(place.width(), label->sizeHint().width()));
    label->setGeometry(place);
    return label;
}

} // namespace

TForm1::TForm1()
{
    buildControls();
}

void TForm1::buildControls()
{
    setObjectName("Form1");
    setWindowTitle("Calculator");
    setFont(SansFont(11));
    move(224, 115);
    setFixedSize(329, 417); // every control plus a margin of 8 pixels

    Label1 = makeLabel(this, "Label1", "Notação InFixa", {24, 8, 90, 16});
    Label2 = makeLabel(this, "Label2", "Notação PosFixa", {24, 56, 104, 16});
    Label3 = makeLabel(this, "Label3", "Resultado", {24, 104, 62, 16});
    Edit1 = makeField(this, "Edit1", "", {24, 24, 273, 25}, tr("expression"));
    Edit2 = makeField(this, "Edit2", "", {24, 72, 273, 25}, tr("postfix notation"));
    Edit3 = makeField(this, "Edit3", "0", {24, 120, 273, 25}, tr("result"));
    x = makeField(this, "x", "0", {48, 352, 113, 21}, tr("value of x"));
    y = makeField(this, "y", "0", {208, 352, 113, 21}, tr("value of y"));
    z = makeField(this, "z", "0", {48, 384, 113, 21}, tr("value of z"));
    labelField(Label1, Edit1);
    labelField(Label2, Edit2);
    labelField(Label3, Edit3);
    Edit1->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    Edit2->setReadOnly(true);
    Edit3->setReadOnly(true);
    // What is composed there goes on in the expression (a field, read-only too, takes input
    // methods).
    Edit2->installEventFilter(this);
    Edit3->installEventFilter(this);
    // A field would otherwise cut a long expression, or its postfix text, at 32767 characters.
    for (QLineEdit* field : {Edit1, Edit2, Edit3, x, y, z})
        field->setMaxLength(std::numeric_limits<int>::max());
    // Copy with nothing selected copies the result, as a calculator's does.
    Edit1->copyWhenNothingSelected(Edit3);
    Edit3->copyWhenNothingSelected(Edit3);

    for (const KeySpec& key : kKeypad) {
        auto* b = new QPushButton(QString::fromUtf8(key.caption), this);
        b->setObjectName(QString("Button%1").arg(key.number));
        b->setGeometry(key.left, key.top, key.width, key.height);
        b->setAccessibleName(QCoreApplication::translate("Keypad", key.spokenName));
        if (key.fontPixels > 0)
            b->setFont(SansFont(key.fontPixels, key.bold, key.italic));
        if (key.green)
            followPalette(b, [b] {
                // At least the ratio asked of text, on whatever face the theme gives.
                const QColor text = readableOn(kGreen, buttonFace(b), 4.5);
                if (b->palette().color(QPalette::ButtonText) == text)
                    return; // setting it again would report a change again
                // Only the text's colour is the button's own; the rest follows the theme.
                QPalette palette;
                palette.setColor(QPalette::ButtonText, text);
                b->setPalette(palette);
            });
        buttons.at(static_cast<std::size_t>(key.number - 1)) = b;
        // A click leaves the keyboard in the expression, so typing goes on
        // there and Enter gives "="; Tab still reaches every button, and a
        // button pressed from the keyboard keeps it.
        b->setFocusPolicy(Qt::TabFocus);
        // A dead key and the key after it come composed, to go on in the expression too.
        b->setAttribute(Qt::WA_InputMethodEnabled);
        b->installEventFilter(this);
        QObject::connect(b, &QAbstractButton::clicked, this, [this, b] {
            if (!b->hasFocus())
                Edit1->setFocus();
        });
        if (key.appends)
            OnClick(b, [this, text = key.appends] { append(text); });
    }
    OnClick(button(21), [this] { Button21Click(); });
    OnClick(button(25), [this] { Button25Click(); });
    OnClick(button(28), [this] { Button28Click(); });
    OnClick(button(29), [this] { Button29Click(); });
    OnChange(Edit1, [this] { Edit1Change(); });
    Edit1->OnKeyPress = [this](char& key) { Edit1KeyPress(key); };
    // A result copied out goes back in as the same number: "-1,5E-7" as "_0,00000015".
    Edit1->OnPaste = [](const QString& line) {
        return QString::fromStdString(ExpressionNumber(line.toStdString()));
    };
    // Escape clears the expression, as C does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    QObject::connect(escape, &QShortcut::activated, this,
                     [this] { Guard::run([this] { Button25Click(); }); });

    // Edit1, Edit2, Edit3, Button1 to Button28, x, y, z, Button29, Button30 to Button36.
    QWidget* previous = Edit2;
    setTabOrder(Edit1, Edit2);
    const auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    chain(Edit3);
    for (int n = 1; n <= 28; ++n)
        chain(button(n));
    chain(x);
    chain(y);
    chain(z);
    for (int n = 29; n <= 36; ++n)
        chain(button(n));

    announcer = new Announcer(Edit3); // last: out of the way of the chain above
}

void TForm1::FormShow()
{
    Edit1->setFocus();
}

void TForm1::Edit1Change()
{
    buffer = GetText(Edit1);
}

// Enter and "=" evaluate; "=" stays out of the expression, where it could
// never be valid.
void TForm1::Edit1KeyPress(char& key)
{
    const bool evaluate = key == 13 || key == '=';
    if (key == '=')
        key = 0;
    if (evaluate)
        Button21Click();
}

// A character typed on a keypad button, or in the result or postfix field,
// which take no typing, goes on in the expression, at its end, as after a click
// on the button; the keys after it too.
void TForm1::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    QWidget* const from = focusWidget();
    const bool passesOn = from == Edit2 || from == Edit3 ||
                          std::find(buttons.begin(), buttons.end(), from) != buttons.end();
    if (passesOn && !typed.isEmpty() && typed[0].isPrint()) {
        passOn(event);
        return;
    }
    TForm::keyPressEvent(event);
}

// So does a character composed there: a dead key and the key after it ("^"
// on a Brazilian keyboard), or an input method's text. Those come composed,
// as an input method event, to a control that takes input methods; one that
// took none would get the dead key without a character and lose it.
bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::InputMethod && watched != Edit1) {
        passOn(event);
        return true;
    }
    return TForm::eventFilter(watched, event);
}

void TForm1::passOn(QEvent* event)
{
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->end(false);
    QCoreApplication::sendEvent(Edit1, event);
}

void TForm1::append(const char* text)
{
    buffer += text;
    EditText(Edit1, buffer);
}

void TForm1::Button25Click()
{
    buffer.clear();
    EditText(Edit1, buffer);
}

void TForm1::Button28Click()
{
    if (buffer.empty())
        return;
    const char last = buffer.back();
    if (last == '(' || isLowercaseLetter(last)) {
        // a function with its "(" or a whole name goes in one press
        buffer.pop_back();
        while (!buffer.empty() && isLowercaseLetter(buffer.back()))
            buffer.pop_back();
    } else {
        removeLastCharacter(buffer);
    }
    EditText(Edit1, buffer);
}

double TForm1::answer() const
{
    double value = 0.0;
    return TryStrToFloat(GetText(Edit3), value) ? value : lastAnswer;
}

void TForm1::Button21Click()
{
    Expression expression;
    expression.setText(buffer);
    if (!expression.validate()) {
        ShowMessage(kInvalid);
        return;
    }
    SetText(Edit2, expression.toPostfix());
    const double ans = answer();
    const double zValue = StrToFloat(GetText(z));
    const double yValue = StrToFloat(GetText(y));
    const double xValue = StrToFloat(GetText(x));
    const double result = expression.evaluate(xValue, yValue, zValue, ans);
    if (result == static_cast<double>(expression.errorValue) || std::isnan(result)) {
        SetText(Edit3, "ERRO");
        announcer->say("ERRO");
        return;
    }
    const std::string shown = FloatToStr(result);
    SetText(Edit3, shown);
    announcer->say(QString::fromStdString(shown));
    lastAnswer = StrToFloat(shown); // ans carries the digits shown, as when read back
}

void TForm1::Button29Click()
{
    graphExpression.setText(buffer);
    if (!graphExpression.validate()) {
        ShowMessage(kInvalid);
        return;
    }
    Form2->ShowModal();
}
