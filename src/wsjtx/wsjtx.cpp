#include "wsjtx/wsjtx.h"

#include "settings/windowgeometry.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

Wsjtx::Wsjtx(QWidget* parent) : QDialog(parent)
{
    setObjectName("Wsjtx");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Wsjtx::toMainWindow);
}

void Wsjtx::writeSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("WSJTx");
    WindowGeometry::store(settings, this, isVisible());
    settings.endGroup();
}

void Wsjtx::readSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("WSJTx");
    visibility = WindowGeometry::restore(settings, this, "WSJTx");
    settings.endGroup();
}

void Wsjtx::toMainWindow()
{
    Q_EMIT escapeSig();
}

void Wsjtx::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    Q_EMIT closeSig();
}
