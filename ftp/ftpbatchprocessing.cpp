#include "ftp/ftpbatchprocessing.h"

#include "ftp/ftpclient.h"
#include "ftp/ftptext.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <algorithm>

namespace corvanta {

namespace {

QStringList lines(const QString &text)
{
    QStringList out;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        out << line;
    }
    return out;
}

QString joinRemote(const QString &dir, const QString &name)
{
    return dir == u"/" ? u'/' + name : dir + u'/' + name;
}

// The absolute, cleaned target of a link listed in dir.
QString linkTarget(const QString &dir, const QString &target)
{
    return QDir::cleanPath(target.startsWith(u'/') ? target : dir + u'/' + target);
}

bool isSameOrBelow(const QString &path, const QString &ancestor)
{
    return ancestor == u"/" || path == ancestor || path.startsWith(ancestor + u'/');
}

}

TExtraFileData TExtraFileData::FromEntry(const FtpListEntry &entry)
{
    TExtraFileData data;
    data.Name = entry.Name;
    data.Size = qMax<qint64>(entry.Size, 0);
    data.IsDirectory = entry.IsDirectory();
    data.IsLink = entry.IsLink();
    return data;
}

qint64 TExtraFileData::SizeKB() const
{
    return Size <= 0 ? 0 : (Size + 1023) / 1024;
}

bool IsSafeEntryName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/')
           && !name.contains(u'\\') && !HasLineBreakOrNul(name);
}

void TFtpFileCollector::Collect(const QString &dirNames, const QString &fileNames)
{
    const QString cur = m_ftp->CurrentDir();
    m_directories.clear();
    m_files.clear();
    for (const QString &name : lines(fileNames))
        if (IsSafeEntryName(name))
            m_files << joinRemote(cur, name);
    QStringList queue;
    for (const QString &name : lines(dirNames))
        if (IsSafeEntryName(name) && !queue.contains(joinRemote(cur, name)))
            queue << joinRemote(cur, name);
    if (queue.isEmpty())
        return;
    try {
        walk(cur, queue);
    } catch (...) {
        // The caller's next command must not run in some folder deep in the tree.
        try {
            m_ftp->ChangeDir(cur);
        } catch (const FtpError &) {
        }
        throw;
    }
    m_ftp->ChangeDir(cur);
}

void TFtpFileCollector::walk(const QString &start, QStringList queue)
{
    m_directories = queue;
    QSet<QString> known(queue.begin(), queue.end());
    QSet<QString> visited;
    // The identities of the chosen folders, so that a link back to one of them is seen.
    QSet<QString> uniques;
    m_ftp->List();
    for (const FtpListEntry &entry : m_ftp->ListResult())
        if (!entry.Unique.isEmpty() && known.contains(joinRemote(start, entry.Name)))
            uniques.insert(entry.Unique);
    for (qsizetype head = 0; head < queue.size(); ++head) {
        m_ftp->ChangeDir(queue[head]);
        m_ftp->List();
        const QString here = m_ftp->CurrentDir();
        const QList<FtpListEntry> entries = m_ftp->ListResult();
        m_ftp->ChangeDirUp();
        // A folder reached a second time (through a link) is not listed again.
        if (visited.contains(here))
            continue;
        visited.insert(here);
        for (const FtpListEntry &entry : entries) {
            if (!IsSafeEntryName(entry.Name))
                continue;
            const TExtraFileData data = TExtraFileData::FromEntry(entry);
            const QString path = joinRemote(here, entry.Name);
            if (!data.IsRealDirectory()) {
                m_files << path;
                m_totalSize += data.SizeKB();
                continue;
            }
            if (!entry.Unique.isEmpty() && uniques.contains(entry.Unique))
                continue;
            if (!entry.Unique.isEmpty())
                uniques.insert(entry.Unique);
            if (entry.IsLink() && !entry.LinkTarget.isEmpty()
                && (isSameOrBelow(here, linkTarget(here, entry.LinkTarget))
                    || isSameOrBelow(start, linkTarget(here, entry.LinkTarget))))
                continue;
            if (known.contains(path))
                continue;
            known.insert(path);
            queue << path;
            m_directories << path;
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(m_directories.begin(), m_directories.end(), collator);
}

void TFtpFileTransporter::Log(const char *pattern, const QStringList &args, TLogLevel level) const
{
    if (m_connection && m_connection->GetLogger())
        m_connection->GetLogger()->Log(level, DriftwayFormat(pattern, args));
}

void TFtpFileTransporter::SetFilesPosition(qint64 position) const
{
    if (m_filesProgress)
        m_filesProgress->SetPosition(position);
}

void TFtpFileUploader::Upload(const QString &names)
{
    m_localFiles.clear();
    m_remoteDirs.clear();
    m_remoteFiles.clear();
    for (const QString &path : lines(names)) {
        if (path.isEmpty())
            continue;
        const QFileInfo info(path);
        if (info.isDir()) {
            addFolder(path, info.fileName() + u'/');
        } else {
            m_localFiles << path;
            m_remoteFiles << info.fileName();
        }
    }
    createFolders();
    putFiles();
}

void TFtpFileUploader::addFolder(const QString &folder, const QString &remote)
{
    m_remoteDirs << remote;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &file : files) {
        m_localFiles << file.filePath();
        m_remoteFiles << remote + file.fileName();
    }
    // Linked folders are left out: a link back up the tree would never end.
    const QFileInfoList subfolders =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &sub : subfolders)
        addFolder(sub.filePath(), remote + sub.fileName() + u'/');
}

