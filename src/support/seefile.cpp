#include "support/seefile.h"

#include "settings/windowgeometry.h"

#include <QSettings>
#include <QShortcut>

SeeFile::SeeFile(QWidget* parent) : QDialog(parent)
{
    setObjectName("SeeFile");
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &SeeFile::toMainWindow);
}

void SeeFile::writeSettings(QDir sDir, QString group, QString contentName, bool visible)
{
    visibility = visible ? "Yes" : "No";
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup(group);
    WindowGeometry::store(settings, this, visible);
    settings.setValue("Content", contentName);
    settings.endGroup();
}

void SeeFile::readSettings(QDir sDir, QString group)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup(group);
    visibility = WindowGeometry::restore(settings, this, group);
    content = settings.value("Content", "GetStarted").toString();
    settings.endGroup();
}

void SeeFile::showErrorLog(QDir) {}

void SeeFile::toMainWindow()
{
    Q_EMIT escapeSig();
}
