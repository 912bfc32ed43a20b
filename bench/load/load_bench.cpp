// Times loading the large project: the database is generated once into a temporary folder (or
// the file given with --database, generated there when missing), then Load runs repeatedly.

#include "db/corvantadm.h"
#include "largeproject/largeproject.h"
#include "site/corvantabuilder.h"
#include "site/u_factory.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>

using namespace corvanta;

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("large.fdb"));
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--database") == 0)
            path = QString::fromLocal8Bit(argv[i + 1]);
    }
    const std::unique_ptr<db::TDataMod> large = bench::OpenLargeProject(path);
    db::TDataMod &dm = *large;
    benchmark::RegisterBenchmark("Load/large_project", [&](benchmark::State &state) {
        for (auto _ : state) {
            site::TCorvantaBuilder builder;
            builder.SetDatabase(&dm.IBDBCorvanta);
            builder.SetTransaction(&dm.IBTransaction1);
            builder.SetProjectId(dm.CurrentProjectId());
            builder.CreateFactory();
            const auto start = std::chrono::steady_clock::now();
            builder.GetFactory()->Load();
            const auto end = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
            auto &factory = static_cast<site::TWebFactory &>(*builder.GetFactory());
            if (!factory.LoadErrors().isEmpty() || factory.Items->Count() == 0)
                state.SkipWithError("the large project did not load completely");
        }
    })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
