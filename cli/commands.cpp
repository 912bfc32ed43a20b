#include "commands.h"

namespace corvanta::cli {

int initDb(const QStringList &args);
int check(const QStringList &args);

const QList<CommandInfo> &commands()
{
    static const QList<CommandInfo> list = {
        {"init-db", "init-db [--database PATH] [--sample]             create the content database", initDb},
        {"check", "check [--database PATH] [--project NAME|ID]       load a project and report what it holds", check},
    };
    return list;
}

}
