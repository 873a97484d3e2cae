#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class QSettings;
class QWidget;

// The four keys every window group shares: "Exist", "Visible", "Size" and
// "Position". A window whose group was never written takes its default
// geometry from the table of built-in geometries.
namespace WindowGeometry
{
struct Geometry {
    QSize size;
    QPoint position;
};

// Built-in geometry of a settings group ("Main", "Station", "ParkLog", ...).
Geometry defaultFor(const QString& group);

// Reads "Visible" (default "Yes") and restores size and position, or the
// group's default when "Exist" is not "Yes". The QSettings is already inside
// the group. Returns the remembered visibility.
QString restore(QSettings& settings, QWidget* window, const QString& group);

// Writes "Exist" = "Yes", "Visible", "Size" and "Position", in that order.
void store(QSettings& settings, const QWidget* window, bool visible);
} // namespace WindowGeometry
