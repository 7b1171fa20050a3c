#pragma once
#include <string>
#include <vector>

#include "classlib/Exception.h"
#include "classlib/Persistent.h"
#include "classlib/Set.h"

enum class TOperation { opInsert, opRemove };

enum TComponentStateItem {
    csLoading,    // being created from a stored description; cleared after Loaded
    csReading,    // its properties are being read right now
    csDesigning,  // edited by a form designer; never the case in the program
    csDestroying, // its destructor has started
};
using TComponentState = TSet<TComponentStateItem>;

// Bad or duplicate component names.
class EComponentError : public Exception {
    using Exception::Exception;
};

class TFormReader;

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
    // An identifier (letter or underscore, then letters, digits, underscores) or empty.
    // Raises EComponentError for an invalid name or one another component of the same
    // owner already has (names compare without regard to ASCII case).
    void SetName(std::string name);
    int Tag() const { return tag_; }
    void SetTag(int value) { tag_ = value; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // Position in the owner's list; -1 without owner.
    int ComponentIndex() const;
    void SetComponentIndex(int index);
    // By name, without regard to ASCII case; nullptr when none of the owned components has it.
    TComponent* FindComponent(const std::string& name) const;

    // Asks to be told (through Notification) when `component` is destroyed, even when
    // it has another owner.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    TComponentState ComponentState() const { return state_; }
    bool Designing() const { return state_.Contains(csDesigning); }
    bool Loading() const { return state_.Contains(csLoading); }

    // The component a stored description nests this one in (for controls: the parent
    // control). Components without such a relation keep the defaults.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* /*parent*/) {}

    // Runs once after a stored description has set every property of every component
    // it creates; references between them are resolved by then.
    virtual void Loaded();

    static bool IsValidIdent(const std::string& name);

protected:
    // Default: passes the notification on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);
    void SetDesigning(bool value);

private:
    friend class TFormReader;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    int tag_ = 0;
    TComponentState state_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// ASCII case-insensitive comparison, the way names are compared.
bool SameName(const std::string& a, const std::string& b);
