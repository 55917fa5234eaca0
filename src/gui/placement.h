#pragma once

#include <QFont>
#include <QLatin1String>
#include <QRect>
#include <QStringList>

// Helpers for the windows' fixed layouts.
namespace Gui {

// The layouts are drawn in twips, 15 to a pixel at 96 dots per inch.
inline QRect twips(int left, int top, int width, int height)
{
    auto px = [](int t) { return qRound(t / 15.0); };
    return {px(left), px(top), px(width), px(height)};
}

inline QFont cjkFont(qreal pointSize)
{
    using namespace Qt::StringLiterals;
    QFont font;
    font.setFamilies({u"微软雅黑"_s, u"Noto Sans CJK SC"_s});
    font.setPointSizeF(pointSize);
    return font;
}

// Names the widget after its control, so tests and styles find it, and puts it in place.
template<typename Widget>
Widget *place(Widget *widget, const char *name, QRect geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace Gui
