#include "largeproject.h"

#include "common/error.h"
#include "db/corvantadm.h"
#include "db/schema.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

#include <QStringList>

namespace corvanta::bench {

namespace {

const char *const words[] = {"site", "page", "news", "static", "build", "template", "snippet", "item",
                             "collection", "feed", "upload", "server", "content", "macro", "link", "text"};

QString wordAt(int n)
{
    return QString::fromLatin1(words[unsigned(n) % (sizeof words / sizeof *words)]);
}

}

QString GeneratedRtf(int seed, int bytes)
{
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                                 "{\\colortbl ;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\f0\\fs20 ");
    for (int n = 0; rtf.size() < bytes - 8; ++n) {
        const int w = seed * 31 + n * 7;
        if (n % 40 == 39)
            rtf += QStringLiteral("\\par ");
        else if (n % 13 == 5)
            rtf += QStringLiteral("\\b ") + wordAt(w) + QStringLiteral("\\b0  ");
        else if (n % 17 == 3)
            rtf += QStringLiteral("caf\\'e9 ");
        else
            rtf += wordAt(w) + u' ';
    }
    return rtf + QStringLiteral("\\par }");
}

int GenerateLargeProject(db::TDataMod &dm, const LargeProjectSize &size)
{
    const int project = dm.NextId();
    auto exec = [&](const QString &sql, auto &&bind) {
        auto query = dm.NewQuery(sql);
        bind(*query);
        query->execute();
    };
    exec(QStringLiteral("insert into CMS_PROJECT (PROJECT_ID, PROJECT_NAME, REMOTE_ROOT) values (:ID, :NAME, :ROOT)"),
         [&](db::FbQuery &q) {
             q.setParam("ID", project);
             q.setParam("NAME", QStringLiteral("Large Project"));
             q.setParam("ROOT", QStringLiteral("https://www.example.com/"));
         });

    // One prepared statement per table, executed once per row.
    auto pageQuery = dm.NewQuery("insert into CMS_PAGE (PAGE_ID, FK_PROJECT_ID, PAGE_NAME, PAGE_TITLE, PAGE_BODY) "
                                 "values (:ID, :P, :NAME, :TITLE, :BODY)");
    int firstPage = 0;
    for (int i = 0; i < size.pages; ++i) {
        const int id = dm.NextId();
        firstPage = firstPage ? firstPage : id;
        pageQuery->setParam("ID", id);
        pageQuery->setParam("P", project);
        pageQuery->setParam("NAME", i == 0 ? QStringLiteral("index.html") : QStringLiteral("page%1.html").arg(i));
        pageQuery->setParam("TITLE", QStringLiteral("Page %1").arg(i));
        // Each collection is shown in full on one page and as a list on the others, so every
        // item text is on the site once, as on a site with one page per item.
        const QString shown = QStringLiteral("C%1_%2").arg(i % size.collections).arg(i < size.collections ? "Full" : "List");
        pageQuery->setParam("BODY", QStringLiteral("%HEADER%\r\n<h1>Page %1</h1>\r\n%%2%\r\n%SNIPPET%3%\r\n%image%4.png%\r\n%FOOTER%")
                                        .arg(i).arg(shown).arg(i % size.snippets).arg(i % 100));
        pageQuery->execute();
    }
    exec("update CMS_PROJECT set FK_PAGE_ID = :PAGE where PROJECT_ID = :ID", [&](db::FbQuery &q) {
        q.setParam("PAGE", firstPage);
        q.setParam("ID", project);
    });

    auto snippetQuery = dm.NewQuery("insert into CMS_SNIPPET (SNIPPET_ID, FK_PROJECT_ID, SNIPPET_NAME, SNIPPET_TEXT) "
                                    "values (:ID, :P, :NAME, :TEXT)");
    QStringList snippetNames;
    for (int i = 0; i < size.snippets; ++i)
        snippetNames << QStringLiteral("SNIPPET%1").arg(i);
    snippetNames[0] = QStringLiteral("HEADER");
    snippetNames[1] = QStringLiteral("FOOTER");
    for (int i = 0; i < size.snippets; ++i) {
        snippetQuery->setParam("ID", dm.NextId());
        snippetQuery->setParam("P", project);
        snippetQuery->setParam("NAME", snippetNames[i]);
        snippetQuery->setParam("TEXT", QStringLiteral("<div class=\"s%1\">Snippet %1 of the %2</div>").arg(i).arg(wordAt(i)));
        snippetQuery->execute();
    }

    auto collectionQuery = dm.NewQuery(
        "insert into CMS_COLLECTION (COLLECTION_ID, FK_PROJECT_ID, COLLECTION_NAME, COLLECTION_CODE, FK_PAGE_ID, "
        "COLLECTION_SORTBY, COLLECTION_SORTDESC) values (:ID, :P, :NAME, :CODE, :PAGE, :BY, :DESC)");
    auto templateQuery = dm.NewQuery(
        "insert into CMS_TEMPLATE (TEMPLATE_ID, FK_PROJECT_ID, TEMPLATE_NAME, TEMPLATE_HEADER, TEMPLATE_BODY, "
        "TEMPLATE_FOOTER) values (:ID, :P, :NAME, :HEADER, :BODY, :FOOTER)");
    auto showQuery = dm.NewQuery("insert into CMS_COLLECTION_TEMPLATE (FK_COLLECTION_ID, FK_TEMPLATE_ID) values (:C, :T)");
    auto addTemplate = [&](const QString &name, const QString &header, const QString &body, const QString &footer) {
        const int id = dm.NextId();
        templateQuery->setParam("ID", id);
        templateQuery->setParam("P", project);
        templateQuery->setParam("NAME", name);
        templateQuery->setParam("HEADER", header);
        templateQuery->setParam("BODY", body);
        templateQuery->setParam("FOOTER", footer);
        templateQuery->execute();
        return id;
    };
    QList<int> collections;
    for (int c = 0; c < size.collections; ++c) {
        const int id = dm.NextId();
        collections << id;
        const QString code = QStringLiteral("C%1").arg(c);
        collectionQuery->setParam("ID", id);
        collectionQuery->setParam("P", project);
        collectionQuery->setParam("NAME", QStringLiteral("Collection %1").arg(c));
        collectionQuery->setParam("CODE", code);
        collectionQuery->setParam("PAGE", firstPage + c % size.pages);
        collectionQuery->setParam("BY", c % 3);
        collectionQuery->setParam("DESC", c % 2);
        collectionQuery->execute();
        const int full = addTemplate("Full", "<div class=\"collection\">",
                                     "<div class=\"item\">%ANCHOR%<h2>%NAME%</h2><p>%DATE%</p>%TEXT%\r\n"
                                     "<p>%LINK%</p>%" + code + "_LINKS%</div>",
                                     "</div>");
        const int list = addTemplate("List", "<ul>", "<li><a href=\"%HOME%\">%NAME%</a>: %ABSTRACT%</li>", "</ul>");
        addTemplate("%" + code + "_LINKS%", "<p>See also: ", "<a href=\"%HOME%\">%NAME%</a> ", "</p>");
        for (int t : {full, list}) {
            showQuery->setParam("C", id);
            showQuery->setParam("T", t);
            showQuery->execute();
        }
    }

    auto itemQuery = dm.NewQuery(
        "insert into CMS_DATA (DATA_ID, FK_PROJECT_ID, DATA_NAME, DATA_TEXT, DATA_ABSTRACT, DATA_URL, DATA_DATETIME) "
        "values (:ID, :P, :NAME, :TEXT, :ABSTRACT, :URL, :WHEN)");
    auto memberQuery = dm.NewQuery(
        "insert into CMS_COLLECTION_DATA (FK_COLLECTION_ID, FK_DATA_ID, DATA_SEQUENCE) values (:C, :D, :S)");
    QList<int> items;
    const QDateTime start(QDate(2020, 1, 1), QTime(8, 0));
    for (int i = 0; i < size.items; ++i) {
        const int id = dm.NextId();
        items << id;
        itemQuery->setParam("ID", id);
        itemQuery->setParam("P", project);
        itemQuery->setParam("NAME", QStringLiteral("Item %1 about %2").arg(i).arg(wordAt(i)));
        itemQuery->setParam("TEXT", GeneratedRtf(i, size.textBytes));
        itemQuery->setParam("ABSTRACT", QStringLiteral("The %1 of item %2").arg(wordAt(i + 3)).arg(i));
        itemQuery->setParam("URL", i % 4 == 0 ? QStringLiteral("https://www.example.com/items/%1.html").arg(i) : QString());
        itemQuery->setParam("WHEN", start.addSecs(qint64(i) * 3600));
        itemQuery->execute();
        const int member = i / size.membersPerCollection;
        if (member < size.collections) {
            memberQuery->setParam("C", collections[member]);
            memberQuery->setParam("D", id);
            memberQuery->setParam("S", i % size.membersPerCollection);
            memberQuery->execute();
        }
    }

    auto linkQuery = dm.NewQuery(
        "insert into CMS_DATA_DATA (FK_COLLECTION_ID_MASTER, FK_DATA_ID_MASTER, FK_COLLECTION_ID_DETAIL, "
        "FK_DATA_ID_DETAIL, DATA_SEQUENCE) values (:MC, :MD, :DC, :DD, :S)");
    const int members = qMin(size.items, size.collections * size.membersPerCollection);
    for (int l = 0; l < size.links; ++l) {
        const int master = (l / 2) * 7 % members;
        const int detail = (master + 1 + l * 131) % members;
        linkQuery->setParam("MC", collections[master / size.membersPerCollection]);
        linkQuery->setParam("MD", items[master]);
        linkQuery->setParam("DC", collections[detail / size.membersPerCollection]);
        linkQuery->setParam("DD", items[detail]);
        linkQuery->setParam("S", l);
        linkQuery->execute();
    }
    dm.IBTransaction1.commitRetaining();
    return project;
}

std::unique_ptr<db::TDataMod> OpenLargeProject(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        QElapsedTimer timer;
        timer.start();
        db::CreateDatabase(path);
        db::TDataMod dm(path);
        dm.Connect();
        GenerateLargeProject(dm);
        std::printf("generated %s in %.1f s\n", qPrintable(path), double(timer.elapsed()) / 1000.0);
    }
    auto dm = std::make_unique<db::TDataMod>(path);
    dm->Connect();
    if (!dm->SelectFirstProject())
        throw Error(QStringLiteral("%1 holds no project").arg(path));
    return dm;
}

}
