#include "classlib/TypeInfo.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "classlib/Collection.h"
#include "classlib/Strings.h"

namespace {

std::string Lower(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

const char* KindText(TTypeKind kind)
{
    switch (kind) {
    case TTypeKind::tkInteger: return "an integer";
    case TTypeKind::tkEnumeration: return "an enumeration";
    case TTypeKind::tkSet: return "a set";
    case TTypeKind::tkString: return "a string";
    case TTypeKind::tkFloat: return "a float";
    case TTypeKind::tkClass: return "an object";
    case TTypeKind::tkMethod: return "an event";
    case TTypeKind::tkBinary: return "a binary";
    case TTypeKind::tkStrings: return "a string list";
    case TTypeKind::tkCollection: return "a collection";
    }
    return "an unknown";
}

std::string ClassNameOf(const TPersistent* object)
{
    const TClassInfo* info = Classes().ClassOf(object);
    return info ? info->name : std::string("an unregistered class");
}

// The object that holds the last property of `path`, and that property.
struct TResolved {
    TPersistent* target;
    const TPropInfo* prop;
};

TResolved Resolve(const TPersistent* object, const std::string& path)
{
    if (!object)
        throw EPropertyError("No object for property '" + path + "'");
    TPersistent* target = const_cast<TPersistent*>(object);
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = path.find('.', start);
        const std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const TClassInfo* info = Classes().ClassOf(target);
        const TPropInfo* prop = info ? info->FindProperty(part) : nullptr;
        if (!prop)
            throw EPropertyError("Unknown property '" + path + "' of " + ClassNameOf(object));
        if (dot == std::string::npos)
            return {target, prop};
        if (prop->kind != TTypeKind::tkClass || !prop->getObject)
            throw EPropertyError("Property '" + path.substr(0, dot) + "' of " + ClassNameOf(object) +
                                 " has no properties of its own");
        target = prop->getObject(target);
        if (!target)
            throw EPropertyError("Property '" + path.substr(0, dot) + "' of " + ClassNameOf(object) + " is not set");
        start = dot + 1;
    }
}

TResolved Expect(const TPersistent* object, const std::string& path, std::initializer_list<TTypeKind> kinds,
                 bool write)
{
    TResolved r = Resolve(object, path);
    bool ok = false;
    for (TTypeKind k : kinds)
        ok = ok || r.prop->kind == k;
    if (!ok)
        throw EPropertyError("Property '" + path + "' of " + ClassNameOf(object) + " is " + KindText(r.prop->kind) +
                             " property");
    if (write && !r.prop->Writable())
        throw EPropertyError("Property '" + path + "' of " + ClassNameOf(object) + " is read-only");
    return r;
}

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

std::optional<std::int64_t> ParseInteger(const std::string& text)
{
    std::int64_t value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    int base = 10;
    bool negative = false;
    if (begin != end && *begin == '-') {
        negative = true;
        ++begin;
    }
    if (begin != end && *begin == '$') {
        base = 16;
        ++begin;
    }
    if (begin == end || *begin == '-' || *begin == '+')
        return std::nullopt;
    std::uint64_t magnitude = 0;
    auto [p, ec] = std::from_chars(begin, end, magnitude, base);
    if (ec != std::errc() || p != end)
        return std::nullopt;
    if (base == 16 && !negative) {
        value = static_cast<std::int64_t>(magnitude); // $FFFFFFFFFFFFFFFF is -1, as written
        return value;
    }
    if (negative) {
        if (magnitude > static_cast<std::uint64_t>(INT64_MAX) + 1)
            return std::nullopt;
        return static_cast<std::int64_t>(0 - magnitude);
    }
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX))
        return std::nullopt;
    return static_cast<std::int64_t>(magnitude);
}

