#pragma once
// Published properties, readable and writable by name. Each class registers its properties
// once, one line per property; stored form descriptions and the skin engine go through it.
//
//   void RegisterButtonClasses(TClassRegistry& r) {
//       r.Register<TButton, TWinControl>("TButton")
//           .Str("Caption", &TControl::Caption, &TControl::SetCaption)
//           .Bool("Default", &TButton::Default, &TButton::SetDefault)
//           .Event("OnClick", &TControl::OnClick);
//   }
//
// Lookups follow the class chain (a TButton has every property of TWinControl).
#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Exception.h"
#include "classlib/Persistent.h"

enum class TTypeKind {
    tkInteger,     // any integer, read and written as int64
    tkEnumeration, // one value of a named enumeration (bool is the enumeration False, True)
    tkSet,         // a set of enumeration values, as a bit mask (bit n = value n)
    tkString,      // UTF-8 text
    tkFloat,       // double (single-precision properties round on write)
    tkClass,       // an object (a sub-object such as Font, or a reference such as Input)
    tkMethod,      // an event, bound to a published method of another object
    tkBinary,      // raw bytes (stored pictures, stored skins)
    tkStrings,     // a list of strings (Items.Strings, Lines.Strings)
    tkCollection,  // a collection of items, each with its own properties
};

class EPropertyError : public Exception {
    using Exception::Exception;
};

// The values of one enumeration type, in order; value i has ordinal i unless given.
struct TEnumInfo {
    std::string typeName;
    std::vector<std::pair<std::string, std::int64_t>> values;

    std::optional<std::int64_t> ValueOf(const std::string& name) const;
    std::optional<std::string> NameOf(std::int64_t value) const;
};
const TEnumInfo& BooleanEnumInfo(); // False = 0, True = 1

// A bound event: the object that publishes the method and the method's name.
struct TMethod {
    TPersistent* data = nullptr;
    std::string name;
    bool Assigned() const { return data != nullptr && !name.empty(); }
    bool operator==(const TMethod&) const = default;
};

// A collection is a list of items of one class, created by the collection itself.
class TCollectionAccess {
public:
    virtual ~TCollectionAccess() = default;
    virtual int Count() const = 0;
    virtual TPersistent* Item(int index) const = 0;
    virtual TPersistent* Add() = 0;
    virtual void Clear() = 0;
};

struct TPropInfo {
    std::string name;
    TTypeKind kind = TTypeKind::tkInteger;
    const TEnumInfo* enumInfo = nullptr;   // tkEnumeration, tkSet
    const std::type_info* classType = nullptr; // tkClass: the static type of the property
    bool isReference = false;              // tkClass: a reference to another component (Input = CDIn1)
    bool isSingle = false;                 // tkFloat: single precision

    // Exactly the pair that matches `kind` is set; a missing setter means read-only.
    std::function<std::int64_t(TPersistent*)> getOrdinal;
    std::function<void(TPersistent*, std::int64_t)> setOrdinal;
    std::function<std::string(TPersistent*)> getString;
    std::function<void(TPersistent*, const std::string&)> setString;
    std::function<double(TPersistent*)> getFloat;
    std::function<void(TPersistent*, double)> setFloat;
    std::function<TPersistent*(TPersistent*)> getObject;
    std::function<void(TPersistent*, TPersistent*)> setObject;
    std::function<std::vector<std::uint8_t>(TPersistent*)> getBinary;
    std::function<void(TPersistent*, const std::vector<std::uint8_t>&)> setBinary;
    std::function<std::vector<std::string>(TPersistent*)> getStrings;
    std::function<void(TPersistent*, const std::vector<std::string>&)> setStrings;
    std::function<TCollectionAccess*(TPersistent*)> collection;
    // tkMethod: `bind` turns a published method's std::any (holding the method's own
    // std::function type) into the event; it throws EPropertyError when the types differ.
    std::function<void(TPersistent*, const std::any& handler)> bindEvent;
    std::function<void(TPersistent*)> clearEvent;
    std::function<bool(TPersistent*)> eventAssigned;
};

// A published method: makes a std::function of the method's own signature bound to an object.
struct TMethodInfo {
    std::string name;
    std::function<std::any(TPersistent* self)> bind;
};

class TClassInfo {
public:
    std::string name;
    std::type_index type = typeid(void);
    const TClassInfo* parent = nullptr;
    // Creates an instance owned by `owner` (a component class); empty for abstract classes.
    std::function<TComponent*(TComponent* owner)> create;

    const TPropInfo* FindProperty(const std::string& name) const;     // follows the chain
    const TMethodInfo* FindMethod(const std::string& name) const;     // follows the chain
    bool InheritsFrom(const TClassInfo& other) const;
    // Every property, the root class's first.
    std::vector<const TPropInfo*> Properties() const;

    std::vector<std::unique_ptr<TPropInfo>> props;
    std::vector<std::unique_ptr<TMethodInfo>> methods;
};

template <class T>
class TClassBuilder;

