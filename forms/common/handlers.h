// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A handler's error ends where the handler ends: the user action stops, the unexpected-error
// box shows the text and the program goes on. Every connect goes through Guard, so that no
// exception ever unwinds through Qt's own frames.

#include <utility>

namespace Handlers
{

// Shows the exception in flight in the unexpected-error box; for use in a catch block only.
void ShowCurrentException() noexcept;

template <typename Handler> void Run(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        ShowCurrentException();
    }
}

// A slot for connect() that runs handler with the signal's arguments, guarded as Run does.
// Its return type lets Qt find how many of the signal's arguments the handler takes.
template <typename Handler> auto Guard(Handler handler)
{
    return [handler = std::move(handler)](
               auto&&... args) -> decltype(handler(std::forward<decltype(args)>(args)...), void()) {
        Run([&] { handler(std::forward<decltype(args)>(args)...); });
    };
}

template <typename Object, typename Result, typename... Params>
auto Guard(Object* object, Result (Object::*handler)(Params...))
{
    return [object, handler](Params... args) {
        Run([&] { (object->*handler)(std::forward<Params>(args)...); });
    };
}

} // namespace Handlers
