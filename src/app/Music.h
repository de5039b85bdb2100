#pragma once

class AudioManager;

// Loads the game's three sounds from "data/sounds/" into `manager`: the
// health-drain sound as a world source (the health monitor puts it at the
// ball each time it starts), the menu and in-game music at the listener.
void loadGameSounds(AudioManager& manager);

// Switching between menu and in-game music. Each does nothing when there is
// no audio manager or it has no sound of that name.
void startIngameSounds();
// Also silences a health-drain sound that is still playing.
void stopIngameSounds();
void startMenuSounds();
void stopMenuSounds();

// Sets the music and the sound effects to the settings' volumes.
void applyVolumes();
