#pragma once

#include "support/soundplayer.h"

class QAudioOutput;
class QMediaPlayer;

// Plays the prompts through Qt Multimedia at full volume.
class MediaSoundPlayer final : public SoundPlayer
{
public:
    MediaSoundPlayer();
    ~MediaSoundPlayer() override;
    bool isPlaying() const override;
    void start(const QString& filePath) override;

private:
    QMediaPlayer* player;
    QAudioOutput* output;
};
