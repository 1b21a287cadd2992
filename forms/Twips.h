#pragma once

#include <QRect>

class QWidget;

namespace molvik {

// Geometry given in twips (1/1440 inch), converted at the screen's logical DPI.
class Twips
{
public:
    static int toPixelsX(int twips);
    static int toPixelsY(int twips);
    static int fromPixelsY(int pixels);
    static QRect rect(int left, int top, int width, int height);
    static void place(QWidget *widget, int left, int top, int width, int height);
    // The primary screen's height in twips.
    static int screenHeight();
};

} // namespace molvik
