#include "commands.h"

namespace corvanta::cli {

int initDb(const QStringList &args);

const QList<CommandInfo> &commands()
{
    static const QList<CommandInfo> list = {
        {"init-db", "init-db [--database PATH] [--sample]   create the content database", initDb},
    };
    return list;
}

}
