#include "app/GameClass.hpp"
#include "ecs/EntitySystem.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/InputManager.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

using Binding = Plym::Input::Binding;

/// The core component on an entity of its own, with the engine's input service.
class GameClassTest : public ::testing::Test
{
protected:
    GameClassTest()
    {
        char program[] = "quelmoor";
        char* argv[] = {program, nullptr};
        mEngine.initialize(1, argv);
        mCore = new QEL::GameClass(&mEngine);
        mSystem.addComponent(mSystem.createEntity(), mCore);
    }

    Tessaly::EntitySystem mSystem{false};
    Plym::Engine mEngine{mSystem, Plym::Engine::WithInput};
    QEL::GameClass* mCore = nullptr;
};

TEST_F(GameClassTest, InstallsTheDefaultBinds)
{
    // One line of 897 characters; tabs only before the two "Jump" entries.
    EXPECT_EQ(QEL::GameClass::DefaultBinds.size(), 897u);
    const std::string& text = QEL::GameClass::DefaultBinds;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 4);
    const std::string jump = "}, \t\t  { \"Input\": \"Jump\",  ";
    const std::size_t first = text.find(jump);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find(jump, first + 1), std::string::npos);

    const struct
    {
        const char* input;
        sf::Keyboard::Key key;
        Binding::Kind secondary;
        sf::Joystick::Axis axis;
        float direction;
    } binds[] = {
        {"Up", sf::Keyboard::W, Binding::Axis, sf::Joystick::Y, -1.f},
        {"Down", sf::Keyboard::S, Binding::Axis, sf::Joystick::Y, 1.f},
        {"Left", sf::Keyboard::A, Binding::Axis, sf::Joystick::X, -1.f},
        {"Right", sf::Keyboard::D, Binding::Axis, sf::Joystick::X, 1.f},
        {"Run", sf::Keyboard::LShift, Binding::Axis, sf::Joystick::Z, 1.f},
        {"Jump", sf::Keyboard::Space, Binding::Button, sf::Joystick::X, 1.f},
    };
    Plym::InputManager& inputs = *mEngine.getService<Plym::InputManager>();
    for (const auto& bind : binds)
    {
        const auto& bindings = inputs.getBind(bind.input).getBindings();
        ASSERT_EQ(bindings.size(), 2u) << bind.input;
        EXPECT_EQ(bindings[0].kind, Binding::Key) << bind.input;
        EXPECT_EQ(bindings[0].key, bind.key) << bind.input;
        EXPECT_EQ(bindings[1].kind, bind.secondary) << bind.input;
        EXPECT_EQ(bindings[1].joystick, 0u) << bind.input;
        if (bind.secondary == Binding::Axis)
        {
            EXPECT_EQ(bindings[1].axis, bind.axis) << bind.input;
            EXPECT_EQ(bindings[1].direction, bind.direction) << bind.input;
        }
        else
        {
            EXPECT_EQ(bindings[1].button, 1u) << bind.input;
        }
    }
}

TEST_F(GameClassTest, NamesTheSixGameMessagesOnceAdded)
{
    // Only the core has asked for them, so every other component gets the same ids.
    for (const char* name : {"QEL.Game.Init", "QEL.Game.Event", "QEL.Game.Click", "QEL.Game.Update", "QEL.Game.Draw",
                             "QEL.Game.DrawUi"})
        EXPECT_NE(mSystem.findRequestId(Tessaly::MessageRequest, name), 0u) << name;
}

TEST_F(GameClassTest, ItsWindowIsARenderTargetBeforeItOpens)
{
    auto* window = dynamic_cast<sf::RenderWindow*>(mCore->getRenderTarget());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isOpen());
}

} // namespace
