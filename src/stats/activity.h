#pragma once

#include <QDialog>
#include <QDir>
#include <QString>

// Placeholder window: its widgets arrive with its own work.
class Activity : public QDialog
{
    Q_OBJECT

public:
    explicit Activity(QWidget* parent = nullptr);

    QString visibility = "Yes"; // remembered visibility from the settings

public Q_SLOTS:
    void writeSettings(QDir sDir);
    void readSettings(QDir sDir);

Q_SIGNALS:
    void closeSig();
    void escapeSig();

private Q_SLOTS:
    void toMainWindow();

protected:
    void closeEvent(QCloseEvent* event) override;
};
