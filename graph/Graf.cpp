#include "graph/Graf.h"

TForm2* Form2 = nullptr;

TForm2::TForm2()
{
    setObjectName("Form2");
    setWindowTitle("Grafic Mode");
    resize(502, 456);
}
