#include "plym/game/Input.hpp"

#include "plym/game/InputManager.hpp"

#include <algorithm>

namespace Plym
{

Input::Input(const InputManager& manager, const std::string& name) : mManager(manager), mName(name)
{
}

float Input::getValue() const
{
    if (!mManager.isEnabled())
        return 0.f;
    if (mSimulated)
        return mSimulatedValue;
    if (!mManager.hasFocus())
        return 0.f;
    float value = 0.f;
    for (const Binding& binding : mBindings)
        value = std::max(value, poll(binding));
    return value;
}

void Input::simulate(float value)
{
    mSimulated = true;
    mSimulatedValue = std::clamp(value, 0.f, 1.f);
}

void Input::stopSimulation()
{
    mSimulated = false;
}

void Input::setBindings(std::vector<Binding> bindings)
{
    mBindings = std::move(bindings);
}

float Input::poll(const Binding& binding)
{
    switch (binding.kind)
    {
        case Binding::Key:
            return sf::Keyboard::isKeyPressed(binding.key) ? 1.f : 0.f;
        case Binding::Axis:
            if (!sf::Joystick::isConnected(binding.joystick) || !sf::Joystick::hasAxis(binding.joystick, binding.axis))
                return 0.f;
            return std::clamp(sf::Joystick::getAxisPosition(binding.joystick, binding.axis) * binding.direction / 100.f, 0.f, 1.f);
        case Binding::Button:
            return sf::Joystick::isButtonPressed(binding.joystick, binding.button) ? 1.f : 0.f;
    }
    return 0.f;
}

} // namespace Plym
