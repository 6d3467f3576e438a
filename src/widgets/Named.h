#pragma once
// Gives a new widget its name (the objectName that tests and users find it by).
#include <QString>

namespace tz {

template <class Widget> Widget* Named(Widget* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

template <class Widget> Widget* Named(Widget* widget, const char* name)
{
    return Named(widget, QString::fromLatin1(name));
}

} // namespace tz
