#include "qrz/contact.h"

#include "settings/windowgeometry.h"
#include "ui_contact.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

Contact::Contact(QWidget* parent) : QDialog(parent), ui(new Ui::Contact)
{
    ui->setupUi(this);
    setObjectName("Contact");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Contact::toMainWindow);
    auto* get = new QShortcut(QKeySequence("Alt+g"), this);
    connect(get, &QShortcut::activated, this, &Contact::on_getContact_clicked);
}

Contact::~Contact()
{
    delete ui;
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

void Contact::on_getContact_clicked()
{
    Q_EMIT getContactSig();
}

// Call signs are upper case; the cursor stays where the operator is typing.
void Contact::on_call_textEdited(QString arg1)
{
    const int position = ui->call->cursorPosition();
    ui->call->setText(arg1.toUpper());
    ui->call->setCursorPosition(position);
}

void Contact::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    Q_EMIT closeSig();
}
