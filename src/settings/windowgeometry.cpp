#include "settings/windowgeometry.h"

#include <QHash>
#include <QSettings>
#include <QWidget>

WindowGeometry::Geometry WindowGeometry::defaultFor(const QString& group)
{
    static const QHash<QString, Geometry> table = {
        {"Main", {{700, 230}, {0, 0}}},
        {"Activity", {{500, 150}, {0, 541}}},
        {"Contact", {{330, 150}, {679, 541}}},
        {"About", {{308, 100}, {701, 0}}},
        {"ParkLog", {{428, 105}, {581, 406}}},
        {"ContactLog", {{308, 100}, {701, 130}}},
        {"ActivationLog", {{428, 115}, {581, 261}}},
        {"Station", {{580, 250}, {0, 261}}},
        {"WSJTx", {{300, 150}, {380, 541}}},
    };
    return table.value(group, Geometry{{300, 150}, {0, 0}});
}

QString WindowGeometry::restore(QSettings& settings, QWidget* window, const QString& group)
{
    const QString visible = settings.value("Visible", "Yes").toString();
    if (settings.value("Exist").toString() != "Yes") {
        const Geometry geometry = defaultFor(group);
        window->resize(geometry.size);
        window->move(geometry.position);
    } else {
        window->resize(settings.value("Size").toSize());
        window->move(settings.value("Position").toPoint());
    }
    return visible;
}

void WindowGeometry::store(QSettings& settings, const QWidget* window, bool visible)
{
    settings.setValue("Exist", "Yes");
    settings.setValue("Visible", visible ? "Yes" : "No");
    settings.setValue("Size", window->size());
    settings.setValue("Position", window->pos());
}
