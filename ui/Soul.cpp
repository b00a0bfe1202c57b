#include "ui/Soul.hpp"

#include <boost/any.hpp>

namespace QEL
{
namespace Components
{

Soul::Soul() :
Component("QEL.Components.Soul"),
mHealth(0.f),
mMaxHealth(0.f),
mEnergy(0.f),
mMaxEnergy(0.f),
mLevel(0),
mExperience(0)
{
}

void Soul::addedToEntity()
{
    storeOnRequest("Soul.SetHealth", mHealth);
    storeOnRequest("Soul.SetMaxHealth", mMaxHealth);
    storeOnRequest("Soul.SetEnergy", mEnergy);
    storeOnRequest("Soul.SetMaxEnergy", mMaxEnergy);
    storeOnRequest("Soul.SetLevel", mLevel);
    storeOnRequest("Soul.SetExperience", mExperience);
    answerOnRequest("Soul.GetHealth", mHealth);
    answerOnRequest("Soul.GetMaxHealth", mMaxHealth);
    answerOnRequest("Soul.GetEnergy", mEnergy);
    answerOnRequest("Soul.GetMaxEnergy", mMaxEnergy);
    answerOnRequest("Soul.GetLevel", mLevel);
    answerOnRequest("Soul.GetExperience", mExperience);
}

template <class T>
void Soul::storeOnRequest(const std::string& name, T& field)
{
    // The cast throws before the field is touched, so a wrong payload leaves it unchanged.
    requestMessage(name, [&field](Tessaly::Message& message) { field = boost::any_cast<T>(message.payload); }, true);
}

template <class T>
void Soul::answerOnRequest(const std::string& name, const T& field)
{
    requestMessage(name, [&field](Tessaly::Message& message) {
        message.payload = field;
        message.handled = true;
    }, false);
}

} // namespace Components
} // namespace QEL
