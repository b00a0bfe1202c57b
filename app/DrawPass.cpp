#include "app/DrawPass.hpp"

namespace QEL
{

DrawPass::DrawPass(Kind kind) :
mKind(kind)
{
}

bool DrawPass::draws(DrawPass* pass, bool moving, const sf::FloatRect& bounds)
{
    if (!pass)
        return true;
    switch (pass->mKind)
    {
        case Still: return !moving;
        case Survey:
            if (moving)
                pass->mMoving.push_back(bounds);
            return false;
        case Patch: return true;
    }
    return true;
}

bool DrawPass::isFrame(const DrawPass* pass)
{
    return !pass || pass->mKind == Survey;
}

void DrawPass::repaint(DrawPass* pass, const sf::FloatRect& area)
{
    if (pass)
        pass->mRepaints.push_back(area);
}

void DrawPass::repaintSoon(DrawPass* pass, const sf::FloatRect& area)
{
    if (pass)
        pass->mLateRepaints.push_back(area);
}

} // namespace QEL
