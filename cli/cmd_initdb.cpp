#include <QStringList>
#include <QTextStream>

namespace corvanta::cli {

int initDb(const QStringList &)
{
    QTextStream(stderr) << "init-db: the content database library is not built yet\n";
    return 1;
}

}
