#pragma once

#include <QDialog>
#include <QDir>
#include <QString>
#include <QTextCharFormat>
#include <functional>

namespace Ui
{
class SeeLog;
}

// A read-only list window: one header line over a list of fixed-width lines.
// The park log, the contact log and the activation/hunting log are each one
// SeeLog with its own settings group.
class SeeLog : public QDialog
{
    Q_OBJECT

public:
    explicit SeeLog(QWidget* parent = nullptr);
    ~SeeLog() override;

    Ui::SeeLog* ui;
    QString visibility = "Yes";    // remembered visibility from the settings
    QTextCharFormat defaultFormat; // the list's character format as first read

    // Replaces the whole list in one edit: `lines` joined by line feeds, every
    // line in `lineColor` but line `activeLine` (1-based, 0 for none) in
    // `activeColor`. Far faster than appending line by line.
    void setLines(const QStringList& lines, const QColor& lineColor, int activeLine = 0,
                  const QColor& activeColor = QColor());
    // The same for lines already joined by line feeds.
    void setText(const QString& text, const QColor& lineColor, int activeLine = 0,
                 const QColor& activeColor = QColor());
    // The same, a part of some thousand lines at a time, each part when the
    // event loop is free, so that a list of 100,000 lines does not hold up the
    // keyboard. `finished` runs after the last part. A later fill or draw
    // takes the place of one still going on.
    void setTextInParts(const QString& text, const QColor& lineColor,
                        std::function<void()> finished = nullptr);
    // Moves the highlight from line `from` to line `to` (1-based, 0 for none)
    // without drawing the list again.
    void moveHighlight(int from, int to, const QColor& lineColor, const QColor& activeColor);
    // Puts the text cursor on line `line` (1-based; 0 and 1 both mean the first
    // line) and scrolls it into view.
    void moveToLine(int line);

public Q_SLOTS:
    void writeSettings(QDir sDir, QString group, bool vis);
    void readSettings(QDir sDir, QString group);

Q_SIGNALS:
    void escapeSig();
    void activateSig();
    void deleteSig();

private:
    void drawText(const QString& text, int lineCount, const QColor& lineColor, int activeLine,
                  const QColor& activeColor);
    void colourLine(int line, const QColor& colour);
    void appendPart(int fill);

    // The fill in parts going on: its text, how far it has come, its number.
    QString partsText;
    qsizetype partsDone = 0;
    QColor partsColour;
    std::function<void()> partsFinished;
    int fillNumber = 0;

private Q_SLOTS:
    void toMainWindow();
    void activate();
    void deletePark();

public:
    static QString justifyDigit(QString call);
};
