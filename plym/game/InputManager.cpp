#include "plym/game/InputManager.hpp"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <unordered_map>

namespace Plym
{
namespace
{

using Json = nlohmann::json;
using Bindings = std::map<std::string, std::vector<Input::Binding>>;

const std::string ParseError = "InputManager::parseBinds - ";

std::unordered_map<std::string, sf::Keyboard::Key> makeKeyNames()
{
    using K = sf::Keyboard;
    std::unordered_map<std::string, K::Key> names;
    for (int i = 0; i < 26; ++i)
        names[std::string(1, static_cast<char>('A' + i))] = static_cast<K::Key>(K::A + i);
    for (int i = 0; i < 10; ++i)
    {
        names["Num" + std::to_string(i)] = static_cast<K::Key>(K::Num0 + i);
        names["Numpad" + std::to_string(i)] = static_cast<K::Key>(K::Numpad0 + i);
    }
    for (int i = 0; i < 15; ++i)
        names["F" + std::to_string(i + 1)] = static_cast<K::Key>(K::F1 + i);
    const std::pair<const char*, K::Key> others[] = {
        {"Escape", K::Escape}, {"LControl", K::LControl}, {"LShift", K::LShift}, {"LAlt", K::LAlt},
        {"LSystem", K::LSystem}, {"RControl", K::RControl}, {"RShift", K::RShift}, {"RAlt", K::RAlt},
        {"RSystem", K::RSystem}, {"Menu", K::Menu}, {"LBracket", K::LBracket}, {"RBracket", K::RBracket},
        {"Semicolon", K::Semicolon}, {"Comma", K::Comma}, {"Period", K::Period}, {"Quote", K::Quote},
        {"Slash", K::Slash}, {"Backslash", K::Backslash}, {"Tilde", K::Tilde}, {"Equal", K::Equal},
        {"Hyphen", K::Hyphen}, {"Space", K::Space}, {"Enter", K::Enter}, {"Backspace", K::Backspace},
        {"Tab", K::Tab}, {"PageUp", K::PageUp}, {"PageDown", K::PageDown}, {"End", K::End},
        {"Home", K::Home}, {"Insert", K::Insert}, {"Delete", K::Delete}, {"Add", K::Add},
        {"Subtract", K::Subtract}, {"Multiply", K::Multiply}, {"Divide", K::Divide}, {"Left", K::Left},
        {"Right", K::Right}, {"Up", K::Up}, {"Down", K::Down}, {"Pause", K::Pause},
        // Older SFML spellings of the same keys.
        {"Dash", K::Hyphen}, {"BackSpace", K::Backspace}, {"BackSlash", K::Backslash},
        {"SemiColon", K::Semicolon}, {"Return", K::Enter}};
    for (const auto& [name, key] : others)
        names[name] = key;
    return names;
}

unsigned joystickOf(const Json& description)
{
    const unsigned joystick = description.at("Joystick").get<unsigned>();
    if (joystick >= sf::Joystick::Count)
        throw std::runtime_error(ParseError + "joystick " + std::to_string(joystick) + " does not exist (0 to "
                                 + std::to_string(sf::Joystick::Count - 1) + ")");
    return joystick;
}

Input::Binding keyBinding(const Json& description)
{
    Input::Binding binding;
    const std::string name = description.at("Key").get<std::string>();
    binding.key = InputManager::keyFromName(name);
    if (binding.key == sf::Keyboard::Unknown)
        throw std::runtime_error(ParseError + "unknown key \"" + name + "\"");
    return binding;
}

Input::Binding axisBinding(const Json& description)
{
    static const std::pair<const char*, sf::Joystick::Axis> axes[] = {
        {"X", sf::Joystick::X}, {"Y", sf::Joystick::Y}, {"Z", sf::Joystick::Z}, {"R", sf::Joystick::R},
        {"U", sf::Joystick::U}, {"V", sf::Joystick::V}, {"PovX", sf::Joystick::PovX}, {"PovY", sf::Joystick::PovY}};
    Input::Binding binding;
    binding.kind = Input::Binding::Axis;
    binding.joystick = joystickOf(description);
    const std::string text = description.at("Axis").get<std::string>();
    const char sign = text.empty() ? '\0' : text.back();
    const std::string name = text.substr(0, text.empty() ? 0 : text.size() - 1);
    for (const auto& [axisName, axis] : axes)
    {
        if (name == axisName && (sign == '+' || sign == '-'))
        {
            binding.axis = axis;
            binding.direction = sign == '+' ? 1.f : -1.f;
            return binding;
        }
    }
    throw std::runtime_error(ParseError + "unknown joystick axis \"" + text + "\" (an axis X, Y, Z, R, U, V, PovX or PovY followed by + or -)");
}

Input::Binding buttonBinding(const Json& description)
{
    Input::Binding binding;
    binding.kind = Input::Binding::Button;
    binding.joystick = joystickOf(description);
    binding.button = description.at("Button").get<unsigned>();
    if (binding.button >= sf::Joystick::ButtonCount)
        throw std::runtime_error(ParseError + "joystick button " + std::to_string(binding.button) + " does not exist");
    return binding;
}

Input::Binding bindingOf(const Json& entry, const std::string& input)
{
    if (entry.contains("Key"))
        return keyBinding(entry.at("Key"));
    if (entry.contains("Axis"))
        return axisBinding(entry.at("Axis"));
    if (entry.contains("Button"))
        return buttonBinding(entry.at("Button"));
    throw std::runtime_error(ParseError + "the entry for \"" + input + "\" has no \"Key\", \"Axis\" or \"Button\"");
}

Bindings readBindings(const Json& document)
{
    const Json& names = document.at("Binds");
    if (!names.is_array())
        throw std::runtime_error(ParseError + "\"Binds\" must be a list of input names");
    Bindings bindings;
    for (const Json& name : names)
        bindings[name.get<std::string>()];
    for (const char* section : {"Primary", "Secondary"})
    {
        if (!document.contains(section))
            continue;
        for (const Json& entry : document.at(section))
        {
            const std::string input = entry.at("Input").get<std::string>();
            auto found = bindings.find(input);
            if (found == bindings.end())
                throw std::runtime_error(ParseError + "\"" + input + "\" in \"" + section + "\" is not listed in \"Binds\"");
            found->second.push_back(bindingOf(entry, input));
        }
    }
    return bindings;
}

} // namespace

void InputManager::parseBinds(const std::string& json)
{
    Bindings bindings;
    try
    {
        bindings = readBindings(Json::parse(json));
    }
    catch (const Json::exception& error)
    {
        throw std::runtime_error(ParseError + "malformed binds: " + error.what());
    }
    for (auto& [name, input] : mInputs)
        input->setBindings({});
    for (auto& [name, list] : bindings)
    {
        std::unique_ptr<Input>& input = mInputs[name];
        if (!input)
            input = std::make_unique<Input>(*this, name);
        input->setBindings(std::move(list));
    }
}

Input& InputManager::getBind(const std::string& name)
{
    auto found = mInputs.find(name);
    if (found == mInputs.end())
        throw std::runtime_error("InputManager::getBind - no input named \"" + name + "\"");
    return *found->second;
}

bool InputManager::hasBind(const std::string& name) const
{
    return mInputs.count(name) > 0;
}

void InputManager::enable()
{
    mEnabled = true;
}

void InputManager::disable(bool flag)
{
    mEnabled = !flag;
}

sf::Keyboard::Key InputManager::keyFromName(const std::string& name)
{
    static const std::unordered_map<std::string, sf::Keyboard::Key> names = makeKeyNames();
    auto found = names.find(name);
    return found == names.end() ? sf::Keyboard::Unknown : found->second;
}

} // namespace Plym
