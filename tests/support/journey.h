#pragma once

#include "app/parkbook.h"
#include "app/utcclock.h"
#include "parks/seelog.h"
#include "parks/station.h"
#include "qrz/contact.h"
#include "scratchdatabases.h"
#include "stats/activity.h"
#include "temphome.h"
#include "ui_contact.h"
#include "ui_parkbook.h"
#include "ui_seelog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QtTest>

// Parkbook driven as the operator drives it, from a fresh install: typed text,
// keys pressed where the focus is, and the log file read as another program
// would read it. Its includes bring every window a test looks into.
namespace Journey
{
inline void type(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

// A button's function key shows the button pressed for a moment; a second
// press of it within that moment does nothing, so wait as a hand would.
inline void press(Parkbook* pb, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target && target->window() == pb ? target : pb, key, modifiers);
    for (QPushButton* button : pb->findChildren<QPushButton*>())
        QVERIFY(QTest::qWaitFor([button] { return !button->isDown(); }, 2000));
}

// The whole text of a field replaced, then left as Tab leaves it.
inline void retype(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    QCoreApplication::processEvents();
}

// One contact as typed: call, Enter, Enter (sent keeps "59"), the received
// report, a comment, F8.
inline void logContact(Parkbook* pb, const QString& call, const QString& rcvd,
                       const QString& comment)
{
    type(pb->ui->call, call);
    press(pb, Qt::Key_Return);
    press(pb, Qt::Key_Return);
    QTest::keyClicks(pb->ui->rcvd, rcvd);
    type(pb->ui->comment, comment);
    press(pb, Qt::Key_F8);
}

// Runs a statement on the log file in `folder` of the current home through a
// connection of its own, as another program would, whether or not Parkbook
// is running; the rows it gives, each as "value|value|...".
inline QStringList run(const QString& statement, const QString& folder = "Programs/Parkbook/Data")
{
    QSqlDatabase db = QSqlDatabase::contains("check")
                          ? QSqlDatabase::database("check", false)
                          : QSqlDatabase::addDatabase("QSQLITE", "check");
    db.close();
    db.setDatabaseName(QDir::currentPath() + "/" + folder + "/parkbook.db");
    return db.open() ? rowsOf(db, statement) : QStringList("cannot open " + folder);
}

// Every activation record whose counters differ from a count of its contacts.
inline QStringList wrongCounters()
{
    return run("SELECT date, park, QSOs, LateQSOs, P2Ps FROM parks p WHERE ifnull(QSOs, '') || "
               "' ' || ifnull(LateQSOs, '') || ' ' || ifnull(P2Ps, '') != (SELECT count(*) || ' "
               "' || count(CASE WHEN substr(time || '000000', 1, 6) < '120000' THEN 1 END) || ' "
               "' || count(nullif(p2p, '')) FROM log l WHERE l.date = p.date AND l.park = p.park)");
}

// The colours of the lines of a list window: G(reen), B(lue), T(ext) or ?.
inline QString colours(const Parkbook* pb, const SeeLog* list)
{
    QString letters;
    const QList<QColor> known = {pb->themeGreen, pb->themeBlue, pb->themeText};
    for (QTextBlock b = list->ui->log->document()->begin(); b.isValid(); b = b.next())
        letters +=
            "?GBT"[1 + known.indexOf(b.begin().fragment().charFormat().foreground().color())];
    return letters;
}

// The date and park that begin each line of the activation list.
inline QStringList listed(const Parkbook* pb)
{
    QStringList lines;
    for (const QString& line : pb->activationLog->ui->log->toPlainText().split('\n'))
        lines << line.left(15);
    return lines;
}

// The ticked Station slots, as "15" for slots 1 and 5.
inline QString ticked(const Station* station)
{
    QString ticks;
    for (int slot = 1; slot <= 5; ++slot)
        ticks += station->activeBox(slot)->isChecked() ? QString::number(slot) : QString();
    return ticks;
}

// The texts of the entry form, in the order of its fields.
inline QStringList form(const Parkbook* pb)
{
    QStringList texts;
    for (const QLineEdit* edit : {pb->ui->call, pb->ui->utc, pb->ui->name, pb->ui->state,
                                  pb->ui->sent, pb->ui->rcvd, pb->ui->mode, pb->ui->band,
                                  pb->ui->frequency, pb->ui->power, pb->ui->p2p, pb->ui->comment})
        texts.append(edit->text());
    return texts;
}
} // namespace Journey
