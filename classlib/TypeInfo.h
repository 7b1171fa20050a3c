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
// Getters and setters are anything std::invoke can call with the object: member functions of
// the class or of a base (const or not, returning values or const references, setters taking
// values or const references) or lambdas taking T*. Leave the setter out for a read-only
// property. Modifiers apply to the property registered just before them:
//   .Int("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clBtnFace)
//
// Lookups follow the class chain (a TButton has every property of TWinControl). Class,
// property, method, field and enumeration value names compare without regard to ASCII case.
// A parent class must be registered before its subclasses; registering a name twice raises
// EPropertyError.
#include <any>
#include <cfloat>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
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

// The values of one enumeration type, in order. Also used for the names of integer values
// (colour names such as clRed) through TClassBuilder::Idents.
struct TEnumInfo {
    std::string typeName;
    std::vector<std::pair<std::string, std::int64_t>> values;

    std::optional<std::int64_t> ValueOf(const std::string& name) const; // any ASCII case
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

// What a published method binds to an event: a call that remembers which published method
// it is, so that GetMethodProp can tell the binding back.
template <class Sig>
struct TPublishedCall;
template <class... Args>
struct TPublishedCall<void(Args...)> {
    TPersistent* data = nullptr;
    std::string name;
    std::function<void(Args...)> call;
    void operator()(Args... args) const { call(std::forward<Args>(args)...); }
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
    const TEnumInfo* enumInfo = nullptr;   // tkEnumeration, tkSet; tkInteger: value names (Idents)
    const std::type_info* classType = nullptr; // tkClass: the static type of the property
    bool isReference = false;              // tkClass: a reference to another component (Input = CDIn1)
    bool isSingle = false;                 // tkFloat: single precision
    bool stored = true;                    // false: a description writer leaves it out
    std::int64_t minOrdinal = std::numeric_limits<std::int64_t>::min(); // tkInteger range
    std::int64_t maxOrdinal = std::numeric_limits<std::int64_t>::max();
    std::optional<std::int64_t> defaultOrdinal; // ordinal kinds: not written when equal

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
    // tkMethod: `bindEvent` turns a published method's std::any (holding the method's own
    // std::function type) into the event; it throws EPropertyError when the types differ.
    std::function<void(TPersistent*, const std::any& handler)> bindEvent;
    std::function<void(TPersistent*)> clearEvent;
    std::function<bool(TPersistent*)> eventAssigned;
    // The published method bound to the event; empty when unassigned or set from code.
    std::function<TMethod(TPersistent*)> getEvent;

    bool Writable() const;
};

// A published method: makes a std::function of the method's own signature bound to an object.
struct TMethodInfo {
    std::string name;
    std::function<std::any(TPersistent* self)> bind;
};

// A published field: a component pointer member that a stored description fills with the
// component of the same name.
struct TFieldInfo {
    std::string name;
    const std::type_info* classType = nullptr;
    // Raises EPropertyError when `value` is not of the field's class.
    std::function<void(TPersistent* self, TComponent* value)> set;
    std::function<TComponent*(TPersistent* self)> get;
};

class TClassInfo {
public:
    std::string name;
    std::type_index type = typeid(void);
    const TClassInfo* parent = nullptr;
    // Creates an instance owned by `owner` (a component class); empty for abstract classes.
    std::function<TComponent*(TComponent* owner)> create;
    // True when the object is of this class or a subclass.
    std::function<bool(const TPersistent*)> isInstance;

    const TPropInfo* FindProperty(const std::string& name) const;     // follows the chain
    const TMethodInfo* FindMethod(const std::string& name) const;     // follows the chain
    const TFieldInfo* FindField(const std::string& name) const;       // follows the chain
    bool InheritsFrom(const TClassInfo& other) const;
    // Every property, the root class's first.
    std::vector<const TPropInfo*> Properties() const;

