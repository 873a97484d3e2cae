#pragma once

#include <QDialog>
#include <QDir>
#include <QString>
#include <QTextCharFormat>

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

private Q_SLOTS:
    void toMainWindow();
    void activate();
    void deletePark();

public:
    static QString justifyDigit(QString call);
};
