#include "stats/activity.h"

#include "settings/windowgeometry.h"
#include "ui_activity.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

Activity::Activity(QWidget* parent) : QDialog(parent), ui(new Ui::Activity)
{
    ui->setupUi(this);
    setObjectName("Activity");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Activity::toMainWindow);
}

Activity::~Activity()
{
    delete ui;
}

void Activity::writeSettings(QDir sDir)
{
    visibility = isVisible() ? "Yes" : "No";
    windowSize = size();
    windowPosition = pos();
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
    windowSize = size();
    windowPosition = pos();
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
