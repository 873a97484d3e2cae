#include "parks/station.h"

#include "settings/windowgeometry.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

Station::Station(QWidget* parent) : QDialog(parent)
{
    setObjectName("Station");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Station::toMainWindow);
}

void Station::writeSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Station");
    WindowGeometry::store(settings, this, isVisible());
    settings.endGroup();
}

void Station::readSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Station");
    visibility = WindowGeometry::restore(settings, this, "Station");
    settings.endGroup();
}

void Station::toMainWindow()
{
    Q_EMIT escapeSig();
}

void Station::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    Q_EMIT closeSig();
}
