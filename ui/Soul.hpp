#ifndef QEL_UI_SOUL_HPP
#define QEL_UI_SOUL_HPP

#include "ecs/Component.hpp"

#include <cstdint>
#include <string>

namespace QEL
{
namespace Components
{

/// "QEL.Components.Soul": the statistics of a living creature. It only stores them:
/// setters are heard on the own entity, getters answer global questions.
class Soul : public Tessaly::Component
{
public:
    Soul();

    void addedToEntity() override;

private:
    template <class T>
    void storeOnRequest(const std::string& name, T& field);

    template <class T>
    void answerOnRequest(const std::string& name, const T& field);

    float mHealth;
    float mMaxHealth;
    float mEnergy;
    float mMaxEnergy;
    std::uint32_t mLevel;
    std::uint32_t mExperience;
};

} // namespace Components
} // namespace QEL

#endif
