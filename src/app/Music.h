#pragma once

// Switching between menu and in-game music. Each does nothing when there is
// no audio manager or it has no sound of that name.
void startIngameSounds();
// Also silences a health-drain sound that is still playing.
void stopIngameSounds();
void startMenuSounds();
void stopMenuSounds();
