#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace corvanta {
class TKvVelkaroXHTML;
namespace db {
class FbDatabase;
class FbTransaction;
}
}

namespace corvanta::site {

class TFileCollection;

// The build engine as its host sees it.
class IFactory
{
public:
    virtual ~IFactory() = default;
    // Reads the project from the database into the model.
    virtual void Load() = 0;
    // Writes the site into the output folder.
    virtual void Build() = 0;
    // Destroys the model's lists.
    virtual void ReleaseLists() = 0;
    // The manifest of the files the build wrote or referenced.
    virtual TFileCollection *GetFiles() = 0;
};

// Progress of a build: the factory and the step number.
using TBuildProgressEvent = std::function<void(IFactory *sender, int step)>;

// The host of a build as the build engine sees it: where the content and the converter come
// from and where the site goes.
class ICorvantaBuilder
{
public:
    virtual ~ICorvantaBuilder() = default;
    virtual void SetConverter(TKvVelkaroXHTML *converter) = 0;
    virtual TKvVelkaroXHTML *GetConverter() const = 0;
    virtual IFactory *GetFactory() const = 0;
    virtual void SetOutputFolder(const QString &path) = 0;
    // The folder with a trailing "/".
    virtual QString GetOutputFolder() const = 0;
    virtual void SetProjectId(int id) = 0;
    virtual int GetProjectId() const = 0;
    virtual void SetDatabase(db::FbDatabase *database) = 0;
    virtual db::FbDatabase *GetDatabase() const = 0;
    virtual void SetTransaction(db::FbTransaction *transaction) = 0;
    virtual db::FbTransaction *GetTransaction() const = 0;
    virtual void SetOnBuildProgress(TBuildProgressEvent callback) = 0;
    // Creates a new factory for this builder, releasing one created earlier.
    virtual void CreateFactory() = 0;
    virtual void ReleaseLists() = 0;
};

}
