#include "controls/KeyBindings.h"

#include <cctype>

#include "platform/KeyCodes.h"

namespace {

const char* const actionNames[playActionCount] = {"roll_left", "roll_right", "roll_forward",
                                                  "roll_back", "jump",       "look_from_above"};

struct NamedKey {
    const char* name;
    KeyBindings::Key key;
};

// Keys without a printable character of their own. Tab, Enter, Esc, Space,
// F11 and F12 are named so that a refusal can name them.
const NamedKey namedKeys[] = {
    {"backspace", 8},
    {"tab", 9},
    {"enter", 13},
    {"esc", 27},
    {"space", 32},
    {"delete", 127},
    {"left", KeyBindings::specialKey(keyLeft)},
    {"up", KeyBindings::specialKey(keyUp)},
    {"right", KeyBindings::specialKey(keyRight)},
    {"down", KeyBindings::specialKey(keyDown)},
    {"page_up", KeyBindings::specialKey(0x68)},
    {"page_down", KeyBindings::specialKey(0x69)},
    {"home", KeyBindings::specialKey(0x6A)},
    {"end", KeyBindings::specialKey(0x6B)},
    {"insert", KeyBindings::specialKey(0x6C)},
    {"shift_l", KeyBindings::specialKey(0x70)},
    {"shift_r", KeyBindings::specialKey(0x71)},
    {"ctrl_l", KeyBindings::specialKey(0x72)},
    {"ctrl_r", KeyBindings::specialKey(0x73)},
    {"alt_l", KeyBindings::specialKey(0x74)},
    {"alt_r", KeyBindings::specialKey(0x75)},
};

// The keys the game gives a meaning of its own in every screen.
bool isGameKey(KeyBindings::Key key) {
    return key == keyTab || key == keyEnter || key == keyEsc || key == keySpace || key == KeyBindings::specialKey(keyF11) ||
           key == KeyBindings::specialKey(keyF12);
}

bool parseAction(const std::string& name, PlayAction& action) {
    for (int i = 0; i < playActionCount; ++i) {
        if (name == actionNames[i]) {
            action = static_cast<PlayAction>(i);
            return true;
        }
    }
    return false;
}

bool parseKey(const std::string& text, KeyBindings::Key& key) {
    if (text.size() == 1 && text[0] > 32 && text[0] < 127) {
        key = KeyBindings::ordinaryKey(static_cast<unsigned char>(text[0]));
        return true;
    }
    // Names in any case: "Ctrl_R" is ctrl_r.
    std::string name = text;
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const NamedKey& named : namedKeys) {
        if (name == named.name) {
            key = named.key;
            return true;
        }
    }
    // f1 .. f12
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f' &&
        name.find_first_not_of("0123456789", 1) == std::string::npos && name[1] != '0') {
        const int number = std::stoi(name.substr(1));
        if (number >= 1 && number <= 12) {
            key = KeyBindings::specialKey(keyF1 + number - 1);
            return true;
        }
    }
    return false;
}

// A person's text shown in a message: short, anything but printable ASCII
// replaced.
std::string shown(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, 24)) {
        const unsigned char code = static_cast<unsigned char>(c);
        out += code < 32 || code >= 127 ? '?' : c;
    }
    return text.size() > 24 ? out + "..." : out;
}
}  // namespace

KeyBindings::Key KeyBindings::ordinaryKey(unsigned char code) {
    if (code >= 1 && code <= 26 && code != 8 && code != 9 && code != 13) {
        return 'a' + code - 1;
    }
    return std::tolower(code);
}

const std::vector<KeyBindings::Binding>& KeyBindings::defaults() {
    static const std::vector<Binding> keys = {
        {PlayAction::RollLeft, specialKey(keyLeft)},     {PlayAction::RollLeft, 'a'},
        {PlayAction::RollRight, specialKey(keyRight)},   {PlayAction::RollRight, 'd'},
        {PlayAction::RollForward, specialKey(keyUp)},    {PlayAction::RollForward, 'w'},
        {PlayAction::RollBack, specialKey(keyDown)},     {PlayAction::RollBack, 's'},
        {PlayAction::Jump, 'e'},                          {PlayAction::LookFromAbove, 'q'},
    };
    return keys;
}

bool KeyBindings::actionOf(Key key, PlayAction& action) const {
    for (const std::vector<Binding>* list : {&defaults(), &added}) {
        for (const Binding& binding : *list) {
            if (binding.second == key) {
                action = binding.first;
                return true;
            }
        }
    }
    return false;
}

bool KeyBindings::has(const Binding& binding) const {
    for (const Binding& extra : added) {
        if (extra == binding) {
            return true;
        }
    }
    return false;
}

bool KeyBindings::read(const std::string& text, Binding& binding, std::string& error) {
    const std::size_t gap = text.find_first_of(" \t");
    const std::string actionText = text.substr(0, gap);
    const std::size_t keyStart = gap == std::string::npos ? std::string::npos : text.find_first_not_of(" \t", gap);
    const std::string keyText = keyStart == std::string::npos ? std::string() : text.substr(keyStart);
    if (!parseAction(actionText, binding.first)) {
        error = "\"" + shown(actionText) + "\" is no action (roll_left, roll_right, roll_forward, roll_back, jump, "
                "look_from_above)";
        return false;
    }
    if (!parseKey(keyText, binding.second)) {
        error = keyText.empty() ? "no key given" : "\"" + shown(keyText) + "\" is no key the game knows";
        return false;
    }
    return true;
}

bool KeyBindings::add(const std::string& text, std::string& error) {
    Binding binding;
    if (!read(text, binding, error)) {
        return false;
    }
    const Key key = binding.second;
    if (isGameKey(key)) {
        error = keyName(key) + " is the game's own key";
        return false;
    }
    PlayAction current = binding.first;
    if (actionOf(key, current)) {
        if (current == binding.first) {
            return true;
        }
        error = keyName(key) + " is already the key of " + actionName(current);
        return false;
    }
    added.push_back(binding);
    return true;
}

std::string KeyBindings::text(const Binding& binding) {
    return actionName(binding.first) + " " + keyName(binding.second);
}

std::string KeyBindings::actionName(PlayAction action) { return actionNames[static_cast<int>(action)]; }

std::string KeyBindings::keyName(Key key) {
    for (const NamedKey& named : namedKeys) {
        if (named.key == key) {
            return named.name;
        }
    }
    if (key > 32 && key < 127) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= specialKey(keyF1) && key <= specialKey(keyF12)) {
        return "f" + std::to_string(key - specialKey(keyF1) + 1);
    }
    return std::string();
}
