#include "buildproject.h"

#include "buildlog.h"
#include "common/error.h"
#include "converter/vkmain.h"
#include "corvantabuilder.h"
#include "db/corvantadm.h"
#include "u_factory.h"

#include <QDir>

namespace corvanta::site {

namespace {

// The project's name becomes a folder name: it must not lead anywhere else.
void checkProjectName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(u'/'))
        throw Error(QStringLiteral("The project name \"%1\" cannot be the name of its output folder; "
                                   "rename the project before building it.")
                        .arg(name));
}

}

void ConfigureConverter(TKvVelkaroXHTML &converter)
{
    converter.SetDocumentType(dtXHTML_10_Transitional);
    converter.ConvertHyperlinks = true;
    converter.HyperlinkOptions = {hoUseHyperlinkList};
    converter.OptionsHead().AddOuterHTML = false;
    converter.OptionsOptimize().IncludeDefaultFontStyle = true;
    converter.OptionsOptimize().DefaultFontName = "Arial,Helvetica,sans-serif";
    converter.OptionsOptimize().DefaultFontSize = 10;
    converter.OptionsHead().MetaOptions.exclude(moMetaGenerator);
    setStringListValue(converter.OptionsHead().MetaTags, "generator", "Corvanta 2.0");
    converter.OptionsHead().MetaAuthor.clear();
}

void PrepareBuilder(TCorvantaBuilder &builder, db::TDataMod &dm)
{
    builder.SetDatabase(&dm.IBDBCorvanta);
    builder.SetTransaction(&dm.IBTransaction1);
    builder.SetProjectId(dm.CurrentProjectId());
    builder.CreateFactory();
}

TBuildReport BuildProject(db::TDataMod &dm, const QString &outputFolder)
{
    checkProjectName(dm.CurrentProjectName());
    if (!QDir().mkpath(outputFolder))
        throw Error(QStringLiteral("Cannot create the output folder %1").arg(outputFolder));

    TKvVelkaroXHTML converter;
    ConfigureConverter(converter);
    TCorvantaBuilder builder;
    builder.SetConverter(&converter);
    LogInfo(QStringLiteral("Configure"));
    builder.SetOutputFolder(outputFolder);
    PrepareBuilder(builder, dm);
    auto &factory = static_cast<TWebFactory &>(*builder.GetFactory());
    LogInfo(QStringLiteral("Load"));
    factory.Load();
    LogInfo(QStringLiteral("Build"));
    factory.Build();

    TBuildReport report{builder.GetOutputFolder(), 0, factory.LoadErrors()};
    for (const TFileInfo *file : *factory.GetFiles())
        report.FilesWritten += file->RemoteFolder.isEmpty() ? 1 : 0;
    builder.ReleaseLists();
    return report;
}

}
