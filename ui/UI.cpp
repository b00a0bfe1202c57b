#include "ui/UI.hpp"

#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "network/Client.hpp"
#include "network/Packet.hpp"
#include "network/WordFilter.hpp"
#include "plym/core/ClockImpl.hpp"
#include "plym/core/File.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/FontFinder.hpp"
#include "plym/game/TextRuns.hpp"
#include "plym/game/MusicManager.hpp"
#include "plym/game/SoundManager.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Window/Event.hpp>

#include <boost/any.hpp>
#include <boost/nowide/iostream.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>

namespace QEL
{
namespace Components
{

std::uint8_t UI::sVolumeLevel = 4;
bool UI::sMuted = false;
std::deque<ChatLine> UI::sChatHistory;
std::uint64_t UI::sHistoryVersion = 0;
float UI::sLineWidth = 800.f - 14.f;
float UI::sHistoryTimer = 20.f;
float UI::sCursorTimer = 0.f;
std::function<std::int64_t()> UI::sClock = &Plym::Time::ClockImpl::now;

namespace
{

constexpr std::int64_t WarningDelay = 15000000;  // microseconds of silence before the warning
constexpr unsigned SlotCount = 12;
constexpr float LineMargin = 7.f;  // left of the chat lines, and kept free right of them

/// Where the bar's sheet sprite moves before each of the five buttons.
const sf::Vector2f ButtonMoves[] = {{7.f, 7.f}, {35.f, 0.f}, {35.f, 0.f}, {35.f, -10.f}, {0.f, 20.f}};

/// A service of the running engine, null without engine or service.
template <class Service>
Service* findService()
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    return engine ? engine->getService<Service>() : nullptr;
}

void loadTexture(sf::Texture& texture, const std::string& path)
{
    Plym::File file(path, 0, 1);
    if (!file)
        return;
    texture.loadFromStream(file);
}

} // namespace

UI::UI() :
Component("QEL.Components.UI"),
mHovered{}
{
    mSheet.loadFromFile("GUI_spritesheet.png", 16, 1);
    loadTexture(mFrameTexture, "GUI_new_frame.png");
    loadTexture(mOverlayTexture, "minimapoverlay.png");
}

void UI::addedToEntity()
{
    requestMessage("QEL.Game.Event", &UI::event);
    requestMessage("QEL.Game.DrawUi", &UI::draw);
    requestMessage("QEL.Chat.Message", &UI::chatLine);
    requestMessage("QEL.Chat.Notice", &UI::notice);
}

std::uint8_t UI::getVolumeLevel()
{
    return sVolumeLevel;
}

void UI::setVolumeLevel(std::uint8_t level)
{
    sVolumeLevel = std::min<std::uint8_t>(level, 4);
    applyVolume();
}

const std::deque<ChatLine>& UI::getChatHistory()
{
    return sChatHistory;
}

float UI::getHistoryTimer()
{
    return sHistoryTimer;
}

std::string UI::getWarning(std::int64_t elapsed)
{
    if (elapsed <= WarningDelay)
        return std::string();
    char seconds[64];
    std::snprintf(seconds, sizeof(seconds), "%.2f", static_cast<double>(elapsed) / 1000000.0);
    return "Warning, " + std::string(seconds) + " seconds since last packet.\nPossible disconnection?";
}

void UI::setClock(std::function<std::int64_t()> clock)
{
    sClock = std::move(clock);
}

void UI::event(Tessaly::Message& message)
{
    Plym::Profiling::Block block("UI::event()");
    const sf::Event& event = boost::any_cast<const sf::Event&>(message.payload);

    if (event.type == sf::Event::MouseMoved)
    {
        for (std::size_t i = 0; i < mHitRects.size(); ++i)
            mHovered[i] = mHitRects[i].contains(event.mouseMove.x, event.mouseMove.y);
    }
    else if (event.type == sf::Event::MouseButtonReleased && mHovered[0])
    {
        if (event.mouseButton.button == sf::Mouse::Left)
            clickVolume(-1);
        else if (event.mouseButton.button == sf::Mouse::Right)
            clickVolume(1);
    }
    else if (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::M && !isTyping())
    {
        sMuted = !sMuted;
        applyVolume();
    }
}

bool UI::isTyping()
{
    return sendGlobalQuestion("ChatMessage", 0).handled;
}

void UI::applyVolume()
{
    // M mutes the music only: the world's sounds keep the volume step.
    if (Plym::MusicManager* music = findService<Plym::MusicManager>())
        music->setVolume(sMuted ? 0.f : sVolumeLevel * 0.25f);
    if (Plym::SoundManager* sounds = findService<Plym::SoundManager>())
        sounds->setVolume(sVolumeLevel * 0.25f);
}

void UI::clickVolume(int step)
{
    sVolumeLevel = static_cast<std::uint8_t>(sVolumeLevel + step);
    // Stepping down from 0 wraps the byte round; that counts as the top step.
    if (sVolumeLevel > 5)
        sVolumeLevel = 4;
    sVolumeLevel %= 5;
    // Choosing a volume means wanting to hear it.
    sMuted = false;
    applyVolume();
    playInterfaceSound("UI::Click");
}

void UI::chatLine(Tessaly::Message& message)
{
    const auto& chat = boost::any_cast<const std::tuple<unsigned int, sf::String>&>(message.payload);
    const Tessaly::Message answer = sendGlobalQuestion("Man.GetName", std::get<0>(chat));

    sf::String name = answer.handled ? boost::any_cast<sf::String>(answer.payload) : sf::String("[Unknown]");
    Network::filterText(name);
    sf::String line = name + ": " + std::get<1>(chat);
    Network::filterText(line);

    addLine(line);
    boost::nowide::cout << sChatHistory.front().getString() << std::endl;
}

void UI::notice(Tessaly::Message& message)
{
    addLine(boost::any_cast<const sf::String&>(message.payload));
}

void UI::addLine(const sf::String& line)
{
    sChatHistory.emplace_front(Network::toUtf8(line), sLineWidth);
    if (sChatHistory.size() > MaxHistory)
        sChatHistory.pop_back();
    ++sHistoryVersion;
}

void UI::draw(Tessaly::Message& message)
{
    Plym::Profiling::Block block("UI::draw()");
    const DrawEvent& frame = boost::any_cast<const DrawEvent&>(message.payload);
    sf::RenderTarget& target = *frame.first;
    const sf::Vector2f size = target.getView().getSize();
    const float width = static_cast<float>(static_cast<int>(size.x));
    const float height = static_cast<float>(static_cast<int>(size.y));

    sf::Sprite overlay(mOverlayTexture);
    overlay.setPosition(width - mOverlayTexture.getSize().x - 11.f, 11.f);
    target.draw(overlay);

    drawButtons(target, width, height);
    drawVolume(target, width, height);
    drawChatInput(target, height, frame.third);
    drawHistory(target, width, height, frame.third);
    drawWarning(target);
}

void UI::drawButtons(sf::RenderTarget& target, float width, float height)
{
    const sf::Vector2f frameSize(mFrameTexture.getSize());
    sf::Sprite frame(mFrameTexture);
    frame.setOrigin(frameSize.x / 2.f, 0.f);
    frame.setPosition(width / 2.f, height - frameSize.y);
    target.draw(frame);

    sf::Sprite sprite(mSheet.getTexture());
    sprite.setPosition(width / 2.f - frameSize.x / 2.f, height - frameSize.y);
    for (unsigned index = 1; index <= 5; ++index)
    {
        sprite.move(ButtonMoves[index - 1]);
        drawButton(target, sprite, index, index >= 4);
    }

    sprite.move(3.f, -10.f);
    sprite.setTextureRect(mSheet.getRect(15, 0));
    for (unsigned slot = 0; slot < SlotCount; ++slot)
    {
        sprite.move(35.f, 0.f);
        target.draw(sprite);
    }
}

void UI::drawButton(sf::RenderTarget& target, sf::Sprite& sprite, unsigned index, bool centred)
{
    // Each button has its normal cell at 3i - 1 and its hover cell just before it.
    sprite.setTextureRect(mSheet.getRect(3 * index - (mHovered[index] ? 2 : 1), 0));
    target.draw(sprite);

    const int cellWidth = static_cast<int>(mSheet.getSize().x);
    const int cellHeight = static_cast<int>(mSheet.getSize().y);
    const sf::Vector2f position = sprite.getPosition();
    if (centred)
        mHitRects[index] = sf::IntRect(static_cast<int>(position.x + cellWidth / 4), static_cast<int>(position.y + cellHeight / 4),
                                       cellWidth / 2, cellHeight / 2);
    else
        mHitRects[index] = sf::IntRect(static_cast<int>(position.x + cellWidth / 4), static_cast<int>(position.y), cellWidth / 2, cellHeight);
}

void UI::drawVolume(sf::RenderTarget& target, float width, float height)
{
    Plym::Spritesheet& volume = gSpritesheets.get("UI::Volume");
    sf::Sprite sprite(volume.getTexture(), volume.getRect(sVolumeLevel % 3, sVolumeLevel / 3));
    sprite.setOrigin(64.f, 64.f);
    sprite.setPosition(width - 5.f, height - 5.f);
    target.draw(sprite);
    mHitRects[0] = sf::IntRect(static_cast<int>(width - 5.f - 64.f), static_cast<int>(height - 5.f - 64.f), 64, 64);
}

void UI::drawChatInput(sf::RenderTarget& target, float height, float seconds)
{
    const Tessaly::Message answer = sendGlobalQuestion("ChatMessage", 0);
    if (!answer.handled)
        return;

    // The cursor shows in the second half of every second.
    sf::String shown = boost::any_cast<sf::String>(answer.payload);
    if (sCursorTimer > 1.f)
        sCursorTimer = 0.f;
    else if (sCursorTimer > 0.5f)
        shown += "|";

    const float top = height - mFrameTexture.getSize().y;
    Plym::TextRuns text(shown, 12);
    sf::RectangleShape box(sf::Vector2f(std::max(text.getLocalBounds().width + 5.f, 128.f), 20.f));
    box.setFillColor(sf::Color(0, 0, 0, 75));
    box.setOutlineColor(sf::Color(0, 0, 0, 95));
    box.setOutlineThickness(1.f);
    box.setPosition(5.f, top - 25.f);
    target.draw(box);

    sCursorTimer += seconds;
    text.setPosition(7.f, top - 23.f);
    target.draw(text);
}

void UI::drawHistory(sf::RenderTarget& target, float width, float height, float seconds)
{
    if (sChatHistory.empty())
        return;

    sHistoryTimer -= seconds;
    sLineWidth = width - 2.f * LineMargin;
    // Lines go up from the newest; those wholly above the window are not drawn.
    const sf::Vector2f newest(LineMargin, height - mFrameTexture.getSize().y - 43.f);
    const float rows = std::ceil((newest.y + ChatBox::LineHeight) / ChatBox::LineHeight);
    const std::size_t visible = rows > 0.f ? static_cast<std::size_t>(rows) : 0;
    const std::size_t oldest = sChatHistory.size() - 1;
    // The oldest line fades over its last two seconds, so it is drawn on its own meanwhile.
    const bool fading = sHistoryTimer < 2.f;
    mChatBox.draw(target, sChatHistory, std::min(fading ? oldest : oldest + 1, visible), newest, sLineWidth, sHistoryVersion);

    if (sHistoryTimer <= 0.f)
    {
        // A long history drains quickly down to five lines, then slowly.
        sChatHistory.pop_back();
        ++sHistoryVersion;
        sHistoryTimer = sChatHistory.size() <= 5 ? 20.f : 1.f;
    }
    else if (fading && oldest < visible)
    {
        const sf::Uint8 alpha = static_cast<sf::Uint8>(sHistoryTimer * 0.5f * 255.f);
        sChatHistory[oldest].draw(target, ChatBox::getPosition(oldest, newest), sLineWidth, alpha);
    }
    if (sChatHistory.empty())
        sHistoryTimer = 20.f;
}

void UI::drawWarning(sf::RenderTarget& target)
{
    const Network::Client* client = findService<Network::Client>();
    if (!client)
        return;
    const std::string warning = getWarning(sClock() - client->getLastReceived());
    if (warning.empty())
        return;

    sf::Text text(warning, Plym::FontFinder::getDefaultFont(), 16);
    text.setFillColor(sf::Color::Red);
    target.draw(text);
}

} // namespace Components
} // namespace QEL
