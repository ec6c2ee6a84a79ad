#pragma once

#include <QString>

#include <initializer_list>
#include <utility>

// A group of check boxes as one parameter: "x", then "," and the value of
// every ticked box in the boxes' order. "x" alone when nothing is ticked;
// the server matches nothing against it.
inline QString filterList(std::initializer_list<std::pair<bool, const char*>> boxes)
{
    QString list = QStringLiteral("x");
    for (const auto& [ticked, value] : boxes)
        if (ticked)
            list += QLatin1Char(',') + QString::fromUtf8(value);
    return list;
}
