#ifndef QEL_TESTS_ECS_ECSFIXTURE_HPP
#define QEL_TESTS_ECS_ECSFIXTURE_HPP

#include "ecs/Component.hpp"
#include "ecs/EntitySystem.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace EcsTest
{

/// A component that counts its deletions and can run a hook from addedToEntity.
class Probe : public Tessaly::Component
{
public:
    Probe(const std::string& name, int* deletions) : Component(name), mDeletions(deletions) {}
    ~Probe() override { ++*mDeletions; }

    void addedToEntity() override
    {
        if (onAdded)
            onAdded(*this);
    }

    std::function<void(Probe&)> onAdded;

private:
    int* mDeletions;
};

/// An entity system with the factories "A", "B" and "C" making probes, and a call log.
class EcsFixture : public ::testing::Test
{
protected:
    EcsFixture()
    {
        for (const char* name : {"A", "B", "C"})
            system.registerComponent(name, [this, name] { return new Probe(name, &deletions); });
    }

    /// Creates a probe of that name and attaches it, running the hook from its addedToEntity.
    Probe* attach(Tessaly::EntityId entity, const std::string& name, std::function<void(Probe&)> onAdded = {})
    {
        auto probe = static_cast<Probe*>(system.createComponent(name));
        probe->onAdded = std::move(onAdded);
        system.addComponent(entity, probe);
        return probe;
    }

    /// A handler that appends the tag to the log.
    Tessaly::MessageFunction logAs(const std::string& tag)
    {
        return [this, tag](Tessaly::Message&) { log.push_back(tag); };
    }

    /// A handler that records the type and sender of each component notification.
    Tessaly::MessageFunction recordNotices()
    {
        return [this](Tessaly::Message& message) { notices.emplace_back(message.type, message.sender); };
    }

    // Declared before the system: its destructor still notifies the handlers that use them.
    int deletions = 0;
    std::vector<std::string> log;
    std::vector<std::pair<Tessaly::MessageType, Tessaly::Component*>> notices;
    Tessaly::EntitySystem system;
};

/// Matches a callable that throws std::runtime_error with exactly this text.
inline auto throwsError(const std::string& text)
{
    return ::testing::ThrowsMessage<std::runtime_error>(::testing::StrEq(text));
}

} // namespace EcsTest

#endif
