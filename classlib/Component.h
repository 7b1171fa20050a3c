#pragma once
#include <string>
#include <vector>

#include "classlib/Persistent.h"

enum class TOperation { opInsert, opRemove };

// Owner-managed component: an owner deletes the components it owns when it is destroyed,
// and components learn through Notification when a component they reference goes away.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    TComponent* FindComponent(const std::string& name) const;

    // Asks to be told (through Notification) when `component` is destroyed, even when
    // it has another owner.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // True while a form designer edits the component; never the case in the program.
    bool Designing() const { return designing_; }

protected:
    // Default: passes the notification on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);
    void SetDesigning(bool value) { designing_ = value; }

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool designing_ = false;
};
