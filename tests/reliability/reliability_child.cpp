// A Parkbook run that the crash-consistency test kills with SIGKILL.
//
//   reliability_child <home> log <prefix>    logs contacts <prefix>0000 to
//                                            <prefix>9999, one line "ACK <call>"
//                                            after each is stored
//   reliability_child <home> import <file>   imports an ADIF file, "IMPORT START"
//                                            before and "IMPORT DONE" after
//
// <home> must already hold Programs/Parkbook/Info and Data; the Parkbook is
// built there with the scripted prompter, so nothing ever waits for a click.
#include "app/parkbook.h"
#include "app/utcclock.h"
#include "temphome.h"
#include "ui_parkbook.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace
{
void say(const QByteArray& line)
{
    // Written straight to the pipe: once the line is out, the parent may
    // rely on it even if this process dies the next instant.
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PARKBOOK_QRZ_URL", "http://127.0.0.1:9/xml/current/");
    qputenv("PARKBOOK_UPDATE_URL", "http://127.0.0.1:9/xml/current/");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 || !QDir::setCurrent(args.at(1)))
        return 2;
    UtcClock::setFixed(QDateTime(QDate(2026, 6, 1), QTime(14, 30, 15), Qt::UTC));

    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;
    Parkbook pb(&prompter, &sound);
    fillTestStation(pb);
    pb.ui->endDate->setText("20260601");

    if (args.at(2) == "log") {
        // The call field takes six characters: a two-letter prefix and four digits.
        for (int n = 0; n < 10000; ++n) {
            const QString call = args.at(3) + QString::number(n).rightJustified(4, '0');
            pb.ui->call->setText(call);
            pb.on_logContact_pressed();
            if (pb.contactWriteFailed) {
                say("FAILED " + call.toUtf8());
                return 1;
            }
            say("ACK " + call.toUtf8());
        }
        return 0;
    }
    if (args.at(2) == "import") {
        // The whole day of the generated records is taken.
        pb.ui->startTime->setText("000000");
        pb.ui->stopTime->setText("235959");
        prompter.paths.enqueue(args.at(3));
        const qsizetype boxesBefore = prompter.shown.size();
        say("IMPORT START");
        pb.on_actionImport_Contact_Log_triggered();
        if (prompter.shown.size() > boxesBefore) {
            say("IMPORT REPORTED " + prompter.shown.last().text.toUtf8());
            return 1;
        }
        say("IMPORT DONE");
        return 0;
    }
    return 2;
}
