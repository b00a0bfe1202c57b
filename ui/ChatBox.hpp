#ifndef QEL_UI_CHATBOX_HPP
#define QEL_UI_CHATBOX_HPP

#include "ui/ChatLine.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <cstddef>
#include <cstdint>
#include <deque>

namespace QEL
{
namespace Components
{

/// The steady lines of the chat history, drawn into a picture of their own whenever they
/// change and shown as that one picture in every other frame: a frame costs the same
/// however long the lines are.
class ChatBox
{
public:
    /// Rows of the history, from one line's top to the next.
    static constexpr float LineHeight = 16.f;

    /// Draws the first `count` lines of the history (newest first, going up from `newest`,
    /// each cut to `width`). The picture is drawn again only when the history's `version`,
    /// the count, the width or the place changed.
    void draw(sf::RenderTarget& target, std::deque<ChatLine>& lines, std::size_t count, sf::Vector2f newest, float width,
              std::uint64_t version);

    /// Where the line at `index` goes when the newest goes to `newest`.
    static sf::Vector2f getPosition(std::size_t index, sf::Vector2f newest);

private:
    /// Draws the lines into the picture; false when there is no picture to draw into.
    bool paint(std::deque<ChatLine>& lines, sf::Vector2f newest, float width);

    sf::RenderTexture mPicture;
    sf::IntRect mArea;  ///< where the picture goes on screen
    std::uint64_t mVersion = 0;
    std::size_t mCount = 0;
    sf::Vector2f mNewest;
    float mWidth = 0.f;
    bool mPainted = false;
};

} // namespace Components
} // namespace QEL

#endif
