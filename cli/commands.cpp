#include "commands.h"

namespace corvanta::cli {

int initDb(const QStringList &args);
int convertRtf(const QStringList &args);

const QList<CommandInfo> &commands()
{
    static const QList<CommandInfo> list = {
        {"init-db", "init-db [--database PATH] [--sample]   create the content database", initDb},
        {"convert", "convert [--doctype NAME] [--fragment] [--plain] [FILE]   convert RTF to HTML on standard output",
         convertRtf},
    };
    return list;
}

}
