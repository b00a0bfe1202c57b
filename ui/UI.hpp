#ifndef QEL_UI_UI_HPP
#define QEL_UI_UI_HPP

#include "ecs/Component.hpp"
#include "plym/game/Spritesheet.hpp"
#include "ui/ChatBox.hpp"
#include "ui/ChatLine.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace sf
{
class RenderTarget;
class Sprite;
}

namespace QEL
{
namespace Components
{

/// "QEL.Components.UI": the heads-up layer over the world. It draws the minimap frame,
/// the button bar, the volume button, the chat line being typed, the recent chat lines
/// and a warning when the server has been silent too long; it changes the music volume
/// on clicks, mutes it with M, and turns every "QEL.Chat.Message" into a filtered history line.
class UI : public Tessaly::Component
{
public:
    UI();

    void addedToEntity() override;

    /// The music volume step, 0 to 4 (the volume is a quarter of it).
    static std::uint8_t getVolumeLevel();
    /// Sets the volume step (above 4 counts as 4) and plays the music at it.
    static void setVolumeLevel(std::uint8_t level);

    /// The shown chat lines, newest first.
    static const std::deque<ChatLine>& getChatHistory();

    /// The most lines the history keeps; older ones lie far above any window and go at once.
    static constexpr std::size_t MaxHistory = 128;

    /// Seconds left before the oldest history line goes.
    static float getHistoryTimer();

    /// The disconnection warning for a silence of `elapsed` microseconds; empty up to 15 s.
    static std::string getWarning(std::int64_t elapsed);

    /// Replaces the clock (microseconds) the silence is measured with; tests drive time with it.
    static void setClock(std::function<std::int64_t()> clock);

private:
    void event(Tessaly::Message& message);
    void draw(Tessaly::Message& message);
    void chatLine(Tessaly::Message& message);
    void notice(Tessaly::Message& message);
    static void addLine(const sf::String& line);

    void drawButtons(sf::RenderTarget& target, float width, float height);
    void drawButton(sf::RenderTarget& target, sf::Sprite& sprite, unsigned index, bool centred);
    void drawVolume(sf::RenderTarget& target, float width, float height);
    void drawChatInput(sf::RenderTarget& target, float height, float seconds);
    void drawHistory(sf::RenderTarget& target, float width, float height, float seconds);
    void drawWarning(sf::RenderTarget& target);
    void clickVolume(int step);
    /// Whether the player is typing a chat line (the local player answers "ChatMessage" then).
    bool isTyping();
    /// The music at the volume step, or silent while muted.
    static void applyVolume();

    Plym::Spritesheet mSheet;
    sf::Texture mFrameTexture;
    sf::Texture mOverlayTexture;
    std::array<sf::IntRect, 6> mHitRects;
    std::array<bool, 6> mHovered;
    ChatBox mChatBox;

    // Shared by every UI: the volume step, the chat history and the two timers.
    static std::uint8_t sVolumeLevel;
    static bool sMuted;  ///< M silences the music whatever the volume step
    static std::deque<ChatLine> sChatHistory;
    static std::uint64_t sHistoryVersion;  ///< counts the changes of the history
    static float sLineWidth;  ///< how wide the chat box drew its lines last
    static float sHistoryTimer;
    static float sCursorTimer;
    static std::function<std::int64_t()> sClock;
};

} // namespace Components
} // namespace QEL

#endif
