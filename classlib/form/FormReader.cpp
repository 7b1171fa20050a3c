#include "classlib/form/FormReader.h"

#include "classlib/TypeInfo.h"
#include "classlib/form/FormParser.h"

// The reader is a friend of TComponent (it sets csLoading and csReading).
class TFormReader {
public:
    explicit TFormReader(TComponent& root) : root_(root) {}

    void Read(const TFormObject& description)
    {
        const TClassInfo* info = Classes().Find(description.className);
        if (!info)
            throw EFormError(description.line, "unknown class '" + description.className + "'");
        if (!info->isInstance || !info->isInstance(&root_)) {
            const TClassInfo* actual = Classes().ClassOf(&root_);
            throw EFormError(description.line, "a " + (actual ? actual->name : std::string("component")) +
                                                   " cannot be read as a " + info->name);
        }
        rootInfo_ = info;
        root_.state_.Include(csLoading);
        try {
            Guard(description.line, [&] { root_.SetName(description.name); });
            root_.state_.Include(csReading);
            SetProperties(&root_, description.properties);
            root_.state_.Exclude(csReading);
            for (const TFormObject& child : description.children)
                ReadComponent(child, &root_);
            ResolveReferences();
        } catch (...) {
            root_.state_.Exclude(csReading);
            root_.state_.Exclude(csLoading);
            for (TComponent* c : created_) {
                c->state_.Exclude(csReading);
                c->state_.Exclude(csLoading);
            }
            throw;
        }
        for (TComponent* c : created_) {
            c->Loaded();
            c->state_.Exclude(csLoading);
        }
        root_.Loaded();
        root_.state_.Exclude(csLoading);
    }

private:
    struct TPendingReference {
        TPersistent* object;
        std::string path;
        std::string name;
        int line;
    };

    // Runs `step`, turning the class library's errors about names and values into errors
    // that name the line. Other errors (a component's own) pass unchanged.
    template <class F>
    static void Guard(int line, F step)
    {
        try {
            step();
        } catch (const EFormError&) {
            throw;
        } catch (const EPropertyError& e) {
            throw EFormError(line, LowerFirst(e.Message()));
        } catch (const EComponentError& e) {
            throw EFormError(line, LowerFirst(e.Message()));
        } catch (const EListError& e) {
            throw EFormError(line, LowerFirst(e.Message()));
        }
    }

