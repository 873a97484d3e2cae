#pragma once

#include "support/soundplayer.h"

#include <QFileInfo>
#include <QStringList>

// Records the prompts that were started. `busy` pretends a prompt is still
// playing, to show that new prompts are then dropped.
class RecordingSoundPlayer final : public SoundPlayer
{
public:
    QStringList started; // file names (without folder) in the order started
    bool busy = false;

    bool isPlaying() const override { return busy; }
    void start(const QString& filePath) override { started << QFileInfo(filePath).fileName(); }
};
