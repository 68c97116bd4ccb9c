// The range fields "TAM_MAX_X:" and "TAM_MAX_Y:". Every change of a field's
// text sets its range and redraws. Nothing interrupts the person typing in
// one: a text that is no number yet ("", "-", "1E") leaves the view as it is,
// the redraws their keys cause write back only the other field, and what fails
// is held instead of shown in a box that would swallow the next keys. Once they
// are done with the field, what failed is reported once and the field shows
// its range as FloatToStr writes it.

#include <QSignalBlocker>
#include <utility>

#include "graph/Graf.h"
#include "platform/Controls.h"

namespace {

// Sets a variable for the life of a scope, nested handlers included.
class Scoped {
public:
    Scoped(QLineEdit*& variable, QLineEdit* value)
        : variable(variable), saved(std::exchange(variable, value))
    {
    }
    ~Scoped() { variable = saved; }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    QLineEdit*& variable;
    QLineEdit* saved;
};

// The failure of reading a text as a number, or none.
std::exception_ptr conversionFailure(const std::string& text)
{
    try {
        StrToFloat(text);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

void TForm2::rangeChanged(QLineEdit* field, double& range)
{
    if (std::exchange(edited, nullptr) != field) {
        setRange(range, StrToFloat(GetText(field)));
        return;
    }
    double value = 0;
    if (!TryStrToFloat(GetText(field), value))
        return;
    const Scoped typing(typingIn, field);
    try {
        setRange(range, value);
    } catch (...) {
        typingFailure = std::current_exception();
    }
}

void TForm2::setRange(double& range, double value)
{
    range = value == 0 ? kSmallestRange : value;
    clearExtents();
    FormShow();
}

void TForm2::showRange(QLineEdit* field, double range)
{
    describeRange(field, range);
    if (field != typingIn)
        SetText(field, FloatToStr(range));
}

void TForm2::describeRange(QLineEdit* field, double range)
{
    field->setToolTip(
        (field == Edit1 ? tr("Width of the world shown: %1") : tr("Height of the world shown: %1"))
            .arg(QString::fromStdString(FloatToStr(range))));
}

void TForm2::rangeDone(QLineEdit* field, double range)
{
    std::exception_ptr failure = std::exchange(typingFailure, nullptr);
    if (std::exception_ptr notANumber = conversionFailure(GetText(field)))
        failure = notANumber;
    // A text that reads back as the range in use changes nothing: writing it
    // needs no redraw, which would only fail again as the one held did.
    const std::string shown = FloatToStr(range);
    const QSignalBlocker quiet(StrToFloat(shown) == range ? field : nullptr);
    SetText(field, shown);
    if (failure)
        std::rethrow_exception(failure);
    // Enter, not the keyboard moving on: a screen reader then tells where it went.
    if (field->hasFocus())
        tellView();
}
