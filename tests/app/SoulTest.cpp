#include "ecs/EntitySystem.hpp"
#include "ui/Soul.hpp"

#include <boost/any.hpp>
#include <gtest/gtest.h>

namespace
{

class SoulTest : public ::testing::Test
{
protected:
    SoulTest() : mSystem(false)
    {
        mSystem.registerComponent("QEL.Components.Soul", [] { return new QEL::Components::Soul(); });
        mFirst = addSoul();
        mSecond = addSoul();
    }

    Tessaly::EntityId addSoul()
    {
        const Tessaly::EntityId entity = mSystem.createEntity();
        mSystem.addComponent(entity, mSystem.createComponent("QEL.Components.Soul"));
        return entity;
    }

    void sendTo(Tessaly::EntityId entity, const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        mSystem.sendLocalMessage(entity, mSystem.getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    Tessaly::Message ask(const std::string& name)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, 0);
        mSystem.sendGlobalMessage(mSystem.getMessageRequestId(Tessaly::MessageRequest, name), message);
        return message;
    }

    Tessaly::EntitySystem mSystem;
    Tessaly::EntityId mFirst = 0;
    Tessaly::EntityId mSecond = 0;
};

TEST_F(SoulTest, FreshSoulAnswersZero)
{
    const Tessaly::Message health = ask("Soul.GetHealth");
    EXPECT_TRUE(health.handled);
    EXPECT_EQ(boost::any_cast<float>(health.payload), 0.f);
    EXPECT_EQ(boost::any_cast<std::uint32_t>(ask("Soul.GetLevel").payload), 0u);
}

TEST_F(SoulTest, StoresValuesAsGivenWithoutRules)
{
    sendTo(mFirst, "Soul.SetMaxHealth", 10.f);
    sendTo(mFirst, "Soul.SetHealth", 25.f);
    sendTo(mSecond, "Soul.SetHealth", -5.f);
    sendTo(mFirst, "Soul.SetExperience", 7u);

    // Among equal priorities the most recently registered answers first: the second soul.
    EXPECT_EQ(boost::any_cast<float>(ask("Soul.GetHealth").payload), -5.f);
    EXPECT_EQ(boost::any_cast<float>(ask("Soul.GetMaxHealth").payload), 0.f);
    EXPECT_EQ(boost::any_cast<std::uint32_t>(ask("Soul.GetExperience").payload), 0u);

    // Without it the first soul answers: its health stays above its maximum.
    mSystem.destroyEntity(mSecond);
    EXPECT_EQ(boost::any_cast<float>(ask("Soul.GetHealth").payload), 25.f);
    EXPECT_EQ(boost::any_cast<float>(ask("Soul.GetMaxHealth").payload), 10.f);
    EXPECT_EQ(boost::any_cast<std::uint32_t>(ask("Soul.GetExperience").payload), 7u);
}

TEST_F(SoulTest, SettersAreHeardOnlyOnTheOwnEntity)
{
    Tessaly::Message global(Tessaly::Custom, nullptr, 3.f);
    mSystem.sendGlobalMessage(mSystem.getMessageRequestId(Tessaly::MessageRequest, "Soul.SetEnergy"), global);
    EXPECT_EQ(boost::any_cast<float>(ask("Soul.GetEnergy").payload), 0.f);

    sendTo(mSecond, "Soul.SetEnergy", 3.f);
    EXPECT_EQ(boost::any_cast<float>(ask("Soul.GetEnergy").payload), 3.f);
}

TEST_F(SoulTest, WrongPayloadTypeFailsAndKeepsTheValue)
{
    sendTo(mSecond, "Soul.SetLevel", 4u);
    EXPECT_THROW(sendTo(mSecond, "Soul.SetLevel", 5.f), boost::bad_any_cast);
    EXPECT_EQ(boost::any_cast<std::uint32_t>(ask("Soul.GetLevel").payload), 4u);
}

} // namespace
