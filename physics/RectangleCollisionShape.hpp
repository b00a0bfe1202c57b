#ifndef QEL_PHYSICS_RECTANGLECOLLISIONSHAPE_HPP
#define QEL_PHYSICS_RECTANGLECOLLISIONSHAPE_HPP

#include "physics/CollisionShape.hpp"

#include <array>

namespace QEL
{

/// Axis-aligned rectangle centred on the local origin.
class RectangleCollisionShape : public CollisionShape
{
public:
    /// `size` is the full width and height.
    explicit RectangleCollisionShape(const Plym::Math::Vector2& size);
    RectangleCollisionShape(float width, float height);

    unsigned getPointCount() const override;

    /// Corners from the top-left one, clockwise on screen; other indices raise std::out_of_range.
    Plym::Math::Vector2 getPoint(unsigned index) const override;

    unsigned getAxisCount() const override;

    /// (1, 0) for index 0, (0, 1) for any other.
    Plym::Math::Vector2 getAxis(unsigned index) const override;

    /// Half the diagonal.
    float getRadius() const override;

private:
    Plym::Math::Vector2 mSize;
    std::array<Plym::Math::Vector2, 4> mCorners;
    float mRadius;
};

} // namespace QEL

#endif
