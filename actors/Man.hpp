#ifndef QEL_ACTORS_MAN_HPP
#define QEL_ACTORS_MAN_HPP

#include "actors/Footsteps.hpp"
#include "app/Painting.hpp"
#include "ecs/Component.hpp"
#include "plym/core/Vector3.hpp"
#include "plym/game/Animation.hpp"
#include "plym/game/TextRuns.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/String.hpp>

#include <cstdint>
#include <string>

namespace sf
{
class RenderTarget;
class Sprite;
class Text;
class Texture;
}

namespace Plym
{
class Input;
class Spritesheet;
}

namespace QEL
{

class Chunk;
class Physical;

/// "QEL.Game.Man": the figure of a player. The first man ever added to an entity is the
/// local player: it reads the input binds, walks, runs, jumps and wades, picks the music
/// by biome, streams its movement to the server and owns the chat line being typed.
/// Every later man stands for a remote player and is moved by the network.
class Man : public Tessaly::Component, public Painting
{
public:
    Man();
    ~Man() override;

    void addedToEntity() override;

    /// The position of the man's physical body (the origin when it has none).
    Plym::Math::Vector3 getPosition() const;

    Physical* getPhysical() const;

    /// The entity of the local player, 0 before the first man was added.
    static Tessaly::EntityId getLocalPlayerEntity();

    bool isLocalPlayer() const;

    /// The animation shown now: "Idle", a direction name, or empty between the bands.
    const std::string& getAnimationName() const;

    bool isInWater() const;
    bool isOnGround() const;
    std::uint32_t getPlayerId() const;
    const sf::String& getName() const;

    /// The name as drawn above a remote player, after the word filter.
    const sf::String& getDisplayName() const;

    /// Everything the man draws, name included.
    sf::FloatRect getPaintBounds() const override;
    /// Shadow, figure and hair, the ripple in water, the name over a remote player.
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

private:
    void requestLocalQuestions();
    void requestRemoteMovement();
    void loadBinds();

    void onGetPosition(Tessaly::Message& message);
    void onGetLocalPlayer(Tessaly::Message& message);
    void onGetName(Tessaly::Message& message);
    void onChatMessage(Tessaly::Message& message);
    void onChunk(Tessaly::Message& message);
    void onPhysical(Tessaly::Message& message);
    void onSetName(Tessaly::Message& message);
    void onSetPosition(Tessaly::Message& message);
    void onSetSpeed(Tessaly::Message& message);
    void onEvent(Tessaly::Message& message);
    void update(Tessaly::Message& message);
    void draw(Tessaly::Message& message);

    // Local player steps of an update.
    void move(float seconds);
    int findBiome(const Plym::Math::Vector3& position) const;
    void playMusic(int biome);
    void moveVertically(Plym::Math::Vector3& position, Plym::Math::Vector3& velocity, int biome, float seconds);
    void walk(Plym::Math::Vector3& velocity, float maxSpeed, float seconds) const;
    void keepInsideMap(const Plym::Math::Vector3& position, Plym::Math::Vector3& velocity);
    void stream(const Plym::Math::Vector3& position, const Plym::Math::Vector3& velocity) const;
    void animate(float seconds);
    /// Footsteps and splashes at the man's feet, for every man.
    void makeFootfalls(float seconds);

    // Layers of a drawn man.
    void drawFigure(sf::RenderTarget& target, sf::Sprite& sprite, float height) const;
    void drawRipple(sf::RenderTarget& target, sf::Sprite& sprite) const;
    void drawName(sf::RenderTarget& target, const Plym::Math::Vector3& position) const;
    /// The name over the man's head, centred where it is drawn.
    Plym::TextRuns makeName(const Plym::Math::Vector3& position) const;
    /// Everything draw() covers, name included.
    sf::FloatRect getPictureBounds(const Plym::Math::Vector3& position) const;
    /// Where the visible pixels of figures, hair (both ways round) and shadow lie around the
    /// feet, from the pictures themselves; found once for all men.
    const sf::FloatRect& getPictureExtent() const;

    // Chat keyboard of the local player.
    void toggleChat(Tessaly::Message& message);
    void sendChatLine();
    /// Closes the chat line without sending what was typed.
    void cancelChat(Tessaly::Message& message);
    void typeCharacter(std::uint32_t codePoint);

    Tessaly::RequestId mDrawId;
    Physical* mPhysical;
    Plym::Animation mAnimation;
    std::string mAnimationName;
    sf::String mName;
    sf::String mDisplayName;
    std::uint32_t mPlayerId;
    bool mInWater;
    bool mOnGround;
    Plym::Spritesheet* mHair;
    sf::Texture* mShadow;
    Chunk* mChunk;
    Footsteps mFootsteps;

    // One copy for all men: the local player's facts, binds and chat line.
    static Tessaly::EntityId sLocalPlayerEntity;
    static bool sBindsLoaded;
    static Plym::Input* sInputUp;
    static Plym::Input* sInputDown;
    static Plym::Input* sInputLeft;
    static Plym::Input* sInputRight;
    static Plym::Input* sInputRun;
    static Plym::Input* sInputJump;
    static int sLastBiome;
    static int sSendCounter;
    static bool sChatting;
    static bool sChatArmed;
    static sf::String sChatBuffer;
    static sf::FloatRect sPictureExtent;  ///< Empty until found.
};

} // namespace QEL

#endif