    static std::string LowerFirst(std::string text)
    {
        if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && !(text[1] >= 'A' && text[1] <= 'Z'))
            text[0] = static_cast<char>(text[0] - 'A' + 'a');
        return text;
    }

    void ReadComponent(const TFormObject& o, TComponent* enclosing)
    {
        const TClassInfo* info = Classes().Find(o.className);
        if (!info)
            throw EFormError(o.line, "unknown class '" + o.className + "'");
        if (!info->create)
            throw EFormError(o.line, "class " + info->name + " cannot be created");
        TComponent* c = info->create(&root_); // its own errors pass unchanged
        created_.push_back(c);
        c->state_.Include(csLoading);
        c->state_.Include(csReading);
        Guard(o.line, [&] {
            c->SetName(o.name);
            if (const TFieldInfo* field = rootInfo_->FindField(o.name))
                field->set(&root_, c);
        });
        c->SetParentComponent(enclosing);
        SetProperties(c, o.properties);
        c->state_.Exclude(csReading);
        for (const TFormObject& child : o.children)
            ReadComponent(child, c);
    }

    void SetProperties(TPersistent* object, const std::vector<TFormProperty>& properties)
    {
        for (const TFormProperty& p : properties)
            Guard(p.line, [&] { SetProperty(object, p); });
    }

    static const char* ValueText(TFormValueKind kind)
    {
        switch (kind) {
        case TFormValueKind::Integer: return "an integer";
        case TFormValueKind::Float: return "a number";
        case TFormValueKind::String: return "a string";
        case TFormValueKind::Ident: return "a name";
        case TFormValueKind::Set: return "a set";
        case TFormValueKind::List: return "a list of strings";
        case TFormValueKind::Binary: return "binary data";
        case TFormValueKind::Collection: return "a collection";
        }
        return "a value";
    }

    void SetProperty(TPersistent* object, const TFormProperty& p)
    {
        const TPropInfo* info = FindPropInfo(object, p.name);
        const TFormValue& v = p.value;
        auto mismatch = [&]() {
            const TClassInfo* c = Classes().ClassOf(object);
            throw EFormError(p.line, std::string(ValueText(v.kind)) + " does not fit property '" + p.name + "' of " +
                                         (c ? c->name : std::string("the object")));
        };
        switch (info->kind) {
        case TTypeKind::tkInteger:
            if (v.kind == TFormValueKind::Integer)
                SetOrdProp(object, p.name, v.integer);
            else if (v.kind == TFormValueKind::Ident)
                SetPropText(object, p.name, v.text);
            else
                mismatch();
            return;
        case TTypeKind::tkEnumeration:
            if (v.kind != TFormValueKind::Ident)
                mismatch();
            SetEnumProp(object, p.name, v.text);
            return;
        case TTypeKind::tkSet:
            if (v.kind != TFormValueKind::Set)
                mismatch();
            SetSetProp(object, p.name, v.names);
            return;
        case TTypeKind::tkString:
            if (v.kind != TFormValueKind::String)
                mismatch();
            SetStrProp(object, p.name, v.text);
            return;
        case TTypeKind::tkFloat:
            if (v.kind == TFormValueKind::Float)
                SetFloatProp(object, p.name, v.number);
            else if (v.kind == TFormValueKind::Integer)
                SetFloatProp(object, p.name, static_cast<double>(v.integer));
            else
                mismatch();
            return;
        case TTypeKind::tkClass:
            if (v.kind != TFormValueKind::Ident)
                mismatch();
            if (!info->Writable())
                SetObjectProp(object, p.name, nullptr); // raises the read-only error
            if (SameName(v.text, "nil"))
                SetObjectProp(object, p.name, nullptr);
            else
                pending_.push_back({object, p.name, v.text, p.line});
            return;
        case TTypeKind::tkMethod:
            if (v.kind != TFormValueKind::Ident)
                mismatch();
            SetMethodProp(object, p.name, TMethod{&root_, v.text});
            return;
        case TTypeKind::tkBinary:
            if (v.kind != TFormValueKind::Binary)
                mismatch();
            SetBinaryProp(object, p.name, v.bytes);
            return;
        case TTypeKind::tkStrings:
            if (v.kind != TFormValueKind::List)
                mismatch();
            SetStringsProp(object, p.name, v.names);
            return;
        case TTypeKind::tkCollection: {
            if (v.kind != TFormValueKind::Collection)
                mismatch();
            TCollectionAccess* collection = GetCollectionProp(object, p.name);
            if (!collection)
                throw EFormError(p.line, "property '" + p.name + "' has no collection");
            collection->Clear();
            for (const TFormItem& item : v.items) {
                TPersistent* added = collection->Add();
                if (!Classes().ClassOf(added))
                    throw EFormError(item.line, "the items of '" + p.name + "' have no registered class");
                SetProperties(added, item.properties);
            }
            return;
        }
        }
    }

    void ResolveReferences()
    {
        for (const TPendingReference& r : pending_) {
            TComponent* target = root_.FindComponent(r.name);
            if (!target && SameName(root_.Name(), r.name))
                target = &root_;
            if (!target)
                throw EFormError(r.line, "unknown component '" + r.name + "' for property '" + r.path + "'");
            Guard(r.line, [&] { SetObjectProp(r.object, r.path, target); });
        }
    }

    TComponent& root_;
    const TClassInfo* rootInfo_ = nullptr;
    std::vector<TComponent*> created_;
    std::vector<TPendingReference> pending_;
};

void ReadForm(const TFormObject& description, TComponent& root)
{
    TFormReader(root).Read(description);
}

void ReadFormText(std::string_view text, TComponent& root)
{
    ReadForm(ParseFormText(text), root);
}
