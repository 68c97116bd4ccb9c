#include "calculator/untCalc.h"
#include "graph/Graf.h"
#include "platform/Application.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    int status = 0;
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->Run();
    } catch (const Exception& failure) {
        Application->ShowException(failure);
        // Nothing opened: a launcher or a script must be able to tell.
        if (dynamic_cast<const ENoDisplay*>(&failure))
            status = 1;
    }
    return status;
}
