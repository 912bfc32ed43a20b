#include "sampleproject.h"

#include "common/error.h"
#include "db/corvantadm.h"

#include <QDir>
#include <QFile>
#include <QVariantMap>

namespace corvanta::cli {

namespace {

const QString projectName = QStringLiteral("Corvanta Sample");

const char *const headTags = R"(<style type="text/css">
body { font-family: Arial, Helvetica, sans-serif; color: #1f2328; max-width: 46em; margin: 0 auto; padding: 0 1em; }
.header { border-bottom: 3px solid #2f6f9f; margin-bottom: 1.5em; }
.header h1 a { color: #2f6f9f; text-decoration: none; }
.header p { color: #57606a; margin-top: -0.5em; }
.date { color: #57606a; font-size: 90%; }
.related { font-size: 90%; }
.footer { border-top: 1px solid #d0d7de; margin-top: 2em; color: #57606a; font-size: 85%; }
</style>)";

// RTF as the rich text editor writes it: Arial 10 pt by default, links as blue underlined runs
// whose text is the name of the item they point to.
const char *const rtfHead =
    R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fmodern\fcharset0 Courier New;}})"
    R"({\colortbl ;\red0\green0\blue255;\red47\green111\blue159;}\viewkind4\uc1\pard\f0\fs20 )";

QString rtf(const char *body)
{
    return QString::fromLatin1(rtfHead) + QString::fromLatin1(body) + QStringLiteral("\\par }");
}

class SampleWriter
{
public:
    explicit SampleWriter(db::TDataMod &dm) : m_dm(dm) {}

    int insert(const QString &table, const QString &keyColumn, QVariantMap row)
    {
        const int id = m_dm.NextId();
        row.insert(keyColumn, id);
        exec(table, row);
        return id;
    }

    void exec(const QString &table, const QVariantMap &row)
    {
        const QStringList columns = row.keys();
        QStringList params;
        for (const QString &c : columns)
            params << u':' + c;
        auto query = m_dm.NewQuery(QStringLiteral("insert into %1 (%2) values (%3)")
                                       .arg(table, columns.join(u','), params.join(u',')));
        for (auto it = row.begin(); it != row.end(); ++it) {
            if (it->typeId() == QMetaType::Int)
                query->setParam(it.key(), it->toInt());
            else if (it->typeId() == QMetaType::QDateTime)
                query->setParam(it.key(), it->toDateTime());
            else
                query->setParam(it.key(), it->toString());
        }
        query->execute();
    }

private:
    db::TDataMod &m_dm;
};

QString writeDownload()
{
    const QString folder = db::TDataMod::OutputFolderFor(projectName) + QStringLiteral("download/");
    const QString path = folder + QStringLiteral("corvanta-quick-start.txt");
    QFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot write the sample file %1: %2").arg(path, file.errorString()));
    file.write("Corvanta quick start\r\n\r\n"
               "1. Edit pages, collections, items, templates and snippets.\r\n"
               "2. Build the site and preview it in your browser.\r\n"
               "3. Upload the changed files to your FTP server.\r\n");
    return path;
}

QDateTime at(int year, int month, int day, int hour)
{
    return QDateTime(QDate(year, month, day), QTime(hour, 0));
}

}

int CreateSampleProject(db::TDataMod &dm)
{
    SampleWriter w(dm);
    const int project = w.insert("CMS_PROJECT", "PROJECT_ID",
                                 {{"PROJECT_NAME", projectName},
                                  {"REMOTE_ROOT", "https://www.example.com/"},
                                  {"PROJECT_DESCRIPTION", "A small site that shows what Corvanta does."}});
    auto page = [&](const char *name, const char *title, const char *abstract, const char *body) {
        return w.insert("CMS_PAGE", "PAGE_ID",
                        {{"FK_PROJECT_ID", project}, {"PAGE_NAME", name}, {"PAGE_TITLE", title},
                         {"PAGE_ABSTRACT", abstract}, {"PAGE_KEYWORDS", "corvanta, sample, static site"},
                         {"PAGE_HEADTAGS", headTags}, {"PAGE_BODY", body}});
    };
    const int index = page("index.html", "Corvanta Sample", "News from the Corvanta sample site.",
                           "%HEADER%\r\n<h2>Latest news</h2>\r\n%NEWS_Full%\r\n"
                           "<p>Follow the news: <a href=\"NEWS-atom.xml\">Atom</a> | "
                           "<a href=\"NEWS.rdf.xml\">RSS</a></p>\r\n%FOOTER%");
    const int about = page("about.html", "About this site", "What the sample site is made of.",
                           "%HEADER%\r\n<h2>Documentation</h2>\r\n%DOCS_List%\r\n"
                           "<h2>Downloads</h2>\r\n%FILES_Download%\r\n%FOOTER%");
    auto query = dm.NewQuery("update CMS_PROJECT set FK_PAGE_ID = :PAGE where PROJECT_ID = :ID");
    query->setParam("PAGE", index);
    query->setParam("ID", project);
    query->execute();

    auto collection = [&](const char *code, const char *name, int homePage, int sortBy, int sortDesc) {
        return w.insert("CMS_COLLECTION", "COLLECTION_ID",
                        {{"FK_PROJECT_ID", project}, {"COLLECTION_CODE", code}, {"COLLECTION_NAME", name},
                         {"FK_PAGE_ID", homePage}, {"COLLECTION_SORTBY", sortBy}, {"COLLECTION_SORTDESC", sortDesc}});
    };
    const int news = collection("NEWS", "News", index, 2, 1);
    const int docs = collection("DOCS", "Documentation", about, 1, 0);
    const int files = collection("FILES", "Downloads", about, 1, 0);

    auto templ = [&](const char *name, const char *header, const char *body, const char *footer) {
        return w.insert("CMS_TEMPLATE", "TEMPLATE_ID",
                        {{"FK_PROJECT_ID", project}, {"TEMPLATE_NAME", name}, {"TEMPLATE_HEADER", header},
                         {"TEMPLATE_BODY", body}, {"TEMPLATE_FOOTER", footer}});
    };
    const int full = templ("Full", "<div class=\"news\">",
                           "<div style=\"%CARD_STYLE%\">%ANCHOR%\r\n<h3>%NAME%</h3>\r\n"
                           "<p class=\"date\">%DATE%</p>\r\n%TEXT%\r\n%DOCS_LINKS%\r\n</div>",
                           "</div>");
    const int atom = templ("ATOM", "", "<h3>%NAME%</h3>\r\n<p>%DATE%</p>\r\n%TEXT%", "");
    templ("%DOCS_LINKS%", "<p class=\"related\">Read more: ", "<a href=\"%HOME%\">%NAME%</a> ", "</p>");
    const int list = templ("List", "<ul>", "<li>%ANCHOR%<b>%NAME%</b>: %ABSTRACT%\r\n%TEXT%</li>", "</ul>");
    const int download = templ("Download", "<ul>",
                               "<li><a href=\"%FILE_URL%\">%NAME%</a> (%FILE_NAME%, %FILE_SIZE% KB, %FILE_DATE%)</li>",
                               "</ul>");
    for (auto [c, t] : {std::pair{news, full}, {news, atom}, {docs, list}, {files, download}})
        w.exec("CMS_COLLECTION_TEMPLATE", {{"FK_COLLECTION_ID", c}, {"FK_TEMPLATE_ID", t}});

    auto snippet = [&](const char *name, const char *text) {
        w.insert("CMS_SNIPPET", "SNIPPET_ID", {{"FK_PROJECT_ID", project}, {"SNIPPET_NAME", name}, {"SNIPPET_TEXT", text}});
    };
    snippet("HEADER", "<div class=\"header\">\r\n<h1><a href=\"index.html\">Corvanta Sample</a></h1>\r\n"
                      "<p>%TAGLINE%</p>\r\n<p><a href=\"index.html\">News</a> | <a href=\"about.html\">About</a></p>\r\n</div>");
    snippet("TAGLINE", "Pages, news and documentation from one small database");
    snippet("FOOTER", "<div class=\"footer\">\r\n<p>Built %TIMESTAMP% with Corvanta.</p>\r\n</div>");
    snippet("CARD_STYLE", "border: 1px solid #d0d7de; border-radius: 6px; padding: 0.2em 1em; margin: 1em 0;");

    auto item = [&](int member, const char *name, const char *abstract, const QString &text, QVariantMap extra = {}) {
        extra.insert({{"FK_PROJECT_ID", project}, {"DATA_NAME", name}, {"DATA_ABSTRACT", abstract}, {"DATA_TEXT", text}});
        const int id = w.insert("CMS_DATA", "DATA_ID", extra);
        w.exec("CMS_COLLECTION_DATA", {{"FK_COLLECTION_ID", member}, {"FK_DATA_ID", id}});
        return id;
    };
    const int started = item(docs, "Getting started", "Your first site in five minutes.",
                             rtf(R"(Create a project, add a page named \b index.html\b0  and press \i Build\i0 .)"));
    const int macros = item(docs, "Templates and macros", "How placeholders become content.",
                            rtf(R"(A template shows every item of a collection; macros such as {\f1 %NAME%} )"
                                R"(and {\f1 %TEXT%} are replaced for each item.)"),
                            {{"DATA_URL", "https://www.example.com/docs/macros.html"}});
    const int publishing = item(docs, "Publishing", "Sending the site to your server.",
                                rtf(R"(The Upload tab lists what changed since the last upload.)"));
    const int released = item(news, "Corvanta 2.0 released", "The new version is here.",
                              rtf(R"(\b Corvanta 2.0\b0  builds your site faster than ever. )"
                                  R"(New here? Start with \cf1\ul Getting started\cf0\ulnone .\par )"
                                  R"(\cf2 Caf\'e9 owners, clubs and small companies use it every day.\cf0)"),
                              {{"DATA_DATETIME", at(2026, 12, 1, 10)}});
    const int feeds = item(news, "News feeds for everyone", "Atom and RSS come built in.",
                           rtf(R"(Every build writes an \i Atom\i0  and an \i RSS\i0  feed of the news.)"),
                           {{"DATA_DATETIME", at(2026, 11, 20, 9)}});
    item(news, "Welcome", "The sample site opens.", rtf(R"(Welcome to the sample site of Corvanta.)"),
         {{"DATA_DATETIME", at(2026, 11, 1, 8)}});
    item(files, "Quick start guide", "A one-page guide.", QStringLiteral("The steps on one page."),
         {{"DATA_FILE", writeDownload()}});

    auto link = [&](int master, int detail) {
        w.exec("CMS_DATA_DATA", {{"FK_COLLECTION_ID_MASTER", news}, {"FK_DATA_ID_MASTER", master},
                                 {"FK_COLLECTION_ID_DETAIL", docs}, {"FK_DATA_ID_DETAIL", detail}});
    };
    link(released, started);
    link(released, macros);
    link(feeds, publishing);
    return project;
}

}
