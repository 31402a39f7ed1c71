#pragma once

#include "report/failure.h"

#include <QString>

#include <exception>
#include <functional>

// The one place that reports failures to the user: a message box captioned
// with the application title, an error icon and one OK button, showing the
// failure's own text. Handlers never let an exception reach Qt's event loop:
// each runs its work inside guarded(), which catches at that edge.
namespace app {

// The text as shown: the message, with "." appended when it is not empty
// and its last character has a code above '.'.
QString failureText(const QString &message);

// Shows the failure's message box (modal; returns when the user confirms).
void reportFailure(const QString &message);

// Tests and tools replace the message box with their own sink; an empty
// function restores the message box.
using FailureSink = std::function<void(const QString &shownText)>;
void setFailureSink(FailureSink sink);

// Reports the exception that is being handled; a SilentAbort shows nothing.
void reportCurrentException() noexcept;

// Runs work, reporting any failure it raises. True when it ran to its end.
template <typename Work>
bool guarded(Work &&work) noexcept
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (...) {
        reportCurrentException();
    }
    return false;
}

} // namespace app
