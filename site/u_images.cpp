#include "u_images.h"

#include <QDir>

namespace corvanta::site {

void TImageCollection::ScanFolder(const QString &folder)
{
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &file : files) {
        auto data = std::make_unique<TFileData>();
        data->SetFileName(file.filePath());
        Add(file.fileName(), std::move(data));
    }
}

}
