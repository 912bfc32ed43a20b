#include "commands.h"

namespace corvanta::cli {

int initDb(const QStringList &args);
int check(const QStringList &args);
int build(const QStringList &args);
int convertRtf(const QStringList &args);

const QList<CommandInfo> &commands()
{
    static const QList<CommandInfo> list = {
        {"init-db", "init-db [--database PATH] [--sample]   create the content database", initDb},
        {"check", "check [--database PATH] [--project NAME|ID]   load a project and report what it holds", check},
        {"build", "build [--database PATH] [--project NAME|ID] [--output DIR]   build a project's site", build},
        {"convert", "convert [--doctype NAME] [--fragment] [--plain] [FILE]   convert RTF to HTML on standard output",
         convertRtf},
    };
    return list;
}

}
