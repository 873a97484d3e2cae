#pragma once

#include "recordingsoundplayer.h"
#include "scriptedprompter.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class Parkbook;

// The station the tests log with: station K1STN, operator K1OP, SSB on 20m,
// 14.250 MHz, 100 W, park K-0001 in slot 1 (ticked and shown), date 20260601.
void fillTestStation(Parkbook& pb);

// A temporary home folder laid out as the program expects it:
// Programs/Parkbook/Info (with the built assets) and Programs/Parkbook/Data.
// The process works inside it while the object lives.
class TempHome
{
public:
    explicit TempHome(bool withDataDir = true);
    ~TempHome() { QDir::setCurrent(previousDir); }

    QString path() const { return dir.path(); }
    QString infoPath() const { return dir.path() + "/Programs/Parkbook/Info"; }
    QString dataPath() const { return dir.path() + "/Programs/Parkbook/Data"; }
    QString iniPath() const { return infoPath() + "/Parkbook.ini"; }

    // Marks every secondary window as closed at the last exit and turns the
    // update check off, so that a start opens nothing but the main window.
    // For the benchmark's hidden-window figures and the snapshot tool only:
    // tests start as a fresh install does, with every window open.
    void writeHiddenWindowSettings();

    // Builds the main window inside this home with the scripted seams, and
    // lets it finish the work its start leaves for the event loop.
    std::unique_ptr<Parkbook> makeParkbook();

    ScriptedPrompter prompter;
    RecordingSoundPlayer sound;

private:
    QTemporaryDir dir;
    QString previousDir;
};
