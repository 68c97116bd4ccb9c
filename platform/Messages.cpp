#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "platform/Guard.h"

namespace {

std::vector<MessageLog::Entry> entries;
bool headlessMode = false;

void show(bool error, const std::string& text)
{
    entries.push_back({error, text});
    if (headlessMode)
        return;
    if (!qApp) { // no window system (yet): the terminal is all there is
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QStringLiteral("Calculator"), QString::fromStdString(text), QMessageBox::Ok);
    box.setObjectName(error ? "ErrorBox" : "MessageBox");
    Guard::NestedLoop loop;
    box.exec();
}

} // namespace

void ShowMessage(const std::string& text)
{
    show(false, text);
}

void ShowError(const std::string& text)
{
    show(true, text);
}

namespace MessageLog {

const std::vector<Entry>& shown()
{
    return entries;
}

void clear()
{
    entries.clear();
}

void setHeadless(bool headless)
{
    headlessMode = headless;
}

} // namespace MessageLog