// The classes known by name. Filled once at start (each module adds its classes through a
// Register...Classes function), read-only afterwards.
class TClassRegistry {
public:
    template <class T, class Parent = void>
    TClassBuilder<T> Register(const std::string& name);

    const TClassInfo* Find(const std::string& name) const;
    const TClassInfo* Find(const std::type_info& type) const;
    // The most derived registered class of an object (walks typeid; nullptr when unknown).
    const TClassInfo* ClassOf(const TPersistent* object) const;

private:
    TClassInfo& Add(const std::string& name, std::type_index type, const std::type_info* parent);
    std::map<std::string, std::unique_ptr<TClassInfo>> byName_;
    std::map<std::type_index, TClassInfo*> byType_;
    template <class T>
    friend class TClassBuilder;
};

// The program's registry; the class library registers its own classes on first use.
TClassRegistry& Classes();

// ---- Access by name -------------------------------------------------------------------
// All of these throw EPropertyError naming the property when it does not exist or has
// another kind. `path` may name a sub-object's property ("Font.Name").
const TPropInfo* FindPropInfo(const TPersistent* object, const std::string& path);
bool HasProperty(const TPersistent* object, const std::string& path);
std::int64_t GetOrdProp(TPersistent* object, const std::string& path);
void SetOrdProp(TPersistent* object, const std::string& path, std::int64_t value);
std::string GetEnumProp(TPersistent* object, const std::string& path);          // value name
void SetEnumProp(TPersistent* object, const std::string& path, const std::string& value);
std::vector<std::string> GetSetProp(TPersistent* object, const std::string& path); // names
void SetSetProp(TPersistent* object, const std::string& path, const std::vector<std::string>& names);
std::string GetStrProp(TPersistent* object, const std::string& path);
void SetStrProp(TPersistent* object, const std::string& path, const std::string& value);
double GetFloatProp(TPersistent* object, const std::string& path);
void SetFloatProp(TPersistent* object, const std::string& path, double value);
TPersistent* GetObjectProp(TPersistent* object, const std::string& path);
void SetObjectProp(TPersistent* object, const std::string& path, TPersistent* value);
TMethod GetMethodProp(TPersistent* object, const std::string& path);
// Binds the event to data's published method `method.name`; an empty TMethod clears it.
void SetMethodProp(TPersistent* object, const std::string& path, const TMethod& method);
// Any kind as text, the way a stored description writes it: 12, clRed, [a, b], 'text', 0.6.
std::string GetPropText(TPersistent* object, const std::string& path);
void SetPropText(TPersistent* object, const std::string& path, const std::string& text);