std::optional<double> ParseFloat(const std::string& text)
{
    // Digits, an optional point and exponent; no inf or nan.
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    double value = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

const char kHex[] = "0123456789ABCDEF";

std::vector<std::string> SplitSetText(const std::string& text)
{
    const std::string t = Trim(text);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        throw EPropertyError("Invalid set text '" + text + "'");
    std::vector<std::string> names;
    const std::string inner = Trim(t.substr(1, t.size() - 2));
    if (inner.empty())
        return names;
    std::size_t start = 0;
    for (;;) {
        const auto comma = inner.find(',', start);
        names.push_back(Trim(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return names;
}

} // namespace

// ---- TEnumInfo ----

std::optional<std::int64_t> TEnumInfo::ValueOf(const std::string& name) const
{
    for (const auto& [n, v] : values)
        if (SameName(n, name))
            return v;
    return std::nullopt;
}

std::optional<std::string> TEnumInfo::NameOf(std::int64_t value) const
{
    for (const auto& [n, v] : values)
        if (v == value)
            return n;
    return std::nullopt;
}

const TEnumInfo& BooleanEnumInfo()
{
    static const TEnumInfo info{"Boolean", {{"False", 0}, {"True", 1}}};
    return info;
}

bool TPropInfo::Writable() const
{
    switch (kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkSet: return static_cast<bool>(setOrdinal);
    case TTypeKind::tkString: return static_cast<bool>(setString);
    case TTypeKind::tkFloat: return static_cast<bool>(setFloat);
    case TTypeKind::tkClass: return static_cast<bool>(setObject);
    case TTypeKind::tkMethod: return static_cast<bool>(bindEvent);
    case TTypeKind::tkBinary: return static_cast<bool>(setBinary);
    case TTypeKind::tkStrings: return static_cast<bool>(setStrings);
    case TTypeKind::tkCollection: return static_cast<bool>(collection);
    }
    return false;
}

// ---- TClassInfo ----

const TPropInfo* TClassInfo::FindProperty(const std::string& propName) const
{
    for (const TClassInfo* c = this; c; c = c->parent)
        for (const auto& p : c->props)
            if (SameName(p->name, propName))
                return p.get();
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const std::string& methodName) const
{
    for (const TClassInfo* c = this; c; c = c->parent)
        for (const auto& m : c->methods)
            if (SameName(m->name, methodName))
                return m.get();
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const std::string& fieldName) const
{
    for (const TClassInfo* c = this; c; c = c->parent)
        for (const auto& f : c->fields)
            if (SameName(f->name, fieldName))
                return f.get();
    return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const
{
    for (const TClassInfo* c = this; c; c = c->parent)
        if (c == &other)
            return true;
    return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const
{
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->parent)
        chain.push_back(c);
    std::vector<const TPropInfo*> result;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const auto& p : (*it)->props)
            result.push_back(p.get());
    return result;
}

// ---- TClassRegistry ----

TClassInfo& TClassRegistry::Add(const std::string& name, std::type_index type, const std::type_info* parent)
{
    if (!TComponent::IsValidIdent(name))
        throw EPropertyError("'" + name + "' is not a valid class name");
    if (byName_.count(Lower(name)) || byType_.count(type))
        throw EPropertyError("Class " + name + " is already registered");
    const TClassInfo* parentInfo = nullptr;
    if (parent) {
        parentInfo = Find(*parent);
        if (!parentInfo)
            throw EPropertyError("The parent class of " + name + " is not registered");
    }
    auto info = std::make_unique<TClassInfo>();
    info->name = name;
    info->type = type;
    info->parent = parentInfo;
    TClassInfo& ref = *info;
    byName_[Lower(name)] = std::move(info);
    byType_[type] = &ref;
    std::lock_guard lock(cacheLock_);
    classOfCache_.clear();
    return ref;
}

const TClassInfo* TClassRegistry::Find(const std::string& name) const
{
    auto it = byName_.find(Lower(name));
    return it == byName_.end() ? nullptr : it->second.get();
}

const TClassInfo* TClassRegistry::Find(const std::type_info& type) const
{
    auto it = byType_.find(std::type_index(type));
    return it == byType_.end() ? nullptr : it->second;
}

const TClassInfo* TClassRegistry::ClassOf(const TPersistent* object) const
{
    if (!object)
        return nullptr;
    const std::type_index dynamicType(typeid(*object));
    if (const TClassInfo* exact = Find(typeid(*object)))
        return exact;
    std::lock_guard lock(cacheLock_);
    auto cached = classOfCache_.find(dynamicType);
    if (cached != classOfCache_.end())
        return cached->second;
    // The deepest registered class the object is an instance of.
    const TClassInfo* best = nullptr;
    int bestDepth = -1;
    for (const auto& [key, info] : byName_) {
        if (!info->isInstance || !info->isInstance(object))
            continue;
        int depth = 0;
        for (const TClassInfo* c = info->parent; c; c = c->parent)
            ++depth;
        if (depth > bestDepth) {
            best = info.get();
            bestDepth = depth;
        }
    }
    classOfCache_[dynamicType] = best;
    return best;
}

// ---- The class library's own classes ----

void RegisterClassLibraryClasses(TClassRegistry& r)
{
    if (r.Find("TComponent"))
        return;
    r.Register<TPersistent>("TPersistent");
    r.Register<TComponent, TPersistent>("TComponent")
        .Str("Name", &TComponent::Name, &TComponent::SetName)
        .Stored(false)
        .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
        .Default(0);
    r.Register<TStrings, TPersistent>("TStrings")
        .Strings("Strings", &TStrings::Lines, &TStrings::SetLines)
        .Str("Text", &TStrings::Text, &TStrings::SetText)
        .Stored(false);
    r.Register<TStringList, TStrings>("TStringList");
    r.Register<TCollectionItem, TPersistent>("TCollectionItem");
    r.Register<TCollection, TPersistent>("TCollection");
}

TClassRegistry& Classes()
{
    static TClassRegistry registry;
    static std::once_flag filled;
    std::call_once(filled, [] { RegisterClassLibraryClasses(registry); });
    return registry;
}

// ---- Access by name ----

const TPropInfo* FindPropInfo(const TPersistent* object, const std::string& path)
{
    return Resolve(object, path).prop;
}

bool HasProperty(const TPersistent* object, const std::string& path)
{
    try {
        Resolve(object, path);
        return true;
    } catch (const EPropertyError&) {
        return false;
    }
}

std::int64_t GetOrdProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkInteger, TTypeKind::tkEnumeration, TTypeKind::tkSet}, false);
    return r.prop->getOrdinal(r.target);
}

