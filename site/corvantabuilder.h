#pragma once

#include "ibuilder.h"

#include <memory>

namespace corvanta::site {

// The host of one build: holds what the build engine needs and owns the engine it creates.
class TCorvantaBuilder : public ICorvantaBuilder
{
public:
    void SetConverter(TKvVelkaroXHTML *converter) override { m_converter = converter; }
    TKvVelkaroXHTML *GetConverter() const override { return m_converter; }
    IFactory *GetFactory() const override { return m_factory.get(); }
    void SetOutputFolder(const QString &path) override { m_outputFolder = path; }
    QString GetOutputFolder() const override;
    void SetProjectId(int id) override { m_projectId = id; }
    int GetProjectId() const override { return m_projectId; }
    void SetDatabase(db::FbDatabase *database) override { m_database = database; }
    db::FbDatabase *GetDatabase() const override { return m_database; }
    void SetTransaction(db::FbTransaction *transaction) override { m_transaction = transaction; }
    db::FbTransaction *GetTransaction() const override { return m_transaction; }
    void SetOnBuildProgress(TBuildProgressEvent callback) override { m_onBuildProgress = std::move(callback); }
    void CreateFactory() override;
    void ReleaseLists() override;

private:
    std::unique_ptr<IFactory> m_factory;
    TKvVelkaroXHTML *m_converter = nullptr;
    db::FbDatabase *m_database = nullptr;
    int m_projectId = 0;
    QString m_outputFolder;
    TBuildProgressEvent m_onBuildProgress;
    db::FbTransaction *m_transaction = nullptr;
};

}
