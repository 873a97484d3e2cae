#include "wsjtx/wsjtx.h"

#include "settings/windowgeometry.h"
#include "ui_wsjtx.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>

Wsjtx::Wsjtx(QWidget* parent) : QDialog(parent), ui(new Ui::Wsjtx)
{
    ui->setupUi(this);
    setObjectName("Wsjtx");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Wsjtx::toMainWindow);
    // The column titles follow the results sideways.
    connect(ui->results->horizontalScrollBar(), &QScrollBar::valueChanged,
            ui->header->horizontalScrollBar(), &QScrollBar::setValue);
}

Wsjtx::~Wsjtx()
{
    delete ui;
}

bool Wsjtx::autoReplyChecked() const
{
    return ui->autoReply->isChecked();
}

void Wsjtx::writeSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("WSJTx");
    WindowGeometry::store(settings, this, isVisible());
    settings.setValue("UdpIp", ui->udpIp->text());
    settings.setValue("UdpPort", QString::number(ui->udpPort->value()));
    settings.setValue("Search1", ui->search1->text());
    settings.setValue("Search2", ui->search2->text());
    settings.endGroup();
}

void Wsjtx::readSettings(QDir sDir)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup("WSJTx");
    visibility = WindowGeometry::restore(settings, this, "WSJTx");
    ui->udpIp->setText(settings.value("UdpIp", "224.0.0.1").toString());
    ui->udpPort->setValue(settings.value("UdpPort", "2237").toString().toInt());
    ui->search1->setText(settings.value("Search1", "CQ QRP").toString());
    ui->search2->setText(settings.value("Search2", "QQ7QQ").toString());
    settings.endGroup();
}

void Wsjtx::toMainWindow()
{
    Q_EMIT escapeSig();
}

void Wsjtx::on_udpInit_clicked()
{
    Q_EMIT udpInitSig();
}

void Wsjtx::on_clearBuffer_clicked()
{
    Q_EMIT clearResultsSig();
}

static void upperCaseKeepingCursor(QLineEdit* edit, const QString& text)
{
    const int cursor = edit->cursorPosition();
    edit->setText(text.toUpper());
    edit->setCursorPosition(cursor);
}

void Wsjtx::on_search1_textEdited(QString arg1)
{
    upperCaseKeepingCursor(ui->search1, arg1);
}

void Wsjtx::on_search2_textEdited(QString arg1)
{
    upperCaseKeepingCursor(ui->search2, arg1);
}

void Wsjtx::on_autoReply_clicked()
{
    Q_EMIT autoReplySig();
}

void Wsjtx::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    Q_EMIT closeSig();
}
