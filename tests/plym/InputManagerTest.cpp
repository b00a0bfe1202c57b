#include "plym/game/InputManager.hpp"

#include <gtest/gtest.h>

using Plym::Input;
using Plym::InputManager;

namespace
{

// A key, an axis half and a button for each of three inputs.
const std::string Binds = R"({ "Binds": [ "Up", "Run", "Jump" ],
    "Primary": [ { "Input": "Up", "Key": { "Key": "W" } }, { "Input": "Run", "Key": { "Key": "LShift" } },
                 { "Input": "Jump", "Key": { "Key": "Space" } } ],
    "Secondary": [ { "Input": "Up", "Axis": { "Joystick": 0, "Axis": "Y-"} }, { "Input": "Run", "Axis": { "Joystick": 0, "Axis": "Z+"} },
                   { "Input": "Jump", "Button": { "Joystick": 0, "Button": 1} } ] })";

std::string errorOf(InputManager& inputs, const std::string& json)
{
    try
    {
        inputs.parseBinds(json);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(InputManager, ParsesKeysAxesAndButtons)
{
    InputManager inputs;
    inputs.parseBinds(Binds);
    for (const char* name : {"Up", "Run", "Jump"})
        EXPECT_EQ(inputs.getBind(name).getBindings().size(), 2u) << name;

    const auto& up = inputs.getBind("Up").getBindings();
    EXPECT_EQ(up[0].kind, Input::Binding::Key);
    EXPECT_EQ(up[0].key, sf::Keyboard::W);
    EXPECT_EQ(up[1].kind, Input::Binding::Axis);
    EXPECT_EQ(up[1].axis, sf::Joystick::Y);
    EXPECT_EQ(up[1].direction, -1.f);

    const auto& run = inputs.getBind("Run").getBindings();
    EXPECT_EQ(run[0].key, sf::Keyboard::LShift);
    EXPECT_EQ(run[1].axis, sf::Joystick::Z);
    EXPECT_EQ(run[1].direction, 1.f);

    const auto& jump = inputs.getBind("Jump").getBindings();
    EXPECT_EQ(jump[0].key, sf::Keyboard::Space);
    EXPECT_EQ(jump[1].kind, Input::Binding::Button);
    EXPECT_EQ(jump[1].joystick, 0u);
    EXPECT_EQ(jump[1].button, 1u);

    try
    {
        inputs.getBind("Crouch");
        ADD_FAILURE() << "an unknown input was found";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_NE(std::string(error.what()).find("\"Crouch\""), std::string::npos);
    }
}

TEST(InputManager, SimulatedValuesObeyDisableButNotFocus)
{
    InputManager inputs;
    inputs.parseBinds(Binds);
    Input& up = inputs.getBind("Up");
    up.simulate(0.6f);
    EXPECT_FLOAT_EQ(up.getValue(), 0.6f);
    inputs.setFocus(false);
    EXPECT_FLOAT_EQ(up.getValue(), 0.6f);
    inputs.disable(true);
    EXPECT_EQ(up.getValue(), 0.f);
    inputs.enable();
    EXPECT_FLOAT_EQ(up.getValue(), 0.6f);
    inputs.disable(false);
    EXPECT_FLOAT_EQ(up.getValue(), 0.6f);
    up.simulate(3.f);
    EXPECT_EQ(up.getValue(), 1.f);
    up.stopSimulation();
    EXPECT_EQ(up.getValue(), 0.f);    // unfocused: nothing is polled
}

TEST(InputManager, ReparsingKeepsInputsAndAnErrorChangesNothing)
{
    InputManager inputs;
    inputs.parseBinds(Binds);
    Input& up = inputs.getBind("Up");
    inputs.parseBinds(R"({ "Binds": ["Up", "Fire"], "Primary": [ { "Input": "Up", "Key": { "Key": "Up" } } ] })");
    EXPECT_EQ(&inputs.getBind("Up"), &up);
    ASSERT_EQ(up.getBindings().size(), 1u);
    EXPECT_EQ(up.getBindings()[0].key, sf::Keyboard::Up);
    EXPECT_TRUE(inputs.getBind("Fire").getBindings().empty());
    EXPECT_TRUE(inputs.getBind("Jump").getBindings().empty());

    EXPECT_NE(errorOf(inputs, R"({ "Binds": ["Up"], "Primary": [ { "Input": "Up", "Key": { "Key": "Blah" } } ] })")
                  .find("unknown key \"Blah\""), std::string::npos);
    EXPECT_EQ(up.getBindings()[0].key, sf::Keyboard::Up);
    EXPECT_FALSE(inputs.hasBind("Blah"));
}

TEST(InputManager, BadBindsGiveClearErrors)
{
    InputManager inputs;
    const std::pair<const char*, const char*> cases[] = {
        {R"({ "Binds": [ "Up" )", "malformed"},
        {R"({ "Primary": [] })", "malformed"},
        {R"({ "Binds": "Up" })", "\"Binds\" must be a list"},
        {R"({ "Binds": ["Up"], "Primary": [ { "Input": "Down", "Key": { "Key": "S" } } ] })", "\"Down\" in \"Primary\" is not listed"},
        {R"({ "Binds": ["Up"], "Secondary": [ { "Input": "Up", "Axis": { "Joystick": 0, "Axis": "W+" } } ] })", "unknown joystick axis \"W+\""},
        {R"({ "Binds": ["Up"], "Secondary": [ { "Input": "Up", "Axis": { "Joystick": 0, "Axis": "X" } } ] })", "unknown joystick axis \"X\""},
        {R"({ "Binds": ["Up"], "Secondary": [ { "Input": "Up", "Button": { "Joystick": 8, "Button": 1 } } ] })", "joystick 8 does not exist"},
        {R"({ "Binds": ["Up"], "Secondary": [ { "Input": "Up", "Button": { "Joystick": 0, "Button": 99 } } ] })", "button 99 does not exist"},
        {R"({ "Binds": ["Up"], "Primary": [ { "Input": "Up" } ] })", "has no \"Key\", \"Axis\" or \"Button\""},
    };
    for (const auto& [json, expected] : cases)
    {
        const std::string error = errorOf(inputs, json);
        EXPECT_NE(error.find(expected), std::string::npos) << json << "\n -> " << error;
        EXPECT_EQ(error.rfind("InputManager::parseBinds - ", 0), 0u) << error;
    }
}

TEST(InputManager, KeyNames)
{
    EXPECT_EQ(InputManager::keyFromName("LShift"), sf::Keyboard::LShift);
    EXPECT_EQ(InputManager::keyFromName("Space"), sf::Keyboard::Space);
    EXPECT_EQ(InputManager::keyFromName("Z"), sf::Keyboard::Z);
    EXPECT_EQ(InputManager::keyFromName("Num5"), sf::Keyboard::Num5);
    EXPECT_EQ(InputManager::keyFromName("Numpad0"), sf::Keyboard::Numpad0);
    EXPECT_EQ(InputManager::keyFromName("F12"), sf::Keyboard::F12);
    EXPECT_EQ(InputManager::keyFromName("Return"), sf::Keyboard::Enter);
    EXPECT_EQ(InputManager::keyFromName("w"), sf::Keyboard::Unknown);
    EXPECT_EQ(InputManager::keyFromName("Nope"), sf::Keyboard::Unknown);
}
