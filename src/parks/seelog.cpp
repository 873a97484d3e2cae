#include "parks/seelog.h"

#include "settings/windowgeometry.h"
#include "ui_seelog.h"

#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <utility>

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
    ++fillNumber; // a fill in parts still going on stops here
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

void SeeLog::setTextInParts(const QString& text, const QColor& lineColor,
                            std::function<void()> finished)
{
    drawText(QString(), 0, lineColor, 0, QColor());
    partsText = text;
    partsDone = 0;
    partsColour = lineColor;
    partsFinished = std::move(finished);
    const int fill = fillNumber;
    QTimer::singleShot(0, this, [this, fill] { appendPart(fill); });
}

void SeeLog::appendPart(int fill)
{
    if (fill != fillNumber)
        return;
    // Some 2,000 lines, ended before a line feed, so each later part starts
    // with the line feed that separates it from the one before.
    qsizetype end = partsDone;
    for (int lines = 0; lines < 2000 && end >= 0; ++lines)
        end = partsText.indexOf('\n', end + 1);
    if (end < 0)
        end = partsText.size();
    QTextCursor cursor(ui->log->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format = ui->log->currentCharFormat();
    format.setForeground(partsColour);
    cursor.insertText(QStringView(partsText).mid(partsDone, end - partsDone).toString(), format);
    partsDone = end;
    if (partsDone < partsText.size()) {
        QTimer::singleShot(0, this, [this, fill] { appendPart(fill); });
        return;
    }
    partsText.clear();
    if (std::function<void()> finished = std::exchange(partsFinished, nullptr))
        finished();
}

void SeeLog::colourLine(int line, const QColor& colour)
{
    const QTextBlock block = ui->log->document()->findBlockByNumber(line - 1);
    if (line <= 0 || !block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat format = ui->log->currentCharFormat();
    format.setForeground(colour);
    cursor.setCharFormat(format);
}

void SeeLog::moveHighlight(int from, int to, const QColor& lineColor, const QColor& activeColor)
{
    if (from == to)
        return;
    colourLine(from, lineColor);
    colourLine(to, activeColor);
}

void SeeLog::moveToLine(int line)
{
    // Lines never wrap in these lists, so line n is text block n - 1; going
    // there directly spares laying out every line above it.
    QTextBlock block = ui->log->document()->findBlockByNumber(line > 1 ? line - 1 : 0);
    if (!block.isValid())
        block = ui->log->document()->lastBlock();
    ui->log->setTextCursor(QTextCursor(block));
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
