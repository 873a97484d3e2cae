#include "support/seefile.h"

#include "app/prompter.h"
#include "settings/windowgeometry.h"
#include "ui_seefile.h"

#include <QFile>
#include <QSettings>
#include <QShortcut>
#include <QTextCursor>
#include <QTextStream>

SeeFile::SeeFile(QWidget* parent) : QDialog(parent), ui(new Ui::SeeFile)
{
    ui->setupUi(this);
    setObjectName("SeeFile");
    defaultFormat = ui->text->currentCharFormat();
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &SeeFile::toMainWindow);
}

SeeFile::~SeeFile()
{
    delete ui;
}

void SeeFile::writeSettings(QDir sDir, QString group, QString contentName, bool visible)
{
    visibility = visible ? "Yes" : "No";
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup(group);
    WindowGeometry::store(settings, this, visible);
    settings.setValue("Content", contentName);
    settings.endGroup();
}

void SeeFile::readSettings(QDir sDir, QString group)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup(group);
    visibility = WindowGeometry::restore(settings, this, group);
    content = settings.value("Content", "GetStarted").toString();
    settings.endGroup();
}

void SeeFile::toMainWindow()
{
    Q_EMIT escapeSig();
}

QString SeeFile::justifyDigit(QString call)
{
    if (call.size() >= 2 && call.at(1).isDigit())
        return ' ' + call;
    return call;
}

int SeeFile::showDocument(const QDir& dir, const Document& document, const QStringList& heading)
{
    QTextEdit* view = ui->text;
    view->clear();
    view->setLineWrapMode(QTextEdit::WidgetWidth);
    view->setCurrentCharFormat(defaultFormat);

    // The whole text goes in as one edit: an error log of many thousand lines
    // would take long line by line.
    QStringList lines = heading;
    QFile file(dir.path() + document.fileName);
    const bool opened = file.open(QIODevice::ReadOnly | QIODevice::Text);
    if (opened) {
        QTextStream stream(&file);
        QString line;
        while (stream.readLineInto(&line))
            lines << line;
        file.close();
    }
    if (!lines.isEmpty()) {
        QTextCursor cursor(view->document());
        cursor.beginEditBlock();
        cursor.insertText(lines.join('\n'), defaultFormat);
        cursor.endEditBlock();
    }

    if (!opened) {
        Prompter* boxes = prompter;
        DialogPrompter fallback;
        if (!boxes)
            boxes = &fallback;
        const QString text = "File '" + dir.path() + document.failedName + "' not Found.\n";
        if (document.critical)
            boxes->critical(this, "File not Found", text);
        else
            boxes->warning(this, "File not Found", text);
        if (document.reportError) {
            lastError = "File '" + dir.path() + document.fileName + "' Could not be Opened.";
            Q_EMIT errorSig();
        }
        return 0;
    }

    QTextCursor cursor = view->textCursor();
    cursor.movePosition(QTextCursor::Start);
    if (document.cursor == Cursor::LastLine) {
        // The newest entries are at the bottom: keep them in view.
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::StartOfBlock);
    }
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
    return 1;
}

int SeeFile::showLicense(QDir pDir)
{
    return showDocument(pDir, {"/LICENSE.txt", "/LICESE.txt", true, true, Cursor::Top});
}

int SeeFile::showErrorLog(QDir dDir)
{
    return showDocument(dDir, {"/errorLog.txt", "/errorLog.txt", true, false, Cursor::LastLine});
}

int SeeFile::showChangeLog(QDir pDir)
{
    return showDocument(pDir, {"/CHANGELOG.txt", "/CHANGELOG.txt", true, true, Cursor::Top});
}

int SeeFile::showEnvironment(QDir pDir)
{
    return showDocument(pDir, {"/ENVIRONMENT.txt", "/ENVIRONMENT.txt", false, true, Cursor::Top},
                        {"Program and Development Software Versions", "  Parkbook Version:  2.3.6",
                         "  Qt Build Version: 6.2.2"});
}

int SeeFile::showReadme(QDir dDir)
{
    return showDocument(dDir, {"/README.txt", "/README.txt", false, true, Cursor::Top});
}

int SeeFile::showShortcuts(QDir pDir)
{
    return showDocument(pDir, {"/SHORTCUTS.txt", "/SHORTCUTS.txt", false, true, Cursor::Top});
}
