#pragma once

#include <exception>
#include <functional>
#include <string>

// Every event handler runs under this guard. A failure that leaves a handler
// ends it, and every handler it runs inside, and is reported once in an error
// box; the event loop goes on. No exception ever reaches Qt's own dispatch.
//
// Handlers nest when code sets a field's text and the field's change handler
// runs inside the caller. The inner guard then keeps the failure instead of
// reporting it, and SetText (Controls.h) throws it again in the caller, so the
// outer handler ends too and reports it once.
namespace Guard {

void run(const std::function<void()>& handler);

// Throws the failure kept by a nested handler, if any.
void rethrowPending();

// The text shown for a failure.
std::string describe(const std::exception_ptr& failure);

// Reports a failure in the error box; used by the guard and the last-resort net.
void report(const std::exception_ptr& failure);

// Modal boxes and windows run their own event loops; handlers inside them are
// outermost again, so their failures are reported while the loop runs.
class NestedLoop {
public:
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;

private:
    int savedDepth;
    std::exception_ptr savedPending;
};

} // namespace Guard
