// Times uploads through the batch engine the way the panel runs them: one connection,
// binary type, the uploader's Upload with a folder or a file. Prints files per second and
// MB per second; exits non-zero when any file failed.
#include "ftp/driftwaysession.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

using namespace corvanta;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: %s HOST PORT USER PASSWORD LOCAL_FOLDER_OR_FILE\n", argv[0]);
        return 2;
    }
    const QString local = args[5];
    qint64 files = 0;
    qint64 bytes = 0;
    if (QFileInfo(local).isDir()) {
        for (QDirIterator it(local, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            it.next();
            ++files;
            bytes += it.fileInfo().size();
        }
    } else {
        files = 1;
        bytes = QFileInfo(local).size();
    }

    TDriftwaySession core;
    int failures = 0;
    core.FtpLogger().OnLog = [&](QObject *, TLogLevel level, const QString &text) {
        if (level >= logWarn || text.startsWith(QStringLiteral("Failed"))) {
            ++failures;
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
    };
    FtpClient &ftp = core.Ftp();
    ftp.Host = args[1];
    ftp.Port = quint16(args[2].toUInt());
    ftp.Username = args[3];
    ftp.Password = args[4];
    ftp.SetTransferType(FtpTransferType::Binary);
    if (!core.Connect())
        return 1;
    QElapsedTimer clock;
    clock.start();
    core.Uploader().Upload(local);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    core.Disconnect();
    std::printf("corvanta: %lld files, %lld bytes in %.3f s: %.1f files/s, %.1f MB/s\n", qlonglong(files),
                qlonglong(bytes), seconds, files / seconds, bytes / seconds / 1e6);
    return failures == 0 ? 0 : 1;
}
