#include "ecs/EntityRecord.hpp"

#include "ecs/Component.hpp"

#include <algorithm>

namespace Tessaly
{

void EntityRecord::addComponent(Component* component)
{
    for (auto& group : mComponents)
    {
        if (group.first == component->getName())
        {
            group.second.push_back(component);
            return;
        }
    }
    mComponents.emplace_back(component->getName(), std::vector<Component*>{component});
}

bool EntityRecord::removeComponent(const Component* component)
{
    for (auto group = mComponents.begin(); group != mComponents.end(); ++group)
    {
        auto& components = group->second;
        auto found = std::find(components.begin(), components.end(), component);
        if (found == components.end())
            continue;
        components.erase(found);
        // A name without components counts as absent for the required-components check.
        if (components.empty())
            mComponents.erase(group);
        return true;
    }
    return false;
}

bool EntityRecord::hasComponent(const Component* component) const
{
    // Compares pointers only: the component may already be deleted.
    return std::any_of(mComponents.begin(), mComponents.end(), [component](const ComponentGroup& group) {
        return std::find(group.second.begin(), group.second.end(), component) != group.second.end();
    });
}

bool EntityRecord::hasComponentNamed(const std::string& name) const
{
    return findGroup(name) != nullptr;
}

const std::vector<Component*>& EntityRecord::getComponents(const std::string& name) const
{
    static const std::vector<Component*> none;
    const ComponentGroup* group = findGroup(name);
    return group ? group->second : none;
}

std::vector<Component*> EntityRecord::getAllComponents() const
{
    std::vector<Component*> all;
    for (const auto& group : mComponents)
        all.insert(all.end(), group.second.begin(), group.second.end());
    return all;
}

const EntityRecord::ComponentGroup* EntityRecord::findGroup(const std::string& name) const
{
    auto found = std::find_if(mComponents.begin(), mComponents.end(),
                              [&name](const ComponentGroup& group) { return group.first == name; });
    return found == mComponents.end() ? nullptr : &*found;
}

} // namespace Tessaly