void SetOrdProp(TPersistent* object, const std::string& path, std::int64_t value)
{
    auto r = Expect(object, path, {TTypeKind::tkInteger, TTypeKind::tkEnumeration, TTypeKind::tkSet}, true);
    const TPropInfo& p = *r.prop;
    auto refuse = [&] {
        throw EPropertyError("Value " + std::to_string(value) + " does not fit property '" + path + "' of " +
                             ClassNameOf(object));
    };
    if (p.kind == TTypeKind::tkInteger && (value < p.minOrdinal || value > p.maxOrdinal))
        refuse();
    if (p.kind == TTypeKind::tkEnumeration && p.enumInfo && !p.enumInfo->NameOf(value))
        refuse();
    if (p.kind == TTypeKind::tkSet && p.enumInfo) {
        std::uint64_t allowed = 0;
        for (const auto& [n, v] : p.enumInfo->values)
            if (v >= 0 && v < 64)
                allowed |= std::uint64_t{1} << v;
        if (static_cast<std::uint64_t>(value) & ~allowed)
            refuse();
    }
    p.setOrdinal(r.target, value);
}

std::string GetEnumProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkEnumeration}, false);
    const std::int64_t value = r.prop->getOrdinal(r.target);
    auto name = r.prop->enumInfo ? r.prop->enumInfo->NameOf(value) : std::nullopt;
    return name ? *name : std::to_string(value);
}

void SetEnumProp(TPersistent* object, const std::string& path, const std::string& value)
{
    auto r = Expect(object, path, {TTypeKind::tkEnumeration}, true);
    auto v = r.prop->enumInfo ? r.prop->enumInfo->ValueOf(value) : std::nullopt;
    if (!v)
        throw EPropertyError("'" + value + "' is not a value of property '" + path + "' of " + ClassNameOf(object));
    r.prop->setOrdinal(r.target, *v);
}

std::vector<std::string> GetSetProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkSet}, false);
    const auto mask = static_cast<std::uint64_t>(r.prop->getOrdinal(r.target));
    std::vector<std::string> names;
    if (r.prop->enumInfo)
        for (const auto& [n, v] : r.prop->enumInfo->values)
            if (v >= 0 && v < 64 && (mask & (std::uint64_t{1} << v)))
                names.push_back(n);
    return names;
}

void SetSetProp(TPersistent* object, const std::string& path, const std::vector<std::string>& names)
{
    auto r = Expect(object, path, {TTypeKind::tkSet}, true);
    std::uint64_t mask = 0;
    for (const auto& name : names) {
        auto v = r.prop->enumInfo ? r.prop->enumInfo->ValueOf(name) : std::nullopt;
        if (!v || *v < 0 || *v >= 64)
            throw EPropertyError("'" + name + "' is not a value of property '" + path + "' of " +
                                 ClassNameOf(object));
        mask |= std::uint64_t{1} << *v;
    }
    r.prop->setOrdinal(r.target, static_cast<std::int64_t>(mask));
}

