#include "calculator/untCalc.h"
#include "graph/Graf.h"
#include "platform/Application.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->Run();
    } catch (const Exception& failure) {
        Application->ShowException(failure);
    }
    return 0;
}
