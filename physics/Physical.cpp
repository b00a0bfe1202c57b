#include "physics/Physical.hpp"

#include "physics/Collision.hpp"
#include "physics/CollisionShape.hpp"
#include "physics/QuadTreeLeaf.hpp"
#include "plym/core/Profiling.hpp"

#include <algorithm>
#include <cmath>

namespace QEL
{

using Plym::Math::Vector2;
using Plym::Math::Vector3;

Physical::Physical() :
Tessaly::Component("QEL.Physical"),
mIsStatic(false),
mRadiusSquared(0.f),
mRadius(0.f),
mTree(nullptr),
mCurrentNode(nullptr)
{
}

Physical::~Physical()
{
    if (mCurrentNode)
        mCurrentNode->remove(this);
    else if (mTree)
        mTree->remove(this);
}

void Physical::addedToEntity()
{
    requestMessage("SetPosition", &Physical::onSetPosition, true);
    requestMessage("SetSpeed", &Physical::onSetSpeed, true);
    requestMessage("SetTree", &Physical::onSetTree, true);
    if (!mIsStatic)
        requestMessage("QEL.Game.Update", &Physical::onUpdate);
    // The world answers with a local "SetTree" while the question is being delivered.
    sendGlobalQuestion("AddToQuadTree", 0);
}

void Physical::setShape(CollisionShape* shape)
{
    if (shape != mShape.get())
        mShape.reset(shape);
    const float radius = shape ? shape->getRadius() : 0.f;
    mRadiusSquared = radius * radius;
    mRadius = std::sqrt(mRadiusSquared);
    // A body already in the tree may have outgrown its node.
    if (mCurrentNode)
        mCurrentNode = mCurrentNode->update(this);
}

CollisionShape* Physical::getShape() const
{
    return mShape.get();
}

void Physical::setPosition(const Vector3& position)
{
    mPosition = position;
    if (mCurrentNode)
        mCurrentNode = mCurrentNode->update(this);
    if (mCurrentNode || !mTree)
        return;

    mTree->remove(this);
    mCurrentNode = mTree->insert(this);
    if (mCurrentNode)
        return;

    // Outside the world: forget the tree and ask for it again.
    mTree = nullptr;
    if (isValid())
        sendGlobalQuestion("AddToQuadTree", 0);
}

void Physical::setSpeed(const Vector3& speed)
{
    mSpeed = speed;
}

Vector3 Physical::getSpeed() const
{
    return mSpeed;
}

void Physical::setStatic(bool isStatic)
{
    if (isStatic == mIsStatic)
        return;
    mIsStatic = isStatic;
    // Before the body is on an entity there is no request yet; addedToEntity reads the flag.
    if (!isValid())
        return;
    if (isStatic)
        unrequestMessage("QEL.Game.Update");
    else
        requestMessage("QEL.Game.Update", &Physical::onUpdate);
}

bool Physical::isStatic() const
{
    return mIsStatic;
}

void Physical::update(float dt)
{
    Plym::Profiling::Block block("Physical::update");

    const Vector3 previous = mPosition;
    mPosition += mSpeed * dt;
    if (!mTree)
        return;

    // A NaN coordinate compares unequal, so such a body is re-placed (and leaves the tree).
    if (mCurrentNode && mPosition != previous)
        mCurrentNode = mCurrentNode->update(this);
    if (!mCurrentNode)
    {
        mTree->remove(this);
        mCurrentNode = mTree->insert(this);
    }

    if (!mShape || !isValid())
        return;
    resolveCollisions();
}

void Physical::setTree(QuadTree* tree)
{
    if (tree != mTree && mCurrentNode)
    {
        mCurrentNode->remove(this);
        mCurrentNode = nullptr;
    }
    mTree = tree;
}

QuadTree* Physical::getTree() const
{
    return mTree;
}

void Physical::setCurrentNode(QuadTree::Leaf* node)
{
    mCurrentNode = node;
}

QuadTree::Leaf* Physical::getCurrentNode() const
{
    return mCurrentNode;
}

void Physical::onSetPosition(const Tessaly::Message& message)
{
    setPosition(boost::any_cast<Vector3>(message.payload));
}

void Physical::onSetSpeed(const Tessaly::Message& message)
{
    setSpeed(boost::any_cast<Vector3>(message.payload));
}

void Physical::onSetTree(const Tessaly::Message& message)
{
    setTree(boost::any_cast<QuadTree*>(message.payload));
}

void Physical::onUpdate(const Tessaly::Message& message)
{
    update(boost::any_cast<float>(message.payload));
}

void Physical::resolveCollisions()
{
    // A body outside the tree would not find itself among the candidates.
    if (!mCurrentNode)
        return;

    std::vector<Physical*> candidates = mTree->queryCircle(mPosition.xy(), mRadius);
    const auto self = std::find(candidates.begin(), candidates.end(), this);
    if (candidates.size() <= 1 || self == candidates.end())
        return;
    candidates.erase(self);

    for (Physical* other : candidates)
    {
        if (!other->mShape)
            continue;
        float depth;
        Vector2 axis;
        if (!testCollision(*mShape, *other->mShape, mPosition.xy(), other->mPosition.xy(), depth, axis))
            continue;
        // Pushes move the bodies directly; their nodes catch up with their next movement.
        const Vector2 push = axis * depth;
        if (other->mIsStatic)
        {
            mPosition += Vector3(push, 0.f);
        }
        else
        {
            mPosition += Vector3(push / 2, 0.f);
            other->mPosition += Vector3(push / -2, 0.f);
        }
    }
}

} // namespace QEL
