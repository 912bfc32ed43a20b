// Times loading and building the large project into an empty output folder that holds the
// site's 100 images. With --hugo-site DIR it instead writes the same item texts as a Hugo site
// of Markdown pages (run-vs-hugo.sh builds both and compares).

#include "converter/vkmain.h"
#include "db/corvantadm.h"
#include "largeproject/largeproject.h"
#include "site/buildproject.h"
#include "site/corvantabuilder.h"
#include "site/u_factory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>

using namespace corvanta;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void writeImages(const QString &folder)
{
    QDir().mkpath(folder);
    for (int i = 0; i < 100; ++i)
        writeFile(folder + QStringLiteral("/image%1.png").arg(i), QByteArray(4096, char(i)));
}

// The same items as Markdown pages: title, date and the text of the RTF.
void writeHugoSite(db::TDataMod &dm, const QString &root)
{
    QDir().mkpath(root + "/content/items");
    QDir().mkpath(root + "/layouts/_default");
    writeFile(root + "/config.toml", "baseURL = \"https://www.example.com/\"\ntitle = \"Large Project\"\n"
                                     "disableKinds = [\"taxonomy\", \"term\", \"RSS\", \"sitemap\"]\n");
    const QByteArray page = "<!DOCTYPE html>\n<html><head><title>{{ .Title }}</title></head>\n"
                            "<body><h1>{{ .Title }}</h1><p>{{ .Date.Format \"2006-01-02\" }}</p>\n{{ .Content }}</body></html>\n";
    writeFile(root + "/layouts/_default/single.html", page);
    writeFile(root + "/layouts/_default/list.html",
              "<!DOCTYPE html>\n<html><body><ul>{{ range .Pages }}<li>{{ .Title }}</li>{{ end }}</ul></body></html>\n");

    site::TCorvantaBuilder builder;
    site::PrepareBuilder(builder, dm);
    auto &factory = static_cast<site::TWebFactory &>(*builder.GetFactory());
    factory.Load();
    TKvVelkaroXHTML plain;
    plain.ConvertToPlainText = true;
    for (const site::TWebItem *item : *factory.Items) {
        const QByteArray text = plain.Convert(item->Data.Text.toUtf8());
        writeFile(root + QStringLiteral("/content/items/item-%1.md").arg(item->Data.Id),
                  "---\ntitle: \"" + item->Data.Name.toUtf8() + "\"\ndate: "
                      + item->Data.DateTime.toString(Qt::ISODate).toUtf8() + "\n---\n\n" + text + "\n");
    }
}

QString argument(int argc, char **argv, const char *name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return {};
}

}

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    QString path = argument(argc, argv, "--database");
    if (path.isEmpty())
        path = dir.filePath(QStringLiteral("large.fdb"));
    const std::unique_ptr<db::TDataMod> large = bench::OpenLargeProject(path);
    db::TDataMod &dm = *large;

    const QString hugoSite = argument(argc, argv, "--hugo-site");
    if (!hugoSite.isEmpty()) {
        writeHugoSite(dm, hugoSite);
        return 0;
    }

    benchmark::RegisterBenchmark("LoadAndBuild/large_project", [&](benchmark::State &state) {
        for (auto _ : state) {
            QTemporaryDir out;
            writeImages(out.filePath(QStringLiteral("images")));
            const auto start = std::chrono::steady_clock::now();
            const site::TBuildReport report = site::BuildProject(dm, out.path());
            const auto end = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
            state.counters["files"] = report.FilesWritten;
            if (!report.LoadErrors.isEmpty())
                state.SkipWithError("the large project did not load completely");
        }
    })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