// ---- The builder ------------------------------------------------------------------------
template <class T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    template <class C, class V>
    TClassBuilder& Int(const char* name, V (C::*get)() const, void (C::*set)(V) = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkInteger);
        p.getOrdinal = [get](TPersistent* o) { return static_cast<std::int64_t>((Self(o)->*get)()); };
        if (set)
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { (Self(o)->*set)(static_cast<V>(v)); };
        return *this;
    }
    template <class C>
    TClassBuilder& Bool(const char* name, bool (C::*get)() const, void (C::*set)(bool) = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkEnumeration);
        p.enumInfo = &BooleanEnumInfo();
        p.getOrdinal = [get](TPersistent* o) { return std::int64_t{(Self(o)->*get)()}; };
        if (set)
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { (Self(o)->*set)(v != 0); };
        return *this;
    }
    template <class C, class E>
    TClassBuilder& Enum(const char* name, const TEnumInfo& values, E (C::*get)() const, void (C::*set)(E) = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkEnumeration);
        p.enumInfo = &values;
        p.getOrdinal = [get](TPersistent* o) { return static_cast<std::int64_t>((Self(o)->*get)()); };
        if (set)
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { (Self(o)->*set)(static_cast<E>(v)); };
        return *this;
    }
    // S is any type convertible to and from a bit mask (an integer type, or a set class with
    // Mask() and FromMask()).
    template <class C, class S>
    TClassBuilder& Set(const char* name, const TEnumInfo& values, S (C::*get)() const, void (C::*set)(S) = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkSet);
        p.enumInfo = &values;
        p.getOrdinal = [get](TPersistent* o) { return ToMask((Self(o)->*get)()); };
        if (set)
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { (Self(o)->*set)(FromMask<S>(v)); };
        return *this;
    }
    template <class C, class S>
    TClassBuilder& Str(const char* name, S (C::*get)() const, void (C::*set)(S) = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkString);
        p.getString = [get](TPersistent* o) { return std::string((Self(o)->*get)()); };
        if (set)
            p.setString = [set](TPersistent* o, const std::string& v) { (Self(o)->*set)(v); };
        return *this;
    }
    template <class C, class V>
    TClassBuilder& Float(const char* name, V (C::*get)() const, void (C::*set)(V) = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkFloat);
        p.isSingle = sizeof(V) == sizeof(float);
        p.getFloat = [get](TPersistent* o) { return static_cast<double>((Self(o)->*get)()); };
        if (set)
            p.setFloat = [set](TPersistent* o, double v) { (Self(o)->*set)(static_cast<V>(v)); };
        return *this;
    }
    // A sub-object the class owns (Font, Picture, Items): the setter, if any, copies from the
    // given object.
    template <class C, class O>
    TClassBuilder& Object(const char* name, O* (C::*get)() const, void (C::*set)(O*) = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkClass);
        p.classType = &typeid(O);
        p.getObject = [get](TPersistent* o) -> TPersistent* { return (Self(o)->*get)(); };
        if (set)
            p.setObject = [set](TPersistent* o, TPersistent* v) { (Self(o)->*set)(CastTo<O>(v)); };
        return *this;
    }
    // A reference to another component, written by name in stored descriptions.
    template <class C, class O>
    TClassBuilder& Ref(const char* name, O* (C::*get)() const, void (C::*set)(O*))
    {
        Object(name, get, set);
        info_.props.back()->isReference = true;
        return *this;
    }
    // An event: a std::function member. Any published method whose std::function type is
    // the same can be bound to it.
    template <class C, class F>
    TClassBuilder& Event(const char* name, F C::*field)
    {
        auto& p = Add(name, TTypeKind::tkMethod);
        const std::string propName = name;
        p.bindEvent = [field, propName](TPersistent* o, const std::any& h) {
            const F* f = std::any_cast<F>(&h);
            if (!f)
                throw EPropertyError("Method does not fit event " + propName);
            Self(o)->*field = *f;
        };
        p.clearEvent = [field](TPersistent* o) { Self(o)->*field = nullptr; };
        p.eventAssigned = [field](TPersistent* o) { return static_cast<bool>(Self(o)->*field); };
        return *this;
    }
    template <class C>
    TClassBuilder& Binary(const char* name, std::vector<std::uint8_t> (C::*get)() const,
                          void (C::*set)(const std::vector<std::uint8_t>&))
    {
        auto& p = Add(name, TTypeKind::tkBinary);
        p.getBinary = [get](TPersistent* o) { return (Self(o)->*get)(); };
        p.setBinary = [set](TPersistent* o, const std::vector<std::uint8_t>& v) { (Self(o)->*set)(v); };
        return *this;
    }
    template <class C>
    TClassBuilder& Strings(const char* name, std::vector<std::string> (C::*get)() const,
                           void (C::*set)(const std::vector<std::string>&))
    {
        auto& p = Add(name, TTypeKind::tkStrings);
        p.getStrings = [get](TPersistent* o) { return (Self(o)->*get)(); };
        p.setStrings = [set](TPersistent* o, const std::vector<std::string>& v) { (Self(o)->*set)(v); };
        return *this;
    }
    template <class C>
    TClassBuilder& Collection(const char* name, TCollectionAccess* (C::*get)())
    {
        auto& p = Add(name, TTypeKind::tkCollection);
        p.collection = [get](TPersistent* o) { return (Self(o)->*get)(); };
        return *this;
    }
    // A published method, bindable to events by name: void (T::*)(Args...).
    template <class C, class... Args>
    TClassBuilder& Method(const char* name, void (C::*method)(Args...))
    {
        auto m = std::make_unique<TMethodInfo>();
        m->name = name;
        m->bind = [method](TPersistent* self) -> std::any {
            C* obj = Self(self);
            return std::function<void(Args...)>([obj, method](Args... args) { (obj->*method)(args...); });
        };
        info_.methods.push_back(std::move(m));
        return *this;
    }

    const TClassInfo& Info() const { return info_; }

private:
    static T* Self(TPersistent* o) { return static_cast<T*>(o); }
    template <class O>
    static O* CastTo(TPersistent* v)
    {
        if (!v)
            return nullptr;
        O* result = dynamic_cast<O*>(v);
        if (!result)
            throw EPropertyError("Invalid property value");
        return result;
    }
    template <class S>
    static std::int64_t ToMask(const S& s)
    {
        if constexpr (std::is_integral_v<S> || std::is_enum_v<S>)
            return static_cast<std::int64_t>(s);
        else
            return static_cast<std::int64_t>(s.Mask());
    }
    template <class S>
    static S FromMask(std::int64_t v)
    {
        if constexpr (std::is_integral_v<S> || std::is_enum_v<S>)
            return static_cast<S>(v);
        else
            return S::FromMask(static_cast<std::uint64_t>(v));
    }
    TPropInfo& Add(const char* name, TTypeKind kind)
    {
        auto p = std::make_unique<TPropInfo>();
        p->name = name;
        p->kind = kind;
        info_.props.push_back(std::move(p));
        return *info_.props.back();
    }

    TClassInfo& info_;
};

template <class T, class Parent>
TClassBuilder<T> TClassRegistry::Register(const std::string& name)
{
    static_assert(std::is_base_of_v<TPersistent, T>);
    const std::type_info* parent = nullptr;
    if constexpr (!std::is_void_v<Parent>) {
        static_assert(std::is_base_of_v<Parent, T>);
        parent = &typeid(Parent);
    }
    TClassInfo& info = Add(name, typeid(T), parent);
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TComponent*>)
        info.create = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return TClassBuilder<T>(info);
}
