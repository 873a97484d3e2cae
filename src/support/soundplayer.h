#pragma once

#include <QString>

// Spoken prompts go through a SoundPlayer. A prompt starts only when nothing
// is playing; one that arrives while another plays is dropped.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual bool isPlaying() const = 0;
    virtual void start(const QString& filePath) = 0;

    // Starts the prompt when the player is idle; returns whether it started.
    bool play(const QString& filePath)
    {
        if (isPlaying())
            return false;
        start(filePath);
        return true;
    }
};
