#pragma once
// The error type of the user-interface layer and the guard through which every
// event handler runs: an exception that escapes a handler is shown by the
// application's standard exception display and the program goes on.

#include "platform/ui/types.h"

#include <QString>
#include <exception>
#include <string>
#include <utility>

namespace platform {

// An error with a message text meant for the user.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

// Runs `call`; an exception escaping it goes to Application->HandleException
// with `sender`, and is not passed on. Returns false after an exception.
bool GuardedCall(TObject* sender, const std::function<void()>& call);

// Invokes `handler` (if assigned) through GuardedCall.
template <class Handler, class... Args>
void Fire(TObject* sender, const Handler& handler, Args&&... args) {
    if (!handler) return;
    GuardedCall(sender, [&] { handler(std::forward<Args>(args)...); });
}

} // namespace platform
