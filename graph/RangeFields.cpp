// The range fields "TAM_MAX_X:" and "TAM_MAX_Y:". Every change of a field's
// text sets its range and redraws. What the person types stays as they typed
// it: the redraws their typing causes write back only the other field, and
// once they are done with the field it shows its range as FloatToStr writes it.

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

} // namespace

void TForm2::rangeChanged(QLineEdit* field, double& range)
{
    const bool typed = std::exchange(edited, nullptr) == field;
    const Scoped typing(typingIn, typed ? field : typingIn);
    range = StrToFloat(GetText(field));
    if (range == 0)
        range = kSmallestRange;
    clearExtents();
    FormShow();
}

void TForm2::showRange(QLineEdit* field, double range)
{
    if (field != typingIn)
        SetText(field, FloatToStr(range));
}
