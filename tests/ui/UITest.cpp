#include "ui/UI.hpp"

#include "app/Catalogue.hpp"
#include "app/GameClass.hpp"
#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/Client.hpp"
#include "network/WordFilter.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/FontFinder.hpp"
#include "plym/game/InputManager.hpp"
#include "plym/game/MusicManager.hpp"
#include "plym/game/SoundManager.hpp"
#include "tests/network/TestPeer.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <tuple>

namespace
{

using QEL::Components::UI;

constexpr unsigned Width = 800;
constexpr unsigned Height = 600;

/// The heads-up display as the game attaches it: on the local player's entity, with an engine,
/// a connected client and a clock the test moves by hand.
struct Hud
{
    Hud()
    {
        char program[] = "test_ui";
        char* argv[] = {program, nullptr};
        engine = std::make_unique<Plym::Engine>(system, Plym::Engine::Everything);
        engine->initialize(1, argv);
        QEL::registerComponents(*engine);
        engine->getService<Plym::InputManager>()->parseBinds(QEL::GameClass::DefaultBinds);
        QEL::gSpritesheets.load("Man::Hair", "QELHair.png", 5, 1);
        QEL::gTextures.load("Man::Shadow", "QELmancoll.png");
        QEL::gSpritesheets.load("UI::Volume", "Volume.png", 3, 2);
        QEL::loadSharedSounds();

        const Tessaly::EntityId player = system.instantiate("QEL.Man");
        system.addComponent(player, system.createComponent("QEL.Components.UI"));

        client = std::make_unique<QEL::Network::Client>(server.getEndpoint());
        engine->addService<QEL::Network::Client>(*client);
        const auto clock = [this] { return now.load(); };
        client->setClock(clock);
        UI::setClock(clock);
        client->connect("tester");
        server.accept();

        target.create(Width, Height);
        sf::Image frame;
        frame.loadFromFile("GUI_new_frame.png");
        frameHeight = frame.getSize().y;
    }

    Tessaly::EntitySystem system{false};
    std::unique_ptr<Plym::Engine> engine;
    std::atomic<std::int64_t> now{1000000000};
    TestPeer server;
    std::unique_ptr<QEL::Network::Client> client;
    sf::RenderTexture target;
    unsigned frameHeight = 0;
};

class HudTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { sHud = new Hud(); }
    static void TearDownTestSuite() { delete sHud; }

    Tessaly::Message send(const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        sHud->system.sendGlobalMessage(sHud->system.getMessageRequestId(Tessaly::MessageRequest, name), message);
        return message;
    }

    /// One frame of the heads-up layer on a white screen; what it shows.
    sf::Image draw(float seconds = 0.f)
    {
        sHud->target.clear(sf::Color::White);
        send("QEL.Game.DrawUi", QEL::DrawEvent{&sHud->target, sf::FloatRect(0.f, 0.f, Width, Height), seconds});
        sHud->target.display();
        return sHud->target.getTexture().copyToImage();
    }

    void event(const sf::Event& event) { send("QEL.Game.Event", event); }

    void moveMouse(int x, int y)
    {
        sf::Event moved;
        moved.type = sf::Event::MouseMoved;
        moved.mouseMove = sf::Event::MouseMoveEvent{x, y};
        event(moved);
    }

    void release(sf::Mouse::Button button)
    {
        sf::Event released;
        released.type = sf::Event::MouseButtonReleased;
        released.mouseButton = sf::Event::MouseButtonEvent{button, 0, 0};
        event(released);
    }

    /// A key released; press() a key pressed.
    void key(sf::Keyboard::Key code) { keyEvent(sf::Event::KeyReleased, code); }
    void press(sf::Keyboard::Key code) { keyEvent(sf::Event::KeyPressed, code); }

    void keyEvent(sf::Event::EventType type, sf::Keyboard::Key code)
    {
        sf::Event keyEvent;
        keyEvent.type = type;
        keyEvent.key = sf::Event::KeyEvent{code, false, false, false, false};
        event(keyEvent);
    }

    void type(const std::string& text)
    {
        for (char c : text)
        {
            sf::Event entered;
            entered.type = sf::Event::TextEntered;
            entered.text.unicode = static_cast<unsigned char>(c);
            event(entered);
        }
    }

