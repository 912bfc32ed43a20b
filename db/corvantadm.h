#pragma once

#include "fbdatabase.h"
#include "fbquery.h"

#include <QDateTime>
#include <QString>

#include <memory>

namespace corvanta::db {

// The data module: owns the connection to the content database and its one transaction, and
// offers the operations the other parts of the program share (locations, ids, the current
// project). The transaction commits when the module is destroyed.
class TDataMod
{
public:
    // databaseFile: where the database lives; the program uses DatabaseFile().
    explicit TDataMod(const QString &databaseFile = DatabaseFile());

    static QString DataFolder();
    static QString DatabaseFile();
    static QString BackupFolder();
    // The output folder of a project: the documents folder, "Corvanta/2.0/" and the name.
    static QString OutputFolderFor(const QString &projectName);

    // Connects and checks that the file is a content database; the errors name the file.
    void Connect();
    void IBDBCorvantaBeforeConnect();

    int NextId();
    std::unique_ptr<FbQuery> NewQuery(const QString &sql);

    // Makes a project current; an id that names no project is an error.
    void SelectProject(int projectId);
    // Makes the first project in name order current; false when there is none.
    bool SelectFirstProject();
    int CurrentProjectId() const { return m_projectId; }
    QString CurrentProjectName() const { return m_projectName; }
    QDateTime LastUploadTime() const { return m_lastUpload; }
    QString OutputFolder() const { return OutputFolderFor(m_projectName); }
    void MarkUploaded();

    FbDatabase IBDBCorvanta;
    FbTransaction IBTransaction1{IBDBCorvanta};

private:
    void readProject(FbQuery &query);

    QString m_databaseFile;
    int m_projectId = 0;
    QString m_projectName;
    QDateTime m_lastUpload;
};

}
