#include "Molvik4Plugin.h"

#include "control/Molvik4.h"
#include "forms/FormContext.h"
#include "store/RouteStore.h"

#include <QIcon>
#include <QTemporaryDir>

namespace {

// What a control placed in Designer runs on: sample routes in memory and a
// scratch folder removed with the control, so designing a form never writes
// beside the installed library or into an operator's routes.
class PreviewStore final : public QObject
{
public:
    PreviewStore() : store(environment()), forms(store, molvik::FormServices::real()) {}

    QTemporaryDir scratch;
    molvik::RouteStore store;
    molvik::FormContext forms;

    void fillSamples()
    {
        struct Sample
        {
            const char *name;
            molvik::YesNo molvik::RouteDef::*method;
        };
        const Sample samples[] = {{"Copy to archive", &molvik::RouteDef::DirTransfer},
                                  {"Upload to partner", &molvik::RouteDef::FTPTransfer},
                                  {"Mail to office", &molvik::RouteDef::EmailTransfer}};
        store.routeCount = 0;
        for (const Sample &s : samples) {
            molvik::RouteDef &r = store.routes[std::size_t(++store.routeCount)];
            r = molvik::RouteDef{};
            r.RouteDef = QLatin1String(s.name);
            r.Pattern = QStringLiteral("*.*");
            r.*s.method = molvik::Yes;
        }
    }

private:
    molvik::Environment environment() const
    {
        molvik::Environment env = molvik::Environment::systemDefault();
        env.componentFolder = scratch.path();
        return env;
    }
};

} // namespace

Molvik4Plugin::Molvik4Plugin(QObject *parent) : QObject(parent)
{}

QString Molvik4Plugin::name() const
{
    return QStringLiteral("molvik::Molvik4");
}

QString Molvik4Plugin::group() const
{
    return QStringLiteral("MolvikWizard");
}

QString Molvik4Plugin::toolTip() const
{
    return QStringLiteral("Routing wizard: the routes as a tree with New, Delete and Edit");
}

QString Molvik4Plugin::whatsThis() const
{
    return toolTip();
}

QString Molvik4Plugin::includeFile() const
{
    return QStringLiteral("control/Molvik4.h");
}

QIcon Molvik4Plugin::icon() const
{
    return QIcon(QStringLiteral(":/molvik/icons/molvik-wizard.png"));
}

bool Molvik4Plugin::isContainer() const
{
    return false;
}

QWidget *Molvik4Plugin::createWidget(QWidget *parent)
{
    auto *preview = new PreviewStore;
    auto *control = new molvik::Molvik4(preview->forms, parent);
    // A child goes after the control's own destructor has run.
    preview->setParent(control);
    preview->fillSamples();
    control->UpdateTree();
    return control;
}

QString Molvik4Plugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\"><widget class=\"molvik::Molvik4\" name=\"molvik4\"/></ui>");
}