    void say(unsigned int sender, const std::string& utf8)
    {
        send("QEL.Chat.Message", std::make_tuple(sender, sf::String::fromUtf8(utf8.begin(), utf8.end())));
    }

    /// Lets the history run out, one line per frame.
    void drainHistory()
    {
        while (!UI::getChatHistory().empty())
            draw(100.f);
    }

    float volume() const { return sHud->engine->getService<Plym::MusicManager>()->getVolume(); }
    Plym::SoundManager& effects() const { return *sHud->engine->getService<Plym::SoundManager>(); }

    static Hud* sHud;
};

Hud* HudTest::sHud = nullptr;

TEST_F(HudTest, VolumeButtonStepsRoundFiveLevelsForMusicAndEffectsWithAClick)
{
    ASSERT_EQ(UI::getVolumeLevel(), 4);
    std::vector<std::string> clicks;
    effects().setObserver([&clicks](const Plym::SoundManager::Report& report) { clicks.push_back(report.name); });
    draw();  // the first frame places the buttons
    moveMouse(Width - 5 - 32, Height - 5 - 32);

    release(sf::Mouse::Right);
    EXPECT_EQ(UI::getVolumeLevel(), 0);
    EXPECT_FLOAT_EQ(volume(), 0.f);
    EXPECT_FLOAT_EQ(effects().getVolume(), 0.f);

    release(sf::Mouse::Left);
    EXPECT_EQ(UI::getVolumeLevel(), 4);
    EXPECT_FLOAT_EQ(volume(), 1.f);
    EXPECT_FLOAT_EQ(effects().getVolume(), 1.f);

    release(sf::Mouse::Left);
    release(sf::Mouse::Middle);
    EXPECT_EQ(UI::getVolumeLevel(), 3);
    EXPECT_FLOAT_EQ(volume(), 0.75f);
    EXPECT_FLOAT_EQ(effects().getVolume(), 0.75f);
    EXPECT_EQ(clicks, std::vector<std::string>(3, "UI::Click"));

    moveMouse(Width / 2, 10);
    release(sf::Mouse::Right);
    EXPECT_EQ(UI::getVolumeLevel(), 3);
    EXPECT_EQ(clicks.size(), 3u);
    effects().setObserver({});
}

TEST_F(HudTest, MMutesAndUnmutesTheMusicButNotTheEffectsNorWhileTyping)
{
    draw();
    moveMouse(Width - 5 - 32, Height - 5 - 32);  // also arms the chat keyboard if nothing did yet
    const std::uint8_t level = UI::getVolumeLevel();
    const float loud = level * 0.25f;

    press(sf::Keyboard::M);
    EXPECT_FLOAT_EQ(volume(), 0.f);
    EXPECT_FLOAT_EQ(effects().getVolume(), loud) << "M mutes the music only";
    EXPECT_EQ(UI::getVolumeLevel(), level);
    press(sf::Keyboard::M);
    EXPECT_FLOAT_EQ(volume(), loud);

    key(sf::Keyboard::Return);
    press(sf::Keyboard::M);
    EXPECT_FLOAT_EQ(volume(), loud);
    key(sf::Keyboard::Return);

    // A click on the volume button steps from where the cycle was and is heard.
    press(sf::Keyboard::M);
    release(sf::Mouse::Right);
    EXPECT_EQ(UI::getVolumeLevel(), (level + 1) % 5);
    EXPECT_FLOAT_EQ(volume(), ((level + 1) % 5) * 0.25f);
    release(sf::Mouse::Left);
}

TEST_F(HudTest, ChatBoxIsAtLeast128WideAndFitsTheText)
{
    // The width of the box: the last darkened pixel on its top inner row, less its left edge.
    const auto boxWidth = [this]() {
        const sf::Image screen = draw();
        const unsigned row = Height - sHud->frameHeight - 24;
        int last = -1;
        for (unsigned x = 0; x < Width / 2; ++x)
            if (screen.getPixel(x, row).r < 250)
                last = static_cast<int>(x);
        return last < 0 ? 0 : last - 5;
    };

    moveMouse(0, 0);  // arms the chat keyboard if nothing did yet
    EXPECT_EQ(boxWidth(), 0);  // no box while nobody types
    key(sf::Keyboard::Return);
    EXPECT_EQ(boxWidth(), 128);

    const std::string line = "A line long enough to need a wider box than the least one";
    type(line);
    const float textWidth = sf::Text(line, Plym::FontFinder::getDefaultFont(), 12).getLocalBounds().width;
    ASSERT_GT(textWidth + 5.f, 128.f);
    EXPECT_NEAR(boxWidth(), textWidth + 5.f, 1.5f);

    type(std::string(line.size(), '\b'));
    key(sf::Keyboard::Return);
}

