#include "actors/Tree.hpp"

#include "actors/WorldEvent.hpp"
#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "app/WorldPainter.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/Protocol.hpp"
#include "physics/Collision.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/core/Vector3.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <boost/any.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace QEL
{

SheetPart Tree::sParts[PartCount] = {
    {sf::IntRect(540, 90, 180, 180), sf::Vector2f(90.f, 175.f)},
    {sf::IntRect(360, 180, 180, 180), sf::Vector2f(90.f, 175.f)},
    {sf::IntRect(360, 360, 180, 180), sf::Vector2f(90.f, 175.f)},
    {sf::IntRect(90, 360, 180, 180), sf::Vector2f(90.f, 175.f)},
    {sf::IntRect(0, 0, 360, 270), sf::Vector2f(180.f, 535.f)},
    {sf::IntRect(0, 270, 360, 90), sf::Vector2f(180.f, 265.f)},
    {sf::IntRect(360, 0, 360, 90), sf::Vector2f(180.f, 265.f)},
};
bool Tree::sPartsTrimmed = false;

Tree::Tree() :
Component("QEL.Game.Tree"),
mUpdateRequested(false),
mChopping(false),
mWoodEntity(0),
mProgressBar(32, 19, 0.f, 1.f),
mSheet(&gSpritesheets.get("Tree")),
mShadowTexture(&gTextures.get("Tree::Shadow")),
mAxeTexture(&gTextures.get("Action::Axe")),
mProgress(0.f),
mFelled(false),
mDebranched(false)
{
}

void Tree::addedToEntity()
{
    requestMessage("QEL.Game.Draw", &Tree::draw);
    requestMessage("QEL.Game.Click", &Tree::click);
    requestComponent("QEL.Physical", [](Tessaly::Message& message) {
        if (message.type != Tessaly::ComponentAdded)
            return;
        auto* physical = static_cast<Physical*>(message.sender);
        physical->setShape(makeOctagon(Plym::Math::Vector2(140.f, 70.f), 25.f));
        physical->setStatic(true);
    }, true);
    requestMessage("SetPosition", &Tree::setPosition, true);
    requestMessage(Network::Protocol::FelledTree, [this](Tessaly::Message&) { felledRemotely(); }, true);
    requestMessage(Network::Protocol::BranchedTree, [this](Tessaly::Message&) { strip(); }, true);
}

void Tree::setPosition(const Tessaly::Message& message)
{
    const auto& position = boost::any_cast<const Plym::Math::Vector3&>(message.payload);
    mPosition = Plym::Math::Vector2(position.x, position.y);
    mBounds = sf::FloatRect(position.x - 180.f, position.y - 540.f, 360.f, 596.f);
    changeRequestPriority(getMessageRequestId("QEL.Game.Draw"), static_cast<int>(position.y));
    changeRequestPriority(getMessageRequestId("QEL.Game.Click"), static_cast<int>(-position.y));
}

void Tree::click(Tessaly::Message& message)
{
    const auto& click = boost::any_cast<const ClickEvent&>(message.payload);
    if (mFelled || !mBounds.contains(click.first))
        return;
    message.handled = true;
    if (click.second)
    {
        strip();
        shareWorldEvent(getOwner(), Network::Protocol::BranchedTree);
    }
    else
    {
        mChopping = true;
    }
}

void Tree::update(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("Tree::update()");
    const float step = boost::any_cast<float>(message.payload);
    placeWood();

    const Tessaly::Message player = sendGlobalQuestion("QEL.Game.Man.GetPosition", 0);
    if (!player.handled || (boost::any_cast<Plym::Math::Vector2>(player.payload) - mPosition).getLengthSquared() > ReachSquared)
        mChopping = false;

    if (mChopping)
    {
        const float before = mProgress;
        mProgress += step / ChopSeconds;
        soundStrokes(before);
        mProgressBar.setCurrent(mProgress);
        mProgressBar.update();
    }
}

void Tree::draw(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("Tree::draw()");
    const auto& event = boost::any_cast<const DrawEvent&>(message.payload);
    keepFrameState(event.second.intersects(mBounds));
    WorldPainter::draw(*this, event);
}

void Tree::keepFrameState(bool visible)
{
    if (!visible)
    {
        // Off screen a tree needs no steps; they come back with the next visible draw.
        if (mUpdateRequested)
        {
            unrequestMessage("QEL.Game.Update", false);
            mUpdateRequested = false;
        }
        return;
    }
    if (mChopping && mProgress >= 1.f)
        fell();
    if (!mUpdateRequested)
    {
        requestMessage("QEL.Game.Update", &Tree::update);
        mUpdateRequested = true;
    }
}

sf::FloatRect Tree::getPaintBounds() const
{
    return mBounds;
}

bool Tree::isMoving() const
{
    return mChopping;
}

std::uint64_t Tree::getLook() const
{
    std::uint32_t progress;
    std::memcpy(&progress, &mProgress, sizeof(progress));
    return static_cast<std::uint64_t>(progress) << 2 | static_cast<std::uint64_t>(mDebranched) << 1 | static_cast<std::uint64_t>(mFelled);
}

void Tree::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    if (!area.intersects(mBounds))
        return;
    if (!sPartsTrimmed)
        trimParts();
    sf::Sprite sprite(*mShadowTexture);
    sprite.setPosition(mPosition);
    sprite.setOrigin(120.f, 56.f);
    sprite.setColor(sf::Color(0, 0, 0, 42));
    if (sprite.getGlobalBounds().intersects(area))
        target.draw(sprite);
    sprite.setColor(sf::Color::White);
    sprite.setTexture(mSheet->getTexture());

    drawTree(target, area, sprite);
    if (mProgress > 0.f && !mFelled)
        drawProgress(target);
}

