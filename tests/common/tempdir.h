#pragma once

#include <QString>
#include <QTemporaryDir>

namespace corvanta::test {

// A temporary folder removed with the fixture; path(name) joins a file name onto it.
class TempDir
{
public:
    TempDir();
    QString path() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// The source tree's root, for tests that read fixtures shipped with the project.
QString sourceDir();

}
