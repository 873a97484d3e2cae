#pragma once

#include <QDialog>
#include <QDir>
#include <QPoint>
#include <QSize>
#include <QString>

namespace Ui
{
class Activity;
}

// All-time activation statistics. The main window computes the figures and
// writes them into the fields; the window only shows them and keeps its
// geometry and visibility in the settings group "Activity".
class Activity : public QDialog
{
    Q_OBJECT

public:
    explicit Activity(QWidget* parent = nullptr);
    ~Activity() override;

    Ui::Activity* ui;
    QString visibility = "Yes"; // remembered visibility from the settings
    QSize windowSize;
    QPoint windowPosition;

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
