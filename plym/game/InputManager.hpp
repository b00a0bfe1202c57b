#ifndef PLYM_GAME_INPUTMANAGER_HPP
#define PLYM_GAME_INPUTMANAGER_HPP

#include "plym/game/Input.hpp"

#include <map>
#include <memory>
#include <string>

namespace Plym
{

/// The named inputs of the game and their bindings.
///
/// Bindings come as JSON:
///   { "Binds": [ "Up", "Jump" ],
///     "Primary":   [ { "Input": "Up", "Key": { "Key": "W" } },
///                    { "Input": "Jump", "Button": { "Joystick": 0, "Button": 1 } } ],
///     "Secondary": [ { "Input": "Up", "Axis": { "Joystick": 0, "Axis": "Y-" } } ] }
/// Key names are those of sf::Keyboard's enumerators ("W", "LShift", "Space", "Num1", ...);
/// axes are X, Y, Z, R, U, V, PovX or PovY followed by "+" or "-".
class InputManager
{
public:
    InputManager() = default;
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    /// Installs the bindings of the text. Inputs keep their identity across calls, so
    /// references from getBind stay valid; an input no longer bound reads 0. On any error
    /// (bad JSON, unknown key or axis, entry for an undeclared input) a std::runtime_error
    /// says what is wrong and nothing changes.
    void parseBinds(const std::string& json);

    /// The input of that name; std::runtime_error when no binds declared it.
    Input& getBind(const std::string& name);
    bool hasBind(const std::string& name) const;

    void enable();
    /// disable(true) turns every input off (they read 0); disable(false) is enable().
    void disable(bool flag);
    bool isEnabled() const { return mEnabled; }

    /// Mirrors the window focus (the engine forwards its focus flag here).
    void setFocus(bool focused) { mFocused = focused; }
    bool hasFocus() const { return mFocused; }

    /// sf::Keyboard key of an enumerator name, sf::Keyboard::Unknown for an unknown name.
    static sf::Keyboard::Key keyFromName(const std::string& name);

private:
    std::map<std::string, std::unique_ptr<Input>> mInputs;
    bool mEnabled = true;
    bool mFocused = true;
};

} // namespace Plym

#endif
