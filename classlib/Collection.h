#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "classlib/Persistent.h"
#include "classlib/TypeInfo.h"

class TCollection;

// One item of a collection (a list view column, a status bar panel). Created and owned by
// its collection.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
    ~TCollectionItem() override = default;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return collection_; }
    int Index() const;
    void SetIndex(int index);
    // Unique within the collection, in order of creation.
    int ID() const { return id_; }

protected:
    // Subclasses call this when a property changes.
    void Changed();

private:
    friend class TCollection;
    TCollection* collection_;
    int id_ = 0;
};

// An owned list of items of one class; the factory makes a new item for the collection.
class TCollection : public TPersistent, public TCollectionAccess {
public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection&)>;
    explicit TCollection(TItemFactory factory);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    int Count() const override { return static_cast<int>(items_.size()); }
    TCollectionItem* Item(int index) const override; // raises EListError when out of bounds
    TCollectionItem* Add() override;
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear() override;
    TCollectionItem* FindItemID(int id) const;

    // Called after items are added, removed, moved or changed (item: the changed one, or
    // nullptr for the collection as a whole), unless an update is in progress.
    std::function<void(TCollection& sender, TCollectionItem* item)> OnUpdate;
    void BeginUpdate();
    void EndUpdate();

protected:
    virtual void Update(TCollectionItem* item);

private:
    friend class TCollectionItem;
    void Changed(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int index);

    TItemFactory factory_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
    bool changedWhileUpdating_ = false;
};

// A collection whose items are all of class I (constructible from TCollection*).
template <class I>
class TCollectionOf : public TCollection {
public:
    TCollectionOf() : TCollection([](TCollection& c) { return std::make_unique<I>(&c); }) {}
    I* Items(int index) const { return static_cast<I*>(Item(index)); }
    I* AddItem() { return static_cast<I*>(Add()); }
};
