#pragma once

#include "platform/Form.h"

// The graph window: plots the calculator's expression as a function of x.
class TForm2 : public TForm {
public:
    TForm2();
};

extern TForm2* Form2;
