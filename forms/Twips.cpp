#include "forms/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace molvik {

namespace {

double dpiX()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

double dpiY()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

} // namespace

int Twips::toPixelsX(int twips)
{
    return int(std::lround(twips * dpiX() / 1440.0));
}

int Twips::toPixelsY(int twips)
{
    return int(std::lround(twips * dpiY() / 1440.0));
}

int Twips::fromPixelsY(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dpiY()));
}

QRect Twips::rect(int left, int top, int width, int height)
{
    return {toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height)};
}

void Twips::place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(rect(left, top, width, height));
}

int Twips::screenHeight()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? fromPixelsY(s->geometry().height()) : 0;
}

} // namespace molvik
