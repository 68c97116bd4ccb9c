// The floor the calculator's start is measured against: a Qt window with one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QLabel label("Calculator");
    label.show();
    return QApplication::exec();
}
