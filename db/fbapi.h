#pragma once

// Internal to the database library: the engine's master interface and error translation.

#include "fberror.h"

#include <firebird/Interface.h>

#include <memory>
#include <type_traits>

namespace corvanta::db::fb {

Firebird::IMaster *master();

// A status vector that throws on error and is disposed with the object.
class Status : public Firebird::ThrowStatusWrapper
{
public:
    Status() : Firebird::ThrowStatusWrapper(master()->getStatus()) {}
    ~Status() { dispose(); }
};

// The engine's message for an error status, as one text.
QString message(const Firebird::IStatus *status);

// Runs f(status) and turns the engine's exception into an FbError carrying its message.
template <typename F>
auto call(F &&f)
{
    Status status;
    try {
        return f(&status);
    } catch (const Firebird::FbException &e) {
        throw FbError(message(e.getStatus()));
    }
}

// Owning pointers to engine interfaces: release() drops the handle when a normal close did
// not happen (an error path).
template <typename T>
struct Releaser
{
    void operator()(T *p) const
    {
        if constexpr (std::is_base_of_v<Firebird::IReferenceCounted, T>)
            p->release();
        else
            p->dispose();
    }
};
template <typename T>
using Ptr = std::unique_ptr<T, Releaser<T>>;

}