std::string GetStrProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkString}, false);
    return r.prop->getString(r.target);
}

void SetStrProp(TPersistent* object, const std::string& path, const std::string& value)
{
    auto r = Expect(object, path, {TTypeKind::tkString}, true);
    r.prop->setString(r.target, value);
}

double GetFloatProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkFloat}, false);
    return r.prop->getFloat(r.target);
}

void SetFloatProp(TPersistent* object, const std::string& path, double value)
{
    auto r = Expect(object, path, {TTypeKind::tkFloat}, true);
    if (!std::isfinite(value) || (r.prop->isSingle && std::fabs(value) > FLT_MAX))
        throw EPropertyError("Value " + FloatToText(value, false) + " does not fit property '" + path + "' of " +
                             ClassNameOf(object));
    r.prop->setFloat(r.target, value);
}

TPersistent* GetObjectProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkClass}, false);
    return r.prop->getObject(r.target);
}

void SetObjectProp(TPersistent* object, const std::string& path, TPersistent* value)
{
    auto r = Expect(object, path, {TTypeKind::tkClass}, true);
    try {
        r.prop->setObject(r.target, value);
    } catch (const EPropertyError&) {
        throw EPropertyError("A " + ClassNameOf(value) + " does not fit property '" + path + "' of " +
                             ClassNameOf(object));
    }
}

TMethod GetMethodProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkMethod}, false);
    return r.prop->getEvent ? r.prop->getEvent(r.target) : TMethod{};
}

void SetMethodProp(TPersistent* object, const std::string& path, const TMethod& method)
{
    auto r = Expect(object, path, {TTypeKind::tkMethod}, true);
    if (!method.Assigned()) {
        r.prop->clearEvent(r.target);
        return;
    }
    const TClassInfo* info = Classes().ClassOf(method.data);
    const TMethodInfo* m = info ? info->FindMethod(method.name) : nullptr;
    if (!m)
        throw EPropertyError("Unknown method '" + method.name + "' of " + ClassNameOf(method.data));
    try {
        r.prop->bindEvent(r.target, m->bind(method.data));
    } catch (const EPropertyError&) {
        throw EPropertyError("Method '" + method.name + "' does not fit event '" + path + "' of " +
                             ClassNameOf(object));
    }
}

std::vector<std::uint8_t> GetBinaryProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkBinary}, false);
    return r.prop->getBinary(r.target);
}

void SetBinaryProp(TPersistent* object, const std::string& path, const std::vector<std::uint8_t>& value)
{
    auto r = Expect(object, path, {TTypeKind::tkBinary}, true);
    r.prop->setBinary(r.target, value);
}

std::vector<std::string> GetStringsProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkStrings}, false);
    return r.prop->getStrings(r.target);
}

void SetStringsProp(TPersistent* object, const std::string& path, const std::vector<std::string>& lines)
{
    auto r = Expect(object, path, {TTypeKind::tkStrings}, true);
    r.prop->setStrings(r.target, lines);
}

TCollectionAccess* GetCollectionProp(TPersistent* object, const std::string& path)
{
    auto r = Expect(object, path, {TTypeKind::tkCollection}, false);
    return r.prop->collection(r.target);
}

std::int64_t GetOrdPropOr(TPersistent* object, const std::string& path, std::int64_t fallback)
{
    if (!HasProperty(object, path))
        return fallback;
    const TPropInfo* p = FindPropInfo(object, path);
    if (p->kind != TTypeKind::tkInteger && p->kind != TTypeKind::tkEnumeration && p->kind != TTypeKind::tkSet)
        return fallback;
    return GetOrdProp(object, path);
}

std::string FloatToText(double value, bool single)
{
    char buffer[64];
    std::to_chars_result res = single ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value))
                                      : std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, res.ptr);
    // Keep a point or exponent so the text reads back as a float.
    if (text.find_first_of(".eE") == std::string::npos && text.find_first_of("0123456789") != std::string::npos)
        text += ".0";
    return text;
}

