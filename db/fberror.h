#pragma once

#include "common/error.h"

namespace corvanta::db {

// An error of the database engine or of a database operation; the message is the engine's own.
class FbError : public Error
{
public:
    using Error::Error;
};

}
