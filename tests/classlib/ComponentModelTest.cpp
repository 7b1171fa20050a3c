// Component names, state, order and the Loaded step; string lists and collections.
#include <gtest/gtest.h>

#include "classlib/Collection.h"
#include "classlib/Component.h"
#include "classlib/Strings.h"

namespace {

std::string NameError(TComponent& c, const std::string& name)
{
    try {
        c.SetName(name);
    } catch (const EComponentError& e) {
        return e.Message();
    }
    return "(no error)";
}

TEST(ComponentModel, NamesAreIdentifiersUniqueWithinTheOwner)
{
    TComponent form;
    auto* a = new TComponent(&form);
    auto* b = new TComponent(&form);
    struct Case {
        const char* name;
        const char* error;
    };
    const Case cases[] = {
        {"Button1", "(no error)"}, {"_x9", "(no error)"},    {"", "(no error)"},
        {"1Button", "'1Button' is not a valid component name"}, {"Rip!", "'Rip!' is not a valid component name"},
        {"Grüße", "'Grüße' is not a valid component name"},     {"a b", "'a b' is not a valid component name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NameError(*a, c.name), c.error);
    }
    a->SetName("CDIn1");
    EXPECT_EQ(NameError(*b, "cdin1"), "A component named cdin1 already exists");
    EXPECT_EQ(b->Name(), "");
    EXPECT_EQ(NameError(*a, "CDIn1"), "(no error)"); // its own name again
    EXPECT_EQ(form.FindComponent("CDIN1"), a);
    EXPECT_EQ(form.FindComponent(""), nullptr);
    // Components without an owner may share names.
    TComponent loose1, loose2;
    loose1.SetName("Same");
    EXPECT_EQ(NameError(loose2, "Same"), "(no error)");
}

TEST(ComponentModel, StateTagIndexAndLoaded)
{
    TComponent form;
    auto* a = new TComponent(&form);
    auto* b = new TComponent(&form);
    auto* c = new TComponent(&form);
    EXPECT_EQ(a->ComponentIndex(), 0);
    EXPECT_EQ(c->ComponentIndex(), 2);
    EXPECT_EQ(form.ComponentIndex(), -1);
    c->SetComponentIndex(0);
    EXPECT_EQ(form.Components(0), c);
    EXPECT_EQ(form.Components(1), a);
    EXPECT_EQ(b->ComponentIndex(), 2);
    b->SetComponentIndex(99); // clamped
    EXPECT_EQ(b->ComponentIndex(), 2);

    EXPECT_FALSE(a->Designing());
    EXPECT_FALSE(a->Loading());
    EXPECT_TRUE(a->ComponentState().Empty());
    a->SetTag(99);
    EXPECT_EQ(a->Tag(), 99);
    a->Loaded();
    EXPECT_FALSE(a->Loading());
    EXPECT_EQ(a->GetParentComponent(), nullptr);
    EXPECT_FALSE(a->HasParent());
}

TEST(StringList, EditingAndText)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TStrings&) { ++changes; };
    EXPECT_EQ(list.Add("MP3"), 0);
    list.Add("Wav");
    list.Insert(1, "Ogg");
    list.Append("FLAC");
    list.Insert(3, "Ape");
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(list.Text(), "MP3\r\nOgg\r\nWav\r\nApe\r\nFLAC\r\n");
    EXPECT_EQ(list.IndexOf("Wav"), 2);
    EXPECT_EQ(list.IndexOf("wav"), -1);
    list.Delete(0);
    EXPECT_EQ(list[0], "Ogg");
    list.Move(0, 3);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Wav", "Ape", "FLAC", "Ogg"}));
    list.Exchange(0, 3);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Ogg", "Ape", "FLAC", "Wav"}));

    changes = 0;
    list.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(changes, 1); // one notification for the whole replacement
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "b", "c", "d"}));
    list.SetText("x\r\n\r\n");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"x", ""}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);

    list.SetLines({"TMyButton=button", "TMyEdit=edit", "plain"});
    EXPECT_EQ(list.Names(0), "TMyButton");
    EXPECT_EQ(list.Values("TMyEdit"), "edit");
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.IndexOfName("TMyEdit"), 1);

    for (int bad : {-1, 3}) {
        try {
            list.Get(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
        }
    }
    EXPECT_THROW(list.Insert(5, "x"), EListError);

    TStringList copy = list;
    list.Put(0, "changed");
    EXPECT_EQ(copy[0], "TMyButton=button");
    copy.AddStrings(copy);
    EXPECT_EQ(copy.Count(), 6);
}

struct TCounted : TPersistent {
    explicit TCounted(int& alive) : alive_(alive) { ++alive_; }
    ~TCounted() override { --alive_; }
    int& alive_;
};

TEST(StringList, ObjectsAreOwnedOnlyWhenAsked)
{
    int alive = 0;
    TCounted loose(alive);
    {
        TStringList list;
        list.Add("a", &loose);
        EXPECT_EQ(list.GetObject(0), &loose);
        EXPECT_EQ(list.IndexOfObject(&loose), 0);
    }
    EXPECT_EQ(alive, 1);
    {
        TStringList owning;
        owning.SetOwnsObjects(true);
        owning.Add("a", new TCounted(alive));
        owning.Add("b", new TCounted(alive));
        owning.Add("c", new TCounted(alive));
        owning.Move(0, 2); // moving keeps the object alive
        EXPECT_EQ(alive, 4);
        owning.Delete(0);
        EXPECT_EQ(alive, 3);
    }
    EXPECT_EQ(alive, 1);
}

class TPanelItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    void SetText(std::string t)
    {
        text = std::move(t);
        Changed();
    }
    std::string text;
};

TEST(Collection, ItemsAddMoveDeleteAndNotify)
{
    TCollectionOf<TPanelItem> panels;
    std::vector<std::string> updates;
    panels.OnUpdate = [&](TCollection&, TCollectionItem* item) {
        updates.push_back(item ? static_cast<TPanelItem*>(item)->text : "*");
    };
    TPanelItem* a = panels.AddItem();
    TPanelItem* b = panels.AddItem();
    TPanelItem* c = panels.AddItem();
    a->SetText("a");
    EXPECT_EQ(updates, (std::vector<std::string>{"*", "*", "*", "a"}));
    EXPECT_EQ(c->Index(), 2);
    EXPECT_EQ(c->Collection(), &panels);
    c->SetIndex(0);
    EXPECT_EQ(panels.Items(0), c);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(panels.FindItemID(b->ID()), b);
    EXPECT_NE(a->ID(), b->ID());

    updates.clear();
    panels.BeginUpdate();
    b->SetText("b");
    panels.Delete(0);
    panels.EndUpdate();
    EXPECT_EQ(updates, (std::vector<std::string>{"*"}));
    EXPECT_EQ(panels.Count(), 2);
    EXPECT_THROW(panels.Item(2), EListError);
    TCollectionAccess& access = panels;
    access.Clear();
    EXPECT_EQ(access.Count(), 0);
    EXPECT_NE(dynamic_cast<TPanelItem*>(access.Add()), nullptr);
}

} // namespace
