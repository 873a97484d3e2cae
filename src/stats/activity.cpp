#include "stats/activity.h"

#include "settings/windowgeometry.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

Activity::Activity(QWidget* parent) : QDialog(parent)
{
    setObjectName("Activity");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Activity::toMainWindow);
}

void Activity::writeSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Activity");
    WindowGeometry::store(settings, this, isVisible());
    settings.endGroup();
}

void Activity::readSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Activity");
    visibility = WindowGeometry::restore(settings, this, "Activity");
    settings.endGroup();
}

void Activity::toMainWindow()
{
    Q_EMIT escapeSig();
}

void Activity::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    Q_EMIT closeSig();
}