void TFtpFileUploader::createFolders()
{
    if (m_remoteDirs.isEmpty())
        return;
    Log("Create %s directories", {QString::number(m_remoteDirs.size())});
    // Each failure is reported and the next folder still tried: a top folder that already
    // exists must not keep its new sub-folders from being created.
    for (const QString &dir : m_remoteDirs)
        if (!m_connection->MakeDir(dir))
            Log("Failed to create directory \"%s\"", {dir});
}

void TFtpFileUploader::putFiles()
{
    if (m_filesProgress) {
        m_filesProgress->SetMaximum(m_localFiles.size());
        m_filesProgress->Start();
    }
    Log("Start upload of %0:s files", {QString::number(m_localFiles.size())});
    for (qsizetype i = 0; i < m_localFiles.size(); ++i) {
        Log("Put %s", {m_remoteFiles[i]});
        if (!m_connection->Put(m_localFiles[i], m_remoteFiles[i])) {
            Log("Failed to put %s", {m_remoteFiles[i]});
            break;
        }
        SetFilesPosition(i + 1);
    }
    Log("Ready");
}

QString TFtpFileDownloader::localPath(const QString &remotePath, const QString &remoteBase) const
{
    QString rest;
    if (remoteBase == u"/" && remotePath.startsWith(u'/'))
        rest = remotePath.mid(1);
    else if (remotePath.startsWith(remoteBase + u'/'))
        rest = remotePath.mid(remoteBase.size() + 1);
    else
        return {};
    for (const QString &part : rest.split(u'/'))
        if (!IsSafeEntryName(part))
            return {};
    return QDir::cleanPath(m_localDir + u'/' + rest);
}

void TFtpFileDownloader::Run(const IFtpFileCollector &collector)
{
    const QString base = m_connection->GetCurrentDir();
    for (const QString &remote : collector.GetRemoteDirs()) {
        const QString local = localPath(remote, base);
        if (local.isEmpty()) {
            Log("Skipping \"%s\" (not a safe local path)", {remote}, logWarn);
            continue;
        }
        Log("Create directory \"%s\"", {local});
        if (QDir().mkdir(local))
            Log("%s", {local});
        else
            Log("Failed to create directory \"%s\"", {local});
    }
    const QStringList &files = collector.GetRemoteFiles();
    if (m_filesProgress) {
        m_filesProgress->SetMaximum(files.size());
        m_filesProgress->Start();
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString local = localPath(files[i], base);
        if (local.isEmpty()) {
            Log("Skipping \"%s\" (not a safe local path)", {files[i]}, logWarn);
            continue;
        }
        if (!m_connection->Get(files[i], local)) {
            Log("Failed to get %s", {files[i]});
            return;
        }
        SetFilesPosition(i + 1);
    }
    Log("Ready");
}

void TFtpFileDeleter::Run(const IFtpFileCollector &collector)
{
    for (const QString &file : collector.GetRemoteFiles()) {
        Log("Delete %s", {file}, logDebug);
        if (!m_connection->Delete(file))
            Log("\"%s\" not deleted", {file});
    }
    QThread::msleep(PauseMs);
    QStringList dirs = collector.GetRemoteDirs();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(dirs.begin(), dirs.end(), collator);
    for (qsizetype i = dirs.size() - 1; i >= 0; --i) {
        Log("Delete %s", {dirs[i]}, logDebug);
        if (!m_connection->RemoveDir(dirs[i])) {
            Log("\"%s\" not deleted, aborted", {dirs[i]});
            return;
        }
        QThread::msleep(PauseMs);
    }
}

}
