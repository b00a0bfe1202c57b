#ifndef PLYM_GAME_INPUT_HPP
#define PLYM_GAME_INPUT_HPP

#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <string>
#include <vector>

namespace Plym
{

class InputManager;

/// One named input ("Up", "Jump", ...) polled from its keys, joystick axes and buttons.
///
/// Its value is the largest of its bindings, from 0 to 1: a key or button gives 0 or 1, an
/// axis direction gives the axis position towards that direction / 100. The value is 0
/// while the manager is disabled, and 0 while the window has no focus, so keys typed into
/// other programs never move the game. A simulated value (scripted input for bots, demos
/// and tests) replaces the polled one; it ignores the focus but not the disabled state.
class Input
{
public:
    /// One way to drive the input.
    struct Binding
    {
        enum Kind
        {
            Key,
            Axis,
            Button
        };

        Kind kind = Key;
        sf::Keyboard::Key key = sf::Keyboard::Unknown;
        unsigned joystick = 0;
        sf::Joystick::Axis axis = sf::Joystick::X;
        float direction = 1.f;    // +1 or -1: the half of the axis that counts
        unsigned button = 0;
    };

    Input(const InputManager& manager, const std::string& name);

    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    float getValue() const;

    /// Replaces the polled value by `value` (clamped to 0..1) until stopSimulation().
    void simulate(float value);
    void stopSimulation();
    bool isSimulated() const { return mSimulated; }

    const std::string& getName() const { return mName; }

    void setBindings(std::vector<Binding> bindings);
    const std::vector<Binding>& getBindings() const { return mBindings; }

private:
    static float poll(const Binding& binding);

    const InputManager& mManager;
    std::string mName;
    std::vector<Binding> mBindings;
    bool mSimulated = false;
    float mSimulatedValue = 0.f;
};

} // namespace Plym

#endif
