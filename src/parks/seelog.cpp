#include "parks/seelog.h"

#include "settings/windowgeometry.h"
#include "ui_seelog.h"

#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>

SeeLog::SeeLog(QWidget* parent) : QDialog(parent), ui(new Ui::SeeLog)
{
    ui->setupUi(this);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &SeeLog::toMainWindow);
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this,
            &SeeLog::activate);
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            &SeeLog::deletePark);
    // Only a drag of the list's slider moves the header along with it.
    connect(ui->log->horizontalScrollBar(), &QScrollBar::sliderMoved,
            ui->header->horizontalScrollBar(), &QScrollBar::setValue);
}

SeeLog::~SeeLog()
{
    delete ui;
}

void SeeLog::setLines(const QStringList& lines, const QColor& lineColor, int activeLine,
                      const QColor& activeColor)
{
    drawText(lines.join('\n'), int(lines.size()), lineColor, activeLine, activeColor);
}

void SeeLog::setText(const QString& text, const QColor& lineColor, int activeLine,
                     const QColor& activeColor)
{
    const int lines = text.isEmpty() ? 0 : int(text.count('\n')) + 1;
    drawText(text, lines, lineColor, activeLine, activeColor);
}

void SeeLog::drawText(const QString& text, int lineCount, const QColor& lineColor, int activeLine,
                      const QColor& activeColor)
{
    QPlainTextEdit* list = ui->log;
    list->clear();
    QTextCursor cursor(list->document());
    QTextCharFormat format = list->currentCharFormat();
    format.setForeground(lineColor);
    cursor.beginEditBlock();
    cursor.insertText(text, format);
    if (activeLine > 0 && activeLine <= lineCount) {
        QTextBlock block = list->document()->findBlockByNumber(activeLine - 1);
        QTextCursor active(block);
        active.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat highlight = format;
        highlight.setForeground(activeColor);
        active.setCharFormat(highlight);
    }
    cursor.endEditBlock();
}

void SeeLog::moveToLine(int line)
{
    QTextCursor cursor = ui->log->textCursor();
    cursor.movePosition(QTextCursor::Start);
    if (line > 1)
        cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, line - 1);
    ui->log->setTextCursor(cursor);
    ui->log->ensureCursorVisible();
}

void SeeLog::writeSettings(QDir sDir, QString group, bool vis)
{
    visibility = vis ? "Yes" : "No";
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup(group);
    WindowGeometry::store(settings, this, vis);
    settings.endGroup();
}

void SeeLog::readSettings(QDir sDir, QString group)
{
    QSettings settings(sDir.path(), QSettings::IniFormat);
    settings.beginGroup(group);
    visibility = WindowGeometry::restore(settings, this, group);
    settings.endGroup();
    defaultFormat = ui->log->currentCharFormat();
}

void SeeLog::toMainWindow()
{
    Q_EMIT escapeSig();
}

void SeeLog::activate()
{
    Q_EMIT activateSig();
}

void SeeLog::deletePark()
{
    Q_EMIT deleteSig();
}

QString SeeLog::justifyDigit(QString call)
{
    if (call.size() >= 2 && call.at(1).isDigit())
        return ' ' + call;
    return call;
}
