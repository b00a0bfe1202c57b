#ifndef QEL_PHYSICS_PROJECTION_HPP
#define QEL_PHYSICS_PROJECTION_HPP

namespace QEL
{

/// Extent of a shape along one axis.
struct Projection
{
    float min = 0.f;
    float max = 0.f;
};

} // namespace QEL

#endif
