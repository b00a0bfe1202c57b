#ifndef QEL_ACTORS_TREE_HPP
#define QEL_ACTORS_TREE_HPP

#include "actors/SheetPart.hpp"
#include "app/Painting.hpp"
#include "ecs/Component.hpp"
#include "plym/core/Vector2.hpp"
#include "plym/game/RadialProgressBar.hpp"

#include <SFML/Graphics/Rect.hpp>


namespace sf
{
class RenderTarget;
class Sprite;
class Texture;
} // namespace sf

namespace Plym
{
class Spritesheet;
}

namespace QEL
{

/// "QEL.Game.Tree": a tree the player chops by holding the axe on it (a left click, then
/// 15 seconds within reach) and strips by a right click. Felling and stripping are shared
/// with the other players; a felled tree leaves a stump and spawns a falling trunk.
class Tree : public Tessaly::Component, public Painting
{
public:
    static constexpr float ChopSeconds = 15.f;
    static constexpr float ReachSquared = 90000.f;  // 300 units
    /// Axe strokes heard over a whole felling, one each time the cut deepens by their share.
    static constexpr int Strokes = 20;

    Tree();

    void addedToEntity() override;

    float getProgress() const { return mProgress; }
    bool isChopping() const { return mChopping; }
    bool isFelled() const { return mFelled; }
    bool isDebranched() const { return mDebranched; }
    bool isUpdating() const { return mUpdateRequested; }
    const sf::FloatRect& getBounds() const { return mBounds; }

    sf::FloatRect getPaintBounds() const override;
    /// Being chopped, the tree's ring and axe change every step.
    bool isMoving() const override;
    /// Felled, stripped and the progress made.
    std::uint64_t getLook() const override;
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

private:
    void setPosition(const Tessaly::Message& message);
    void click(Tessaly::Message& message);
    void update(const Tessaly::Message& message);
    void draw(const Tessaly::Message& message);
    /// Steps when on screen, the fall when chopped through.
    void keepFrameState(bool visible);
    void felledRemotely();
    void strip();
    /// The strokes of the axe that chopping from `before` to the current progress makes.
    void soundStrokes(float before) const;

    void fell();
    void spawnWood();
    /// Tells the wood spawned by the fall where it lies and whether the tree was stripped.
    void placeWood();
    void drawTree(sf::RenderTarget& target, const sf::FloatRect& area, sf::Sprite& sprite) const;
    /// Cuts the transparent margins off the parts, once, from the sheet's pixels.
    void trimParts() const;
    void drawProgress(sf::RenderTarget& target) const;

    bool mUpdateRequested;
    bool mChopping;
    Tessaly::EntityId mWoodEntity;
    Plym::RadialProgressBar mProgressBar;
    Plym::Spritesheet* mSheet;
    sf::Texture* mShadowTexture;
    sf::Texture* mAxeTexture;
    Plym::Math::Vector2 mPosition;
    sf::FloatRect mBounds;
    float mProgress;
    bool mFelled;
    bool mDebranched;

    /// The pictures of a tree on its sheet, in the order of `Part`.
    enum Part { Stump, TrunkCut, TrunkNotched, Trunk, Crown, Branches, Stripped, PartCount };
    static SheetPart sParts[PartCount];
    static bool sPartsTrimmed;
};

} // namespace QEL

#endif
