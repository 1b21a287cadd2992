#include "Molvik4Plugin.h"

#include "control/Molvik4.h"

#include <QIcon>

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
    return QIcon(QStringLiteral(":/molvik/icons/route01.xpm"));
}

bool Molvik4Plugin::isContainer() const
{
    return false;
}

QWidget *Molvik4Plugin::createWidget(QWidget *parent)
{
    return new molvik::Molvik4(parent);
}

QString Molvik4Plugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\"><widget class=\"molvik::Molvik4\" name=\"molvik4\"/></ui>");
}