TEST_F(HudTest, HistoryDrainsQuicklyDownToFiveLinesThenSlowly)
{
    drainHistory();
    for (int i = 0; i < 6; ++i)
        say(3, "six " + std::to_string(i));
    draw(19.5f);
    EXPECT_EQ(UI::getChatHistory().size(), 6u);  // the oldest line fades
    draw(0.5f);
    ASSERT_EQ(UI::getChatHistory().size(), 5u);
    EXPECT_EQ(UI::getChatHistory().back().getString(), "[Unknown]: six 1");
    draw(19.5f);
    EXPECT_EQ(UI::getChatHistory().size(), 5u);
    draw(0.5f);
    EXPECT_EQ(UI::getChatHistory().size(), 4u);

    drainHistory();
    for (int i = 0; i < 7; ++i)
        say(3, "seven " + std::to_string(i));
    draw(19.5f);
    draw(0.5f);
    EXPECT_EQ(UI::getChatHistory().size(), 6u);
    draw(0.75f);
    EXPECT_EQ(UI::getChatHistory().size(), 6u);
    draw(0.25f);
    EXPECT_EQ(UI::getChatHistory().size(), 5u);
    EXPECT_FLOAT_EQ(UI::getHistoryTimer(), 20.f);
}

TEST_F(HudTest, WarnsOnlyAfterMoreThanFifteenSilentSeconds)
{
    EXPECT_EQ(UI::getWarning(15004000), "Warning, 15.00 seconds since last packet.\nPossible disconnection?");
    EXPECT_EQ(UI::getWarning(15000000), "");
    EXPECT_EQ(UI::getWarning(61250000), "Warning, 61.25 seconds since last packet.\nPossible disconnection?");

    const auto redPixels = [this](std::int64_t silence) {
        sHud->now = sHud->client->getLastReceived() + silence;
        const sf::Image screen = draw();
        int count = 0;
        for (unsigned y = 0; y < 40; ++y)
            for (unsigned x = 0; x < Width / 2; ++x)
            {
                const sf::Color pixel = screen.getPixel(x, y);
                count += pixel.r > 200 && pixel.g < 100 && pixel.b < 100;
            }
        return count;
    };
    EXPECT_EQ(redPixels(15000000), 0);
    EXPECT_GT(redPixels(15004000), 50);
}

TEST_F(HudTest, ChatLinesNameTheirSpeakerAndPassTheFilter)
{
    say(3, "hello there");
    EXPECT_EQ(UI::getChatHistory().front().getString(), "[Unknown]: hello there");

    say(0, "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(UI::getChatHistory().front().getString(), "Local Player: caf\xC3\xA9 \xE2\x82\xAC");

    const std::string word = QEL::Network::getFilteredWords().front().toAnsiString();
    say(3, "so " + word + "!");
    const std::string shown = UI::getChatHistory().front().getString();
    EXPECT_EQ(shown.rfind("[Unknown]: so ", 0), 0u);
    EXPECT_EQ(shown.find(word), std::string::npos);
    EXPECT_EQ(shown.back(), '!');
}

} // namespace

