#pragma once

#include <QStringList>

namespace corvanta::cli {

// One headless command: takes its own arguments (without the command name), returns the exit code.
using Command = int (*)(const QStringList &args);

struct CommandInfo
{
    const char *name;
    const char *usage;
    Command run;
};

// Every command of corvanta-cli, in the order the usage text lists them.
const QList<CommandInfo> &commands();

}
