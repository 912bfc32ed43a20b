#pragma once

#include "ibuilder.h"
#include "u_images.h"
#include "u_template.h"
#include "u_webcollection.h"
#include "u_webfile.h"
#include "u_webitem.h"
#include "u_webitemlink.h"
#include "u_webpage.h"
#include "u_websnippet.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>

namespace corvanta::db {
class FbQuery;
}

namespace corvanta::site {

// The statement that reads a collection's members in its sort order.
QString CollectionMembersSql(int sortBy, bool sortDesc);

// The build engine: the in-memory model of one project, read from the database by Load.
class TWebFactory : public IFactory
{
public:
    explicit TWebFactory(ICorvantaBuilder *builder);

    void Load() override;
    void Build() override;
    void ReleaseLists() override;
    TFileCollection *GetFiles() override { return Files.get(); }

    TWebItemLink *FindLink(TWebCollection *collection, TWebItem *item) const;
    TWebTemplate *FindTemplate(TWebItem *sender, const QString &name) const;
    // An item text as HTML: rich text (starting with "{") through the converter, other text
    // with its non-ASCII characters as references.
    QString FormatText(TWebTemplate *sender, const QString &text);

    // The error lines of the load steps that failed but let the load go on: a site built
    // after such a load is incomplete, and the build says so.
    const QStringList &LoadErrors() const { return m_loadErrors; }

    ICorvantaBuilder *const Builder;
    std::unique_ptr<TWebCollections> Collections;
    std::unique_ptr<TStyledCollections> StyledCollections;
    std::unique_ptr<TWebItemCollection> Items;
    std::unique_ptr<TWebTemplateCollection> Templates;
    std::unique_ptr<TWebPageCollection> Pages;
    std::unique_ptr<TWebSnippetCollection> Snippets;
    std::unique_ptr<TImageCollection> Images;
    std::unique_ptr<TFileCollection> Files;
    std::unique_ptr<TWebItemLinkCollection> Links;
    TWebPage *HomePage = nullptr;
    TBuildProgressEvent OnBuildProgress;
    int HomePageId = 0;
    QString ProjectName;
    QString RemoteRoot;

private:
    void buildSteps();
    void checkPageNames() const;
    void reportProgress(int step);
    void listItemFiles();
    void writeFeeds(const QString &outputFolder);
    void renderPages(TKvVelkaroXHTML &converter);
    void savePages(const QString &outputFolder);
    void runStep(int step, const std::function<void()> &body);
    void forEachProjectRow(db::FbQuery &q, const QString &sql, const std::function<void()> &row);
    void loadProjectAndPages(db::FbQuery &query);
    void loadCollections(db::FbQuery &query);
    void loadItems(db::FbQuery &query);
    void loadTemplates(db::FbQuery &query);
    void loadSnippets(db::FbQuery &query);
    void loadMembers(db::FbQuery &query);
    void loadCollectionTemplates(db::FbQuery &query);
    void indexMemberships();
    void loadLinks(db::FbQuery &query);
    void loadLinkDetails(db::FbQuery &query);

    QStringList m_loadErrors;
    // Rich texts already converted in this build: an item shown through several templates,
    // and the feed's second rendering, convert each text once.
    QHash<QString, QString> m_converted;
};

}
