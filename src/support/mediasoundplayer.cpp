#include "support/mediasoundplayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

MediaSoundPlayer::MediaSoundPlayer() : player(new QMediaPlayer), output(new QAudioOutput)
{
    player->setAudioOutput(output);
    output->setVolume(1.0f);
}

MediaSoundPlayer::~MediaSoundPlayer()
{
    delete player;
    delete output;
}

bool MediaSoundPlayer::isPlaying() const
{
    return player->playbackState() != QMediaPlayer::StoppedState;
}

void MediaSoundPlayer::start(const QString& filePath)
{
    player->setSource(QUrl::fromLocalFile(filePath));
    player->play();
}
