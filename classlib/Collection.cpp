#include "classlib/Collection.h"

#include <algorithm>
#include <string>

#include "classlib/Exception.h"

int TCollectionItem::Index() const
{
    if (!collection_)
        return -1;
    const auto& items = collection_->items_;
    auto it = std::find_if(items.begin(), items.end(), [this](const auto& p) { return p.get() == this; });
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    if (collection_)
        collection_->MoveItem(this, index);
}

void TCollectionItem::Changed()
{
    if (collection_)
        collection_->Changed(this);
}

TCollection::TCollection(TItemFactory factory) : factory_(std::move(factory)) {}

TCollection::~TCollection()
{
    updateCount_ = 1; // no notifications while going away
    items_.clear();
}

TCollectionItem* TCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)].get();
}

TCollectionItem* TCollection::Add()
{
    return Insert(Count());
}

TCollectionItem* TCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    std::unique_ptr<TCollectionItem> item = factory_(*this);
    item->collection_ = this;
    item->id_ = nextId_++;
    TCollectionItem* raw = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    Changed(nullptr);
    return raw;
}

void TCollection::Delete(int index)
{
    Item(index); // bounds check
    items_.erase(items_.begin() + index);
    Changed(nullptr);
}

void TCollection::Clear()
{
    if (items_.empty())
        return;
    items_.clear();
    Changed(nullptr);
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (const auto& item : items_)
        if (item->id_ == id)
            return item.get();
    return nullptr;
}

void TCollection::BeginUpdate()
{
    ++updateCount_;
}

void TCollection::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0 && changedWhileUpdating_) {
        changedWhileUpdating_ = false;
        Changed(nullptr);
    }
}

void TCollection::Update(TCollectionItem* item)
{
    if (OnUpdate)
        OnUpdate(*this, item);
}

void TCollection::Changed(TCollectionItem* item)
{
    if (updateCount_ > 0) {
        changedWhileUpdating_ = true;
        return;
    }
    Update(item);
}

void TCollection::MoveItem(TCollectionItem* item, int index)
{
    const int from = item->Index();
    if (from < 0)
        return;
    index = std::clamp(index, 0, Count() - 1);
    if (index == from)
        return;
    auto owned = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + index, std::move(owned));
    Changed(nullptr);
}
