#include <gmock/gmock.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

// Every test process gets its own home, data, config and documents folders, so that the
// program's default locations resolve inside a temporary folder and never in the real home.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    const QString root = home.path();
    for (const char *sub : {"data", "config", "Documents"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    qputenv("HOME", root.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root + "/config").toLocal8Bit());
    qputenv("XDG_DOCUMENTS_DIR", (root + "/Documents").toLocal8Bit());

    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
