#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "classlib/Component.h"

namespace {

class TWatcher : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<TComponent*> removed;
    std::vector<std::string>* destroyed = nullptr;
    ~TWatcher() override
    {
        if (destroyed)
            destroyed->push_back(Name());
    }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove)
            removed.push_back(component);
        TComponent::Notification(component, operation);
    }
};

} // namespace

TEST(Component, OwnerFreesItsComponentsLastCreatedFirst)
{
    std::vector<std::string> destroyed;
    {
        TComponent form;
        for (const char* name : {"CDIn1", "WaveOut1", "Timer1"}) {
            auto* c = new TWatcher(&form);
            c->SetName(name);
            c->destroyed = &destroyed;
        }
        EXPECT_EQ(form.ComponentCount(), 3);
        EXPECT_EQ(form.FindComponent("WaveOut1")->Name(), "WaveOut1");
        EXPECT_EQ(form.FindComponent("Nope"), nullptr);
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"Timer1", "WaveOut1", "CDIn1"}));
}

TEST(Component, SiblingsAndFreeNotifiedComponentsHearOfRemoval)
{
    TComponent form;
    auto* watcher = new TWatcher(&form);
    auto* sibling = new TWatcher(&form);
    const auto siblingAddress = reinterpret_cast<std::uintptr_t>(sibling);
    delete sibling;
    ASSERT_EQ(watcher->removed.size(), 1u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(watcher->removed[0]), siblingAddress);

    TComponent otherForm;
    auto* foreign = new TWatcher(&otherForm);
    watcher->FreeNotification(foreign);
    const auto foreignAddress = reinterpret_cast<std::uintptr_t>(foreign);
    delete foreign;
    ASSERT_EQ(watcher->removed.size(), 2u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(watcher->removed[1]), foreignAddress);

    // A watcher that goes first is forgotten: no notification reaches a dead object.
    auto* shortLived = new TWatcher(&otherForm);
    auto* target = new TWatcher(&otherForm);
    TWatcher outside;
    shortLived->FreeNotification(&outside);
    delete shortLived;
    EXPECT_NO_FATAL_FAILURE(delete target);
}
