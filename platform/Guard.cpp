#include "platform/Guard.h"

#include <QCoreApplication>
#include <utility>

#include "engine/Conversions.h"
#include "engine/Stack.h"
#include "platform/Messages.h"

namespace {

int depth = 0;
std::exception_ptr pending;

} // namespace

namespace Guard {

void run(const std::function<void()>& handler)
{
    ++depth;
    std::exception_ptr failure;
    try {
        handler();
    } catch (...) {
        failure = std::current_exception();
    }
    --depth;
    if (depth > 0) {
        if (failure && !pending)
            pending = failure;
        return;
    }
    // Outermost: a failure kept by a nested handler that nobody collected is
    // still reported, but only once.
    if (!failure)
        failure = std::exchange(pending, nullptr);
    pending = nullptr;
    if (failure)
        report(failure);
}

void rethrowPending()
{
    if (pending)
        std::rethrow_exception(std::exchange(pending, nullptr));
}

std::string describe(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ExceptionError& e) {
        return e.message;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return QCoreApplication::translate("Guard", "Unknown failure").toStdString();
    }
}

void report(const std::exception_ptr& failure)
{
    ShowError(describe(failure));
}

NestedLoop::NestedLoop()
    : savedDepth(std::exchange(depth, 0)), savedPending(std::exchange(pending, nullptr))
{
}

NestedLoop::~NestedLoop()
{
    depth = savedDepth;
    pending = savedPending;
}

} // namespace Guard