namespace
{

constexpr sf::Uint32 Ellipsis = 0x2026;

TEST_F(HudTest, LongLinesAreCutToTheWindowAndLinesAboveItAreLeftAlone)
{
    drainHistory();
    testing::internal::CaptureStdout();
    for (int i = 0; i < 60; ++i)
        say(3, std::string(300, 'w'));
    const std::string longest(65535, 'm');
    say(3, longest);
    say(4, "short");
    testing::internal::GetCapturedStdout();
    const auto& history = UI::getChatHistory();

    // Lines keep their whole text; the chat box shows what fits, ending in an ellipsis.
    EXPECT_EQ(history[0].getString(), "[Unknown]: short");
    EXPECT_EQ(history[0].getText().getString(), sf::String("[Unknown]: short"));
    EXPECT_EQ(history[1].getString(), "[Unknown]: " + longest);
    const Plym::TextRuns& cut = history[1].getText();
    ASSERT_GT(cut.getString().getSize(), 11u);
    EXPECT_EQ(cut.getString()[cut.getString().getSize() - 1], Ellipsis);
    EXPECT_LE(cut.getLocalBounds().left + cut.getLocalBounds().width, Width - 14.f);
    EXPECT_GT(cut.getLocalBounds().width, Width - 40.f);

    // Nothing is drawn into the margin right of the lines.
    const sf::Image screen = draw();
    const unsigned newest = Height - sHud->frameHeight - 43;
    for (unsigned y = newest - 16; y < newest + 16; ++y)
        for (unsigned x = Width - 5; x < Width; ++x)
            ASSERT_EQ(screen.getPixel(x, y), sf::Color::White) << x << ", " << y;

    // A narrower window lays out again the lines it shows, and only those.
    sHud->target.setView(sf::View(sf::FloatRect(0.f, 0.f, Width / 2.f, Height)));
    draw();
    sHud->target.setView(sHud->target.getDefaultView());
    EXPECT_LE(history[1].getText().getLocalBounds().width, Width / 2.f - 14.f);
    EXPECT_GT(history.back().getText().getLocalBounds().width, Width / 2.f);
}

TEST_F(HudTest, LinesOfMixedScriptsAreCutToTheWindowInTheFontsThatDrawThem)
{
    drainHistory();
    std::string mixed;
    while (mixed.size() < 65530)
        mixed += "a\xE4\xBD\xA0\xCE\xA9\xE3\x81\x93";
    testing::internal::CaptureStdout();
    say(3, mixed);
    testing::internal::GetCapturedStdout();

    const Plym::TextRuns& cut = UI::getChatHistory()[0].getText();
    ASSERT_GT(cut.getPieces().size(), 2u);
    EXPECT_EQ(cut.getString()[cut.getString().getSize() - 1], Ellipsis);
    EXPECT_LE(cut.getLocalBounds().left + cut.getLocalBounds().width, Width - 14.f);
    EXPECT_GT(cut.getLocalBounds().width, Width - 40.f);
}

TEST_F(HudTest, TheChatBoxShowsItsLinesAsTheyAreDrawnDirectly)
{
    drainHistory();
    say(3, "Gr\xC3\xBC\xC3\x9F" "e, wanderer!");
    say(5, "a second line");
    const sf::Image shown = draw();

    sf::RenderTexture direct;
    ASSERT_TRUE(direct.create(Width, Height));
    direct.clear(sf::Color::White);
    const float newest = static_cast<float>(Height - sHud->frameHeight - 43);
    for (std::size_t index = 0; index < 2; ++index)
    {
        QEL::Components::ChatLine line(UI::getChatHistory()[index].getString(), Width - 14.f);
        line.draw(direct, sf::Vector2f(7.f, newest - 16.f * index), Width - 14.f, 255);
    }
    direct.display();
    const sf::Image expected = direct.getTexture().copyToImage();

    int darkened = 0;
    for (unsigned y = static_cast<unsigned>(newest) - 20; y < static_cast<unsigned>(newest) + 17; ++y)
        for (unsigned x = 0; x < 300; ++x)
        {
            const sf::Color a = shown.getPixel(x, y), b = expected.getPixel(x, y);
            ASSERT_LE(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 6) << x << ", " << y;
            darkened += b.r < 128;
        }
    EXPECT_GT(darkened, 200);
}

TEST_F(HudTest, HistoryKeepsItsNewestLinesOnly)
{
    drainHistory();
    testing::internal::CaptureStdout();
    for (std::size_t i = 0; i < UI::MaxHistory + 3; ++i)
        say(3, std::to_string(i));
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(UI::getChatHistory().size(), UI::MaxHistory);
    EXPECT_EQ(UI::getChatHistory().front().getString(), "[Unknown]: " + std::to_string(UI::MaxHistory + 2));
    EXPECT_EQ(UI::getChatHistory().back().getString(), "[Unknown]: 3");
}

TEST_F(HudTest, NoticesJoinTheHistoryWithoutASpeaker)
{
    testing::internal::CaptureStdout();
    send("QEL.Chat.Notice", sf::String("Join refused: the server is full"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(UI::getChatHistory().front().getString(), "Join refused: the server is full");
}

} // namespace
