#pragma once

#include <QDialog>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

namespace Ui
{
class SeeFile;
}

class Prompter;

// The read-only viewer of the program's texts (licence, read-me, shortcut
// keys, change log, environment) and of the error log. It remembers which
// text it showed so that the next start reopens it.
class SeeFile : public QDialog
{
    Q_OBJECT

public:
    explicit SeeFile(QWidget* parent = nullptr);
    ~SeeFile() override;

    Ui::SeeFile* ui;
    QString visibility = "Yes";     // remembered visibility
    QString content = "GetStarted"; // remembered text name
    QString lastError;              // why the last text could not be shown
    QTextCharFormat defaultFormat;  // every text is drawn in it

    // The boxes about missing files go through the main window's prompter;
    // without one the viewer shows real message boxes.
    void setPrompter(Prompter* boxes) { prompter = boxes; }

Q_SIGNALS:
    void escapeSig();
    void errorSig();

public Q_SLOTS:
    void writeSettings(QDir sDir, QString group, QString content, bool visible);
    void readSettings(QDir sDir, QString group);
    void toMainWindow();
    static QString justifyDigit(QString call);
    int showLicense(QDir pDir);
    int showErrorLog(QDir dDir);
    int showChangeLog(QDir pDir);
    int showEnvironment(QDir pDir);
    int showReadme(QDir dDir);
    int showShortcuts(QDir pDir);

private:
    enum class Cursor { Top, LastLine };
    struct Document {
        QString fileName;   // "/README.txt"
        QString failedName; // the name the failure box gives
        bool critical;      // box icon: critical or warning
        bool reportError;   // errorSig and lastError on failure
        Cursor cursor;
    };
    int showDocument(const QDir& dir, const Document& document, const QStringList& heading = {});

    Prompter* prompter = nullptr;
};
