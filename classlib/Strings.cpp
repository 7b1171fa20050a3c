#include "classlib/Strings.h"

#include "classlib/Exception.h"

void TStrings::CheckIndex(int index, int limit)
{
    if (index < 0 || index >= limit)
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::Changed()
{
    if (updateCount_ > 0) {
        changedWhileUpdating_ = true;
        return;
    }
    if (OnChange)
        OnChange(*this);
}

void TStrings::BeginUpdate()
{
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0 && changedWhileUpdating_) {
        changedWhileUpdating_ = false;
        Changed();
    }
}

int TStrings::Add(const std::string& text, TPersistent* object)
{
    const int index = Count();
    Insert(index, text, object);
    return index;
}

int TStrings::IndexOf(const std::string& text) const
{
    for (int i = 0, n = Count(); i < n; ++i)
        if (Get(i) == text)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TPersistent* object) const
{
    for (int i = 0, n = Count(); i < n; ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

void TStrings::Move(int from, int to)
{
    if (from == to)
        return;
    CheckIndex(from, Count());
    CheckIndex(to, Count());
    BeginUpdate();
    const std::string text = Get(from);
    TPersistent* object = GetObject(from);
    PutObject(from, nullptr); // a list owning its objects must not free the one that moves
    Delete(from);
    Insert(to, text, object);
    EndUpdate();
}

void TStrings::Exchange(int a, int b)
{
    CheckIndex(a, Count());
    CheckIndex(b, Count());
    if (a == b)
        return;
    BeginUpdate();
    const std::string textA = Get(a);
    TPersistent* objectA = GetObject(a);
    Put(a, Get(b));
    PutObject(a, GetObject(b));
    Put(b, textA);
    PutObject(b, objectA);
    EndUpdate();
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0, n = Count(); i < n; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    SetLines(lines);
}

std::vector<std::string> TStrings::Lines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0, n = Count(); i < n; ++i)
        lines.push_back(Get(i));
    return lines;
}

void TStrings::SetLines(const std::vector<std::string>& lines)
{
    BeginUpdate();
    Clear();
    for (const auto& line : lines)
        Add(line);
    EndUpdate();
}

void TStrings::AddStrings(const TStrings& other)
{
    if (&other == this) {
        const TStringList copy = [&] {
            TStringList c;
            c.AddStrings(other);
            return c;
        }();
        AddStrings(copy);
        return;
    }
    BeginUpdate();
    for (int i = 0, n = other.Count(); i < n; ++i)
        Add(other.Get(i), other.GetObject(i));
    EndUpdate();
}

void TStrings::Assign(const TStrings& other)
{
    if (&other == this)
        return;
    BeginUpdate();
    Clear();
    AddStrings(other);
    EndUpdate();
}

std::string TStrings::Names(int index) const
{
    const std::string line = Get(index);
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const
{
    const std::string line = Get(index);
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStrings::IndexOfName(const std::string& name) const
{
    for (int i = 0, n = Count(); i < n; ++i) {
        const std::string line = Get(i);
        const auto eq = line.find('=');
        if (eq != std::string::npos && line.compare(0, eq, name) == 0 && eq == name.size())
            return i;
    }
    return -1;
}

std::string TStrings::Values(const std::string& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

// ---- TStringList ----

TStringList::TStringList(std::initializer_list<std::string> lines)
{
    for (const auto& line : lines)
        items_.push_back({line, nullptr});
}

TStringList::TStringList(const TStringList& other) : TStrings()
{
    items_ = other.items_;
}

TStringList& TStringList::operator=(const TStringList& other)
{
    Assign(other);
    return *this;
}

TStringList::~TStringList()
{
    if (ownsObjects_)
        for (auto& item : items_)
            delete item.object;
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index, Count());
    return items_[static_cast<std::size_t>(index)].text;
}

TPersistent* TStringList::GetObject(int index) const
{
    CheckIndex(index, Count());
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::Put(int index, const std::string& text)
{
    CheckIndex(index, Count());
    items_[static_cast<std::size_t>(index)].text = text;
    Changed();
}

void TStringList::PutObject(int index, TPersistent* object)
{
    CheckIndex(index, Count());
    items_[static_cast<std::size_t>(index)].object = object;
    Changed();
}

void TStringList::Insert(int index, const std::string& text, TPersistent* object)
{
    CheckIndex(index, Count() + 1);
    items_.insert(items_.begin() + index, TItem{text, object});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index, Count());
    TPersistent* object = items_[static_cast<std::size_t>(index)].object;
    items_.erase(items_.begin() + index);
    if (ownsObjects_)
        delete object;
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    std::vector<TItem> old;
    old.swap(items_);
    if (ownsObjects_)
        for (auto& item : old)
            delete item.object;
    Changed();
}
