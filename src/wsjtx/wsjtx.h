#pragma once

#include <QDialog>
#include <QDir>
#include <QString>

// Placeholder window: its widgets arrive with its own work.
class Wsjtx : public QDialog
{
    Q_OBJECT

public:
    explicit Wsjtx(QWidget* parent = nullptr);

    QString visibility = "Yes"; // remembered visibility from the settings
    bool autoReplyChecked() const { return false; }

public Q_SLOTS:
    void writeSettings(QDir sDir);
    void readSettings(QDir sDir);

Q_SIGNALS:
    void closeSig();
    void escapeSig();
    void autoReplySig();
    void udpInitSig();
    void clearResultsSig();

private Q_SLOTS:
    void toMainWindow();

protected:
    void closeEvent(QCloseEvent* event) override;
};
