// What a filtered key box lets through: an optional set of allowed characters, applied to
// each typed character and to pasted text.
#pragma once

#include <string>
#include <string_view>

namespace hx::controls {

enum class CharacterAction {
    Pass,     // hand the character on to the edit control
    Discard,  // drop it
    Paste,    // drop it and run a (filtered) paste instead
};

class CharacterFilter {
public:
    static constexpr unsigned kBackspace = 0x08;
    // The character the keyboard produces for Ctrl+V.
    static constexpr unsigned kCtrlV = 0x16;

    // Stores the set and arms the filter; the empty set lifts the restriction.
    void SetAllowedCharacters(std::string_view allowed);
    const std::string& AllowedCharacters() const { return allowed_; }
    // True while a non-empty set is in force.
    bool Restricting() const { return assigned_ && !allowed_.empty(); }

    // Decides a typed character (the code of a character message) given the modifier keys
    // held when it was typed.
    CharacterAction Classify(unsigned code, bool shiftDown, bool ctrlDown) const;
    // The text with every character outside the set removed (unchanged when not restricting).
    std::string FilterText(std::string_view text) const;

private:
    bool Allows(unsigned code) const;

    std::string allowed_;
    bool assigned_ = false;
};

}  // namespace hx::controls
