#include "u_factory.h"

#include "buildlog.h"
#include "db/fbquery.h"
#include "macrotext.h"

namespace corvanta::site {

namespace {

const QString projectId = QStringLiteral("project_id");
const QString collectionId = QStringLiteral("collection_id");

QString idKey(int id)
{
    return QString::number(id);
}

// A link or detail row whose collection is not one of this project's cannot be shown; it is
// an error of the step rather than a silently missing link.
TWebCollection *projectCollection(const TWebCollections &collections, int id)
{
    TWebCollection *c = collections.getItem(id);
    if (!c)
        throw EListIndexError(QStringLiteral("The collection %1 is not part of this project").arg(id));
    return c;
}

}

QString CollectionMembersSql(int sortBy, bool sortDesc)
{
    static const char *const columns[] = {"data_sequence ", "data_name ", "data_datetime "};
    return QStringLiteral("select * from cms_collection_data join cms_data on data_id = fk_data_id "
                          "where fk_collection_id = :collection_id order by ")
        + QLatin1String(columns[sortBy]) + (sortDesc ? QStringLiteral("desc") : QString());
}

TWebFactory::TWebFactory(ICorvantaBuilder *builder)
    : Builder(builder),
      Collections(std::make_unique<TWebCollections>()),
      StyledCollections(std::make_unique<TStyledCollections>()),
      Items(std::make_unique<TWebItemCollection>(
          [this](TWebItem *sender, const QString &name) { return FindTemplate(sender, name); })),
      Templates(std::make_unique<TWebTemplateCollection>()),
      Pages(std::make_unique<TWebPageCollection>()),
      Snippets(std::make_unique<TWebSnippetCollection>(this)),
      Images(std::make_unique<TImageCollection>()),
      Files(std::make_unique<TFileCollection>()),
      Links(std::make_unique<TWebItemLinkCollection>())
{
}

void TWebFactory::ReleaseLists()
{
    Snippets.reset();
    Images.reset();
    Files.reset();
    Pages.reset();
    StyledCollections.reset();
    Templates.reset();
    Items.reset();
    Collections.reset();
    Links.reset();
    HomePage = nullptr;
}

TWebItemLink *TWebFactory::FindLink(TWebCollection *collection, TWebItem *item) const
{
    return Links->Find(collection, item);
}

TWebTemplate *TWebFactory::FindTemplate(TWebItem *, const QString &name) const
{
    LogDebug(QStringLiteral("look for ") + name);
    return Templates->FindByName(name);
}

void TWebFactory::Load()
{
    LogDebug(QStringLiteral("--- Load started ---"));
    db::FbQuery query(*Builder->GetDatabase(), *Builder->GetTransaction());
    LogDebug(QStringLiteral("Entering Part 1"));
    loadProjectAndPages(query);
    runStep(2, [&] { loadCollections(query); });
    runStep(3, [&] { loadItems(query); });
    runStep(4, [&] { loadTemplates(query); });
    runStep(5, [&] { loadSnippets(query); });
    runStep(6, [&] { loadMembers(query); });
    runStep(7, [&] { loadCollectionTemplates(query); });
    runStep(8, [&] { indexMemberships(); });
    runStep(9, [&] { loadLinks(query); });
    LogDebug(QStringLiteral("Entering Part 10"));
    try {
        loadLinkDetails(query);
    } catch (const std::exception &e) {
        LogError(QStringLiteral("Part10 ") + QString::fromUtf8(e.what()));
        throw;
    }
    LogDebug(QStringLiteral("Leaving Part 10"));
    LogDebug(QStringLiteral("--- Load complete ---"));
}

// Runs a statement on the project's rows (its :project_id is the builder's project) and calls
// row for each of them.
void TWebFactory::forEachProjectRow(db::FbQuery &q, const QString &sql, const std::function<void()> &row)
{
    q.setSql(sql);
    q.setParam(projectId, Builder->GetProjectId());
    q.open();
    while (q.next())
        row();
    q.close();
}

// Steps 2 to 9 log their error and let the load go on with the next step.
void TWebFactory::runStep(int step, const std::function<void()> &body)
{
    LogDebug(QStringLiteral("Entering Part %1").arg(step));
    try {
        body();
    } catch (const std::exception &e) {
        const QString line = QStringLiteral("Part%1 ").arg(step) + QString::fromUtf8(e.what());
        LogError(line);
        m_loadErrors << line;
    }
}

void TWebFactory::loadProjectAndPages(db::FbQuery &q)
{
    forEachProjectRow(q, QStringLiteral("select * from cms_project where project_id = :project_id"), [&] {
        HomePageId = q.asInt(QStringLiteral("FK_PAGE_ID"));
        RemoteRoot = q.asString(QStringLiteral("REMOTE_ROOT"));
        ProjectName = q.asString(QStringLiteral("PROJECT_NAME"));
    });

    forEachProjectRow(q, QStringLiteral("select * from cms_page where fk_project_id = :project_id"), [&] {
        TWebPage *page = Pages->Add(QString());
        page->Id = q.asInt(QStringLiteral("PAGE_ID"));
        page->FileName = q.asString(QStringLiteral("PAGE_NAME"));
        page->Title = q.asString(QStringLiteral("PAGE_TITLE"));
        page->Body = Trimmed(q.asString(QStringLiteral("PAGE_BODY")));
        page->Keywords = q.asString(QStringLiteral("PAGE_KEYWORDS"));
        page->Abstract = q.asString(QStringLiteral("PAGE_ABSTRACT"));
        page->HeadTags = Trimmed(q.asString(QStringLiteral("PAGE_HEADTAGS")));
        page->IsHome = page->Id == HomePageId;
        if (!HomePage || page->IsHome)
            HomePage = page;
    });
}

void TWebFactory::loadCollections(db::FbQuery &q)
{
    forEachProjectRow(q, QStringLiteral("select * from cms_collection where fk_project_id=:project_id"), [&] {
        TWebCollection *c = Collections->Add();
        c->OnFindLink = [this](TWebCollection *collection, TWebItem *item) { return FindLink(collection, item); };
        c->Code = Trimmed(q.asString(QStringLiteral("COLLECTION_CODE")));
        c->Data.Id = q.asInt(QStringLiteral("COLLECTION_ID"));
        c->Data.Name = q.asString(QStringLiteral("COLLECTION_NAME"));
        c->Data.Abstract = q.asString(QStringLiteral("COLLECTION_ABSTRACT"));
        c->Data.Text = q.asString(QStringLiteral("COLLECTION_TEXT"));
        const int sortBy = q.asInt(QStringLiteral("COLLECTION_SORTBY"));
        c->SortBy = quint8(sortBy >= 0 && sortBy <= 2 ? sortBy : 0);
        c->SortDesc = q.asInt(QStringLiteral("COLLECTION_SORTDESC")) == 1;
        if (!q.isNull(QStringLiteral("FK_PAGE_ID")))
            c->Data.HomePage = Pages->FindById(q.asInt(QStringLiteral("FK_PAGE_ID")));
    });
}

void TWebFactory::loadItems(db::FbQuery &q)
{
    forEachProjectRow(q, QStringLiteral("select * from cms_data where fk_project_id = :project_id"), [&] {
        const int id = q.asInt(QStringLiteral("DATA_ID"));
        TWebData &data = Items->Add(idKey(id))->Data;
        data.Id = id;
        data.Name = q.asString(QStringLiteral("DATA_NAME"));
        data.DateTime = q.asDateTime(QStringLiteral("DATA_DATETIME"));
        data.Url = q.asString(QStringLiteral("DATA_URL"));
        data.FileData.SetFileName(q.asString(QStringLiteral("DATA_FILE")));
        data.Abstract = q.asString(QStringLiteral("DATA_ABSTRACT"));
        data.Text = q.asString(QStringLiteral("DATA_TEXT"));
    });
}

void TWebFactory::loadTemplates(db::FbQuery &q)
{
    forEachProjectRow(q, QStringLiteral("select * from cms_template where fk_project_id=:project_id"), [&] {
        TWebTemplate *t = Templates->Add(idKey(q.asInt(QStringLiteral("TEMPLATE_ID"))));
        t->Name = q.asString(QStringLiteral("TEMPLATE_NAME"));
        t->Header = q.asString(QStringLiteral("TEMPLATE_HEADER"));
        t->Body = q.asString(QStringLiteral("TEMPLATE_BODY"));
        t->Footer = q.asString(QStringLiteral("TEMPLATE_FOOTER"));
        t->OnFormat = [this](TWebTemplate *sender, const QString &text) { return FormatText(sender, text); };
    });
}

void TWebFactory::loadSnippets(db::FbQuery &q)
{
    forEachProjectRow(q, QStringLiteral("select * from cms_snippet where fk_project_id = :project_id "), [&] {
        const QString name = q.asString(QStringLiteral("SNIPPET_NAME"));
        auto snippet = std::make_unique<TWebSnippet>();
        snippet->Name = name;
        snippet->Text = q.asString(QStringLiteral("SNIPPET_TEXT"));
        Snippets->Add(name, std::move(snippet));
    });
}

void TWebFactory::loadMembers(db::FbQuery &q)
{
    for (TWebCollection *c : *Collections) {
        q.setSql(CollectionMembersSql(c->SortBy, c->SortDesc));
        q.setParam(collectionId, c->Data.Id);
        q.open();
        while (q.next())
            c->AddItem(Items->FindByKey(idKey(q.asInt(QStringLiteral("FK_DATA_ID")))));
        q.close();
    }
}

void TWebFactory::loadCollectionTemplates(db::FbQuery &q)
{
    q.setSql(QStringLiteral("select * from cms_collection_template where fk_collection_id = :collection_id "));
    for (TWebCollection *c : *Collections) {
        q.setParam(collectionId, c->Data.Id);
        q.open();
        while (q.next()) {
            auto styled = std::make_unique<TStyledCollection>();
            styled->Collection = c;
            styled->Template = Templates->FindByKey(idKey(q.asInt(QStringLiteral("FK_TEMPLATE_ID"))));
            StyledCollections->Add(QString(), std::move(styled));
        }
        q.close();
    }
}

void TWebFactory::indexMemberships()
{
    for (TWebCollection *c : *Collections) {
        LogDebug(QStringLiteral("Collection \"") + c->Code + QStringLiteral("\" contains:"));
        for (TWebItem *item : *Items) {
            if (c->Contains(item)) {
                LogDebug(item->Data.Name);
                item->Data.Collections.append(c);
            }
        }
    }
}

void TWebFactory::loadLinks(db::FbQuery &q)
{
    const QString sql = QStringLiteral(
        "select fk_collection_id_master, fk_data_id_master from cms_data_data d join cms_collection c "
        "on c.collection_id = d.fk_collection_id_master where c.fk_project_id = :project_id "
        "group by fk_collection_id_master, fk_data_id_master");
    forEachProjectRow(q, sql, [&] {
        TWebCollection *c = projectCollection(*Collections, q.asInt(QStringLiteral("FK_COLLECTION_ID_MASTER")));
        Links->Add(c, Items->FindByKey(idKey(q.asInt(QStringLiteral("FK_DATA_ID_MASTER")))));
    });
}

void TWebFactory::loadLinkDetails(db::FbQuery &q)
{
    for (TWebItemLink *link : *Links) {
        q.setSql(QStringLiteral("select fk_collection_id_detail, fk_data_id_detail from cms_data_data "
                                "where fk_collection_id_master = :collection_id and fk_data_id_master = "
                                ":data_id order by data_sequence "));
        q.setParam(collectionId, link->Collection->Data.Id);
        q.setParam(QStringLiteral("data_id"), link->Item->Data.Id);
        q.open();
        while (q.next()) {
            auto detail = std::make_unique<TWebCollectionItem>();
            detail->Collection = projectCollection(*Collections, q.asInt(QStringLiteral("FK_COLLECTION_ID_DETAIL")));
            detail->Item = Items->FindByKey(idKey(q.asInt(QStringLiteral("FK_DATA_ID_DETAIL"))));
            link->AddDetail(std::move(detail));
        }
        q.close();
    }
}

}