std::string GetPropText(TPersistent* object, const std::string& path)
{
    auto r = Resolve(object, path);
    const TPropInfo& p = *r.prop;
    switch (p.kind) {
    case TTypeKind::tkInteger: {
        const std::int64_t v = p.getOrdinal(r.target);
        if (p.enumInfo)
            if (auto name = p.enumInfo->NameOf(v))
                return *name;
        return std::to_string(v);
    }
    case TTypeKind::tkEnumeration: return GetEnumProp(object, path);
    case TTypeKind::tkSet: {
        std::string text = "[";
        const auto names = GetSetProp(object, path);
        for (std::size_t i = 0; i < names.size(); ++i)
            text += (i ? ", " : "") + names[i];
        return text + "]";
    }
    case TTypeKind::tkString: return p.getString(r.target);
    case TTypeKind::tkFloat: return FloatToText(p.getFloat(r.target), p.isSingle);
    case TTypeKind::tkClass: {
        auto* c = dynamic_cast<TComponent*>(p.getObject(r.target));
        return c ? c->Name() : std::string();
    }
    case TTypeKind::tkMethod: return GetMethodProp(object, path).name;
    case TTypeKind::tkBinary: {
        std::string text;
        for (std::uint8_t b : p.getBinary(r.target)) {
            text += kHex[b >> 4];
            text += kHex[b & 15];
        }
        return text;
    }
    case TTypeKind::tkStrings: {
        TStringList list;
        list.SetLines(p.getStrings(r.target));
        return list.Text();
    }
    case TTypeKind::tkCollection: break;
    }
    throw EPropertyError("Property '" + path + "' of " + ClassNameOf(object) + " has no text form");
}

void SetPropText(TPersistent* object, const std::string& path, const std::string& text)
{
    auto r = Resolve(object, path);
    const TPropInfo& p = *r.prop;
    auto invalid = [&] {
        throw EPropertyError("'" + text + "' is not a valid value of property '" + path + "' of " +
                             ClassNameOf(object));
    };
    switch (p.kind) {
    case TTypeKind::tkInteger: {
        auto v = ParseInteger(Trim(text));
        if (!v && p.enumInfo)
            v = p.enumInfo->ValueOf(Trim(text));
        if (!v)
            invalid();
        SetOrdProp(object, path, *v);
        return;
    }
    case TTypeKind::tkEnumeration: SetEnumProp(object, path, Trim(text)); return;
    case TTypeKind::tkSet: SetSetProp(object, path, SplitSetText(text)); return;
    case TTypeKind::tkString: SetStrProp(object, path, text); return;
    case TTypeKind::tkFloat: {
        auto v = ParseFloat(Trim(text));
        if (!v)
            invalid();
        SetFloatProp(object, path, *v);
        return;
    }
    case TTypeKind::tkClass: {
        const std::string name = Trim(text);
        if (name.empty() || SameName(name, "nil")) {
            SetObjectProp(object, path, nullptr);
            return;
        }
        // A sibling of the object (a component of the same owner), or that owner.
        auto* self = dynamic_cast<TComponent*>(object);
        TComponent* root = self ? self->Owner() : nullptr;
        TComponent* found = root ? root->FindComponent(name) : nullptr;
        if (!found && root && SameName(root->Name(), name))
            found = root;
        if (!found)
            throw EPropertyError("Unknown component '" + name + "' for property '" + path + "' of " +
                                 ClassNameOf(object));
        SetObjectProp(object, path, found);
        return;
    }
    case TTypeKind::tkMethod: {
        auto* self = dynamic_cast<TComponent*>(object);
        TPersistent* data = self && self->Owner() ? static_cast<TPersistent*>(self->Owner()) : object;
        const std::string name = Trim(text);
        SetMethodProp(object, path, name.empty() ? TMethod{} : TMethod{data, name});
        return;
    }
    case TTypeKind::tkBinary: {
        std::vector<std::uint8_t> bytes;
        int high = -1;
        for (char c : text) {
            int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0) {
                if (c == ' ' || c == '\r' || c == '\n' || c == '\t')
                    continue;
                invalid();
            }
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
                high = -1;
            }
        }
        if (high >= 0)
            invalid();
        SetBinaryProp(object, path, bytes);
        return;
    }
    case TTypeKind::tkStrings: {
        TStringList list;
        list.SetText(text);
        SetStringsProp(object, path, list.Lines());
        return;
    }
    case TTypeKind::tkCollection: break;
    }
    throw EPropertyError("Property '" + path + "' of " + ClassNameOf(object) + " has no text form");
}
