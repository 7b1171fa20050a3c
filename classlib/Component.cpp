#include "Component.h"

#include <algorithm>

namespace {
void Erase(std::vector<TComponent*>& list, TComponent* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    state_.Include(csDestroying);
    // Tell everyone who asked, then free what we own (last created first), then leave the owner.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    while (!components_.empty()) {
        TComponent* child = components_.back();
        delete child; // removes itself from components_
    }
    if (owner_)
        owner_->RemoveComponent(this);
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool TComponent::IsValidIdent(const std::string& name)
{
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (name.empty() || !alpha(name[0]))
        return false;
    for (char c : name)
        if (!alpha(c) && !(c >= '0' && c <= '9'))
            return false;
    return true;
}

void TComponent::SetName(std::string name)
{
    if (name == name_)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (!name.empty() && owner_) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EComponentError("A component named " + name + " already exists");
    }
    name_ = std::move(name);
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameName(c->name_, name))
            return c;
    return nullptr;
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto it = std::find(owner_->components_.begin(), owner_->components_.end(), this);
    return static_cast<int>(it - owner_->components_.begin());
}

void TComponent::SetComponentIndex(int index)
{
    if (!owner_)
        return;
    auto& list = owner_->components_;
    const int count = static_cast<int>(list.size());
    index = std::clamp(index, 0, count - 1);
    Erase(list, this);
    list.insert(list.begin() + index, this);
}

void TComponent::Loaded()
{
    state_.Exclude(csLoading);
}

void TComponent::SetDesigning(bool value)
{
    if (value)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this || (owner_ && component->owner_ == owner_))
        return; // siblings already hear about each other through the owner
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
        freeNotifies_.push_back(component);
        component->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    Erase(freeNotifies_, component);
    Erase(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove)
        Erase(freeNotifies_, component);
    // Copy: a handler may destroy or create components.
    const std::vector<TComponent*> children = components_;
    for (TComponent* child : children)
        if (child != component)
            child->Notification(component, operation);
}

void TComponent::InsertComponent(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    Notification(component, TOperation::opRemove);
    Erase(components_, component);
    component->owner_ = nullptr;
}