void Tree::soundStrokes(float before) const
{
    // A stroke as each share of the cut begins, the first at once: exactly Strokes for a tree.
    const auto share = [](float progress) { return progress <= 0.f ? -1 : std::min(Strokes - 1, static_cast<int>(progress * Strokes)); };
    if (share(mProgress) <= share(before))
        return;
    // Deeper into the trunk the strokes sound duller.
    const int depth = std::min(3, static_cast<int>(mProgress * 4.f));
    playSound("Tree::Stroke" + std::to_string(depth + 1), mPosition);
}

void Tree::strip()
{
    if (!mDebranched)
        playSound("Tree::Branch", mPosition);
    mDebranched = true;
}

void Tree::fell()
{
    mChopping = false;
    mFelled = true;
    playSound("Tree::Creak", mPosition);
    spawnWood();
    shareWorldEvent(getOwner(), Network::Protocol::FelledTree);
}

void Tree::felledRemotely()
{
    mChopping = false;
    if (!mFelled)
    {
        playSound("Tree::Creak", mPosition);
        spawnWood();
    }
    mFelled = true;
    mProgress = 1.f;
}

void Tree::spawnWood()
{
    mWoodEntity = getSystem()->instantiate("QEL.Woody");
    // A tree off screen takes no steps: without its place now, the trunk would fall at the
    // world's origin until the tree comes into view.
    if (!mUpdateRequested)
        placeWood();
}

void Tree::placeWood()
{
    if (mWoodEntity == 0)
        return;
    sendMessageToEntity(mWoodEntity, "QEL.SetPosition", Plym::Math::Vector2(mPosition.x, mPosition.y + 175.f));
    sendMessageToEntity(mWoodEntity, "Debranched", mDebranched);
    mWoodEntity = 0;
}

void Tree::drawTree(sf::RenderTarget& target, const sf::FloatRect& area, sf::Sprite& sprite) const
{
    // A part outside the area covers none of its pixels: the painter's narrow bands skip it.
    const auto drawPart = [&](Part part) {
        sprite.setTextureRect(sParts[part].rect);
        sprite.setOrigin(sParts[part].origin);
        if (sprite.getGlobalBounds().intersects(area))
            target.draw(sprite);
    };
    if (mFelled)
    {
        drawPart(Stump);
        return;
    }
    if (mProgress > 2.f / 3.f)
        drawPart(TrunkCut);
    else if (mProgress > 1.f / 3.f)
        drawPart(TrunkNotched);
    else
        drawPart(Trunk);
    drawPart(Crown);
    drawPart(mDebranched ? Stripped : Branches);
}

void Tree::trimParts() const
{
    const sf::Image image = mSheet->getTexture().copyToImage();
    for (SheetPart& part : sParts)
        part = part.trimmed(image);
    sPartsTrimmed = true;
}

void Tree::drawProgress(sf::RenderTarget& target) const
{
    const auto drawCentred = [&](const sf::Texture& texture) {
        sf::Sprite sprite(texture);
        sprite.setOrigin(sf::Vector2f(texture.getSize()) / 2.f);
        sprite.setPosition(mPosition);
        target.draw(sprite);
    };
    drawCentred(mProgressBar.getTexture());
    if (mChopping)
        drawCentred(*mAxeTexture);
}

} // namespace QEL
