#pragma once

#include <QDialog>
#include <QDir>
#include <QString>

namespace Ui
{
class Contact;
}

// The worked station's details as QRZ sent them. The main window fills the
// fields and stores them with each logged contact, so they are public.
class Contact : public QDialog
{
    Q_OBJECT

public:
    explicit Contact(QWidget* parent = nullptr);
    ~Contact() override;

    Ui::Contact* ui;
    QString visibility = "Yes"; // remembered visibility from the settings

Q_SIGNALS:
    void closeSig();
    void escapeSig();
    void getContactSig();
    void errorSig(QString msg);

public Q_SLOTS:
    void writeSettings(QDir sDir);
    void readSettings(QDir sDir);

private Q_SLOTS:
    void toMainWindow();
    void on_getContact_clicked();
    void on_call_textEdited(QString arg1);

protected:
    void closeEvent(QCloseEvent* event) override;
};
