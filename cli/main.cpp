#include "commands.h"
#include "options.h"

#include <QCoreApplication>
#include <QTextStream>

#include <exception>

using namespace corvanta::cli;

namespace {

int usage(QTextStream &out)
{
    out << "usage: corvanta-cli COMMAND [OPTIONS]\n\ncommands:\n";
    for (const CommandInfo &c : commands())
        out << "  " << c.usage << "\n";
    return 2;
}

}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tessivon"));
    QCoreApplication::setApplicationName(QStringLiteral("Corvanta"));
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage(err);
    const QString name = args.takeFirst();
    for (const CommandInfo &c : commands()) {
        if (name != QLatin1String(c.name))
            continue;
        try {
            return c.run(args);
        } catch (const UsageError &e) {
            err << "corvanta-cli " << name << ": " << e.what() << "\nusage: corvanta-cli " << c.usage << "\n";
            return 2;
        } catch (const std::exception &e) {
            err << "corvanta-cli " << name << ": " << e.what() << "\n";
            return 1;
        }
    }
    err << "corvanta-cli: unknown command \"" << name << "\"\n";
    return usage(err);
}
