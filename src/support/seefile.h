#pragma once

#include <QDialog>
#include <QDir>
#include <QString>

// Placeholder text viewer: the documents arrive with the viewer work.
class SeeFile : public QDialog
{
    Q_OBJECT

public:
    explicit SeeFile(QWidget* parent = nullptr);

    QString visibility = "Yes";     // remembered visibility
    QString content = "GetStarted"; // remembered text name

public Q_SLOTS:
    void writeSettings(QDir sDir, QString group, QString content, bool visible);
    void readSettings(QDir sDir, QString group);
    void showErrorLog(QDir dDir);

Q_SIGNALS:
    void escapeSig();

private Q_SLOTS:
    void toMainWindow();
};
