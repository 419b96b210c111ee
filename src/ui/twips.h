#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

// Window layouts are given in twips; at 96 dots per inch a pixel is 15 twips.
constexpr int twips(int t)
{
    return (t + 7) / 15;
}

inline void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

// Client area of a window whose user cannot resize it.
inline void fixClientTwips(QWidget *window, int width, int height)
{
    window->setFixedSize(twips(width), twips(height));
}


// Comic Sans MS where the windows name it, the platform's own font where it
// is not installed (a look-alike substitute would be harder to read).
inline QFont comicSans()
{
    const QString family = QStringLiteral("Comic Sans MS");
    if (QFontDatabase::hasFamily(family))
        return QFont(family);
    return QFont();
}
