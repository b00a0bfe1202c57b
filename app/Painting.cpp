#include "app/Painting.hpp"

#include "app/WorldPainter.hpp"

namespace QEL
{

std::vector<Painting*> Painting::sAll;
std::vector<sf::FloatRect> Painting::sVanished;

Painting::Painting() :
mIndex(sAll.size())
{
    sAll.push_back(this);
}

Painting::~Painting()
{
    sAll[mIndex] = sAll.back();
    sAll[mIndex]->mIndex = mIndex;
    sAll.pop_back();
    if (mSeen.known && !mSeen.moving)
        sVanished.push_back(mSeen.bounds);
    WorldPainter::forget(*this);
}

bool Painting::isMoving() const
{
    return true;
}

std::uint64_t Painting::getLook() const
{
    return 0;
}

bool Painting::changesWithin(const sf::FloatRect&) const
{
    return true;
}

void Painting::forgetChanges()
{
}

} // namespace QEL