    std::vector<std::unique_ptr<TPropInfo>> props;
    std::vector<std::unique_ptr<TMethodInfo>> methods;
    std::vector<std::unique_ptr<TFieldInfo>> fields;
};

template <class T>
class TClassBuilder;

// The classes known by name. Filled once at start (each module adds its classes through a
// Register...Classes function), read-only afterwards; lookups may come from any thread.
class TClassRegistry {
public:
    TClassRegistry() = default;
    TClassRegistry(const TClassRegistry&) = delete;
    TClassRegistry& operator=(const TClassRegistry&) = delete;

    template <class T, class Parent = void>
    TClassBuilder<T> Register(const std::string& name);

    const TClassInfo* Find(const std::string& name) const;
    const TClassInfo* Find(const std::type_info& type) const;
    // The most derived registered class of an object: its own class when registered,
    // otherwise the registered class nearest to it (nullptr when none fits).
    const TClassInfo* ClassOf(const TPersistent* object) const;

private:
    TClassInfo& Add(const std::string& name, std::type_index type, const std::type_info* parent);
    std::map<std::string, std::unique_ptr<TClassInfo>> byName_; // key: lower-case name
    std::map<std::type_index, TClassInfo*> byType_;
    mutable std::mutex cacheLock_;
    mutable std::map<std::type_index, const TClassInfo*> classOfCache_;
    template <class T>
    friend class TClassBuilder;
};

// The program's registry; the class library registers its own classes (TComponent, TStrings,
// TStringList, TCollection, TCollectionItem) on first use. Other modules add theirs through
// their Register...Classes functions, which the program calls at start.
TClassRegistry& Classes();
// What Classes() starts with; for a registry of one's own.
void RegisterClassLibraryClasses(TClassRegistry& registry);

// ---- Access by name -------------------------------------------------------------------
// All of these throw EPropertyError naming the property when it does not exist, has another
// kind, is read-only or the value does not fit (out of the property's range, not a value of
// its enumeration). `path` may name a sub-object's property ("Font.Name"). Lookups use the
// program's registry, Classes().
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
std::vector<std::uint8_t> GetBinaryProp(TPersistent* object, const std::string& path);
void SetBinaryProp(TPersistent* object, const std::string& path, const std::vector<std::uint8_t>& value);
std::vector<std::string> GetStringsProp(TPersistent* object, const std::string& path);
void SetStringsProp(TPersistent* object, const std::string& path, const std::vector<std::string>& lines);
TCollectionAccess* GetCollectionProp(TPersistent* object, const std::string& path);
// Any kind but collections as text: integers in decimal (or their value name, clRed),
// enumeration value names, sets as [a, b], strings as they are (no quotes), floats in the
// shortest form that reads back to the same value (0.6 for a single 0.6), objects as the
// referenced component's name (empty for none), events as the bound method's name, binary
// as hex digits, string lists as lines joined with CR LF.
std::string GetPropText(TPersistent* object, const std::string& path);
void SetPropText(TPersistent* object, const std::string& path, const std::string& text);

// Lenient reads for code that copes with classes lacking a property (the skin engine):
// the ordinal value, or `fallback` when the property is missing or not ordinal; the object
// as a T, or nullptr when the property is missing, not an object, unset or of another class.
std::int64_t GetOrdPropOr(TPersistent* object, const std::string& path, std::int64_t fallback);
template <class T>
T* GetObjectPropAs(TPersistent* object, const std::string& path)
{
    const TPropInfo* p = HasProperty(object, path) ? FindPropInfo(object, path) : nullptr;
    if (!p || p->kind != TTypeKind::tkClass)
        return nullptr;
    return dynamic_cast<T*>(GetObjectProp(object, path));
}

// The shortest decimal text that reads back to the same value (single: to the same float).
std::string FloatToText(double value, bool single);

// ---- The builder ------------------------------------------------------------------------
template <class T>
class TClassBuilder {
    template <class G>
    using Value = std::remove_cvref_t<std::invoke_result_t<G, T*>>;

public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Int(const char* name, G get, S set = nullptr)
    {
        using V = Value<G>;
        static_assert(std::is_integral_v<V>, "Int needs an integer getter");
        auto& p = Add(name, TTypeKind::tkInteger);
        p.minOrdinal = static_cast<std::int64_t>(std::numeric_limits<V>::min());
        if constexpr (std::is_unsigned_v<V> && sizeof(V) >= sizeof(std::int64_t))
            p.maxOrdinal = std::numeric_limits<std::int64_t>::max();
        else
            p.maxOrdinal = static_cast<std::int64_t>(std::numeric_limits<V>::max());
        p.getOrdinal = [get](TPersistent* o) { return static_cast<std::int64_t>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { std::invoke(set, Self(o), static_cast<V>(v)); };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Bool(const char* name, G get, S set = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkEnumeration);
        p.enumInfo = &BooleanEnumInfo();
        p.getOrdinal = [get](TPersistent* o) { return std::int64_t{static_cast<bool>(std::invoke(get, Self(o)))}; };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { std::invoke(set, Self(o), v != 0); };
        return *this;
    }
    // `values` must outlive the registry (a function-local static, typically).
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Enum(const char* name, const TEnumInfo& values, G get, S set = nullptr)
    {
        using E = Value<G>;
        auto& p = Add(name, TTypeKind::tkEnumeration);
        p.enumInfo = &values;
        p.getOrdinal = [get](TPersistent* o) { return static_cast<std::int64_t>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { std::invoke(set, Self(o), static_cast<E>(v)); };
        return *this;
    }
    // The getter's type is an integer type, or a set class with Mask() and FromMask()
    // (classlib/Set.h).
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Set(const char* name, const TEnumInfo& values, G get, S set = nullptr)
    {
        using V = Value<G>;
        auto& p = Add(name, TTypeKind::tkSet);
        p.enumInfo = &values;
        p.getOrdinal = [get](TPersistent* o) { return ToMask(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setOrdinal = [set](TPersistent* o, std::int64_t v) { std::invoke(set, Self(o), FromMask<V>(v)); };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Str(const char* name, G get, S set = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkString);
        p.getString = [get](TPersistent* o) { return std::string(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setString = [set](TPersistent* o, const std::string& v) { std::invoke(set, Self(o), v); };
        return *this;
    }
    // A float or double property; a float one is single precision: values round on write and
    // values beyond its range are refused.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Float(const char* name, G get, S set = nullptr)
    {
        using V = Value<G>;
        static_assert(std::is_floating_point_v<V>, "Float needs a float or double getter");
        auto& p = Add(name, TTypeKind::tkFloat);
        p.isSingle = std::is_same_v<V, float>;
        p.getFloat = [get](TPersistent* o) { return static_cast<double>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setFloat = [set](TPersistent* o, double v) { std::invoke(set, Self(o), static_cast<V>(v)); };
        return *this;
    }
    // A sub-object the class owns (Font, Picture, Items): the setter, if any, copies from the
    // given object. The getter returns a pointer to the object.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Object(const char* name, G get, S set = nullptr)
    {
        using O = std::remove_pointer_t<Value<G>>;
        static_assert(std::is_base_of_v<TPersistent, O>, "Object needs a getter returning a TPersistent pointer");
        auto& p = Add(name, TTypeKind::tkClass);
        p.classType = &typeid(O);
        p.getObject = [get](TPersistent* o) -> TPersistent* { return std::invoke(get, Self(o)); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setObject = [set](TPersistent* o, TPersistent* v) { std::invoke(set, Self(o), CastTo<O>(v)); };
        return *this;
    }
    // A reference to another component, written by name in stored descriptions.
    template <class G, class S>
    TClassBuilder& Ref(const char* name, G get, S set)
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
        p.getEvent = [field](TPersistent* o) -> TMethod {
            using Call = TPublishedCall<typename TSignature<F>::type>;
            if (const Call* c = (Self(o)->*field).template target<Call>())
                return TMethod{c->data, c->name};
            return {};
        };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Binary(const char* name, G get, S set = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkBinary);
        p.getBinary = [get](TPersistent* o) { return std::vector<std::uint8_t>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setBinary = [set](TPersistent* o, const std::vector<std::uint8_t>& v) { std::invoke(set, Self(o), v); };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Strings(const char* name, G get, S set = nullptr)
    {
        auto& p = Add(name, TTypeKind::tkStrings);
        p.getStrings = [get](TPersistent* o) { return std::vector<std::string>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) if (Has(set))
            p.setStrings = [set](TPersistent* o, const std::vector<std::string>& v) { std::invoke(set, Self(o), v); };
        return *this;
    }
    // The getter returns a pointer to the class's collection (a TCollectionAccess).
    template <class G>
    TClassBuilder& Collection(const char* name, G get)
    {
        auto& p = Add(name, TTypeKind::tkCollection);
        p.collection = [get](TPersistent* o) -> TCollectionAccess* { return std::invoke(get, Self(o)); };
        return *this;
    }
    // A published method, bindable to events by name: void (T::*)(Args...).
    template <class C, class... Args>
    TClassBuilder& Method(const char* name, void (C::*method)(Args...))
    {
        auto m = std::make_unique<TMethodInfo>();
        m->name = name;
        const std::string methodName = name;
        m->bind = [method, methodName](TPersistent* self) -> std::any {
            C* obj = Self(self);
            TPublishedCall<void(Args...)> call;
            call.data = self;
            call.name = methodName;
            call.call = [obj, method](Args... args) { (obj->*method)(std::forward<Args>(args)...); };
            return std::function<void(Args...)>(std::move(call));
        };
        info_.methods.push_back(std::move(m));
        return *this;
    }
    // A published field: `O* C::*field`, set to the created component named `name`.
    template <class C, class O>
    TClassBuilder& Field(const char* name, O* C::*field)
    {
        static_assert(std::is_base_of_v<TComponent, O>, "published fields hold components");
        auto f = std::make_unique<TFieldInfo>();
        f->name = name;
        f->classType = &typeid(O);
        const std::string fieldName = name;
        f->set = [field, fieldName](TPersistent* self, TComponent* value) {
            O* typed = dynamic_cast<O*>(value);
            if (value && !typed)
                throw EPropertyError("Field " + fieldName + " does not hold a component of that class");
            Self(self)->*field = typed;
        };
        f->get = [field](TPersistent* self) -> TComponent* { return Self(self)->*field; };
        info_.fields.push_back(std::move(f));
        return *this;
    }

    // ---- Modifiers of the last registered property ----
    // An ordinal value a description writer leaves out.
    TClassBuilder& Default(std::int64_t value)
    {
        Last().defaultOrdinal = value;
        return *this;
    }
    // Names for values of an integer property (colours: clRed, clBtnFace).
    TClassBuilder& Idents(const TEnumInfo& names)
    {
        Last().enumInfo = &names;
        return *this;
    }
    // The property is left out by description writers (it is stored another way).
    TClassBuilder& Stored(bool stored)
    {
        Last().stored = stored;
        return *this;
    }

    const TClassInfo& Info() const { return info_; }

private:
    template <class F>
    struct TSignature;
    template <class Sig>
    struct TSignature<std::function<Sig>> {
        using type = Sig;
    };

    static T* Self(TPersistent* o) { return static_cast<T*>(o); }
    template <class S>
    static bool Has(const S& set)
    {
        if constexpr (std::is_null_pointer_v<S>)
            return false;
        else if constexpr (std::is_member_pointer_v<S> || std::is_pointer_v<S>)
            return set != nullptr;
        else
            return true;
    }
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
        if (info_.FindProperty(name))
            throw EPropertyError("Property " + std::string(name) + " of " + info_.name + " is already registered");
        auto p = std::make_unique<TPropInfo>();
        p->name = name;
        p->kind = kind;
        info_.props.push_back(std::move(p));
        return *info_.props.back();
    }
    TPropInfo& Last()
    {
        if (info_.props.empty())
            throw EPropertyError("No property of " + info_.name + " to modify");
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
    info.isInstance = [](const TPersistent* o) { return dynamic_cast<const T*>(o) != nullptr; };
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TComponent*>)
        info.create = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return TClassBuilder<T>(info);
}
