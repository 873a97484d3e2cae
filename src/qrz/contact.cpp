#include "qrz/contact.h"

#include "settings/windowgeometry.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

Contact::Contact(QWidget* parent) : QDialog(parent)
{
    setObjectName("Contact");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Contact::toMainWindow);
}

void Contact::writeSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Contact");
    WindowGeometry::store(settings, this, isVisible());
    settings.endGroup();
}

void Contact::readSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("Contact");
    visibility = WindowGeometry::restore(settings, this, "Contact");
    settings.endGroup();
}

void Contact::toMainWindow()
{
    Q_EMIT escapeSig();
}

void Contact::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    Q_EMIT closeSig();
}
