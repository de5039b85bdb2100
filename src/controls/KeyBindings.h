#pragma once

#include <string>
#include <utility>
#include <vector>

#include "controls/PlayControls.h"

// Which keys drive the play actions: the game's default keys, which always
// keep their actions, and the player's extra keys from the settings file.
//
// A key is one number: the code GLUT hands the keyboard callback (below 256;
// letters in lower case, so Shift and Caps Lock change nothing) or 256 plus
// the code it hands the special-key callback.
class KeyBindings {
public:
    using Key = int;
    using Binding = std::pair<PlayAction, Key>;

    static constexpr Key specialKey(int glutSpecialCode) { return 256 + glutSpecialCode; }
    // The key of a keyboard-callback code: upper-case letters and the
    // control codes Ctrl gives a letter (Ctrl+W is 23) are that letter.
    static Key ordinaryKey(unsigned char code);

    // The action `key` drives, by default or by the player's choice.
    bool actionOf(Key key, PlayAction& action) const;
    // Adds a key to an action, both as written in the settings file
    // ("ACTION KEY", e.g. "jump ctrl_r"). False, with a one-line reason in
    // `error`, for an unknown action or key, the game's own keys (Tab,
    // Enter, Esc, Space, F11, F12) and a key that drives another action.
    // A key the action already has changes nothing.
    bool add(const std::string& text, std::string& error);
    // Reads "ACTION KEY" alone, without looking at the keys already bound.
    static bool read(const std::string& text, Binding& binding, std::string& error);
    const std::vector<Binding>& extras() const { return added; }
    bool has(const Binding& binding) const;

    // "ACTION KEY" as add() reads it.
    static std::string text(const Binding& binding);
    static const std::vector<Binding>& defaults();
    static std::string actionName(PlayAction action);
    // The name the settings file gives a key; empty for a key it cannot name.
    static std::string keyName(Key key);

private:
    std::vector<Binding> added;
};
