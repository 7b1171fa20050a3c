#include "classlib/form/FormWriter.h"

#include <algorithm>
#include <set>

#include "classlib/TypeInfo.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

// Decodes one UTF-8 sequence; invalid bytes come out as themselves (U+0080..U+00FF).
std::uint32_t NextCodePoint(const std::string& s, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) {
        ++i;
        return b;
    }
    std::uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += n;
    return cp;
}

class TWriter {
public:
    explicit TWriter(TComponent& root) : root_(root) {}

    std::string Write()
    {
        WriteComponent(root_, 0);
        return out_;
    }

private:
    void Line(int indent, const std::string& text)
    {
        out_.append(static_cast<std::size_t>(indent) * 2, ' ');
        out_ += text;
        out_ += "\r\n";
    }

    void WriteComponent(TComponent& c, int indent)
    {
        const TClassInfo* info = Classes().ClassOf(&c);
        if (!info)
            throw EPropertyError("Component " + c.Name() + " has no registered class");
        written_.insert(&c);
        Line(indent, "object " + c.Name() + ": " + info->name);
        WriteProperties(&c, "", indent + 1, 0);
        for (int i = 0; i < root_.ComponentCount(); ++i) {
            TComponent* child = root_.Components(i);
            if (child->Name().empty() || written_.count(child))
                continue;
            TComponent* parent = child->GetParentComponent();
            const bool known = parent && (parent == &root_ || parent->Owner() == &root_) && !parent->Name().empty();
            if (parent == &c || (&c == &root_ && !known))
                WriteComponent(*child, indent + 1);
        }
        Line(indent, "end");
    }

    void WriteProperties(TPersistent* object, const std::string& prefix, int indent, int depth)
    {
        const TClassInfo* info = Classes().ClassOf(object);
        if (!info || depth > 8)
            return;
        for (const TPropInfo* p : info->Properties()) {
            if (!p->stored)
                continue;
            const std::string path = prefix + p->name;
            if (p->kind == TTypeKind::tkClass && !p->isReference) {
                // A sub-object: its own properties, by dotted path.
                if (TPersistent* sub = p->getObject(object); sub && sub != object)
                    WriteProperties(sub, path + ".", indent, depth + 1);
                continue;
            }
            if (!p->Writable())
                continue;
            WriteProperty(object, *p, path, indent, depth);
        }
    }

    void WriteProperty(TPersistent* object, const TPropInfo& p, const std::string& path, int indent, int depth)
    {
        const std::string head = path + " = ";
        switch (p.kind) {
        case TTypeKind::tkInteger:
        case TTypeKind::tkEnumeration:
        case TTypeKind::tkSet:
            if (p.defaultOrdinal && p.getOrdinal(object) == *p.defaultOrdinal)
                return;
            Line(indent, head + GetPropText(object, p.name));
            return;
        case TTypeKind::tkString: {
            const std::string text = p.getString(object);
            if (!text.empty())
                Line(indent, head + QuoteFormString(text));
            return;
        }
        case TTypeKind::tkFloat: Line(indent, head + FloatToText(p.getFloat(object), p.isSingle)); return;
        case TTypeKind::tkClass: {
            auto* target = dynamic_cast<TComponent*>(p.getObject(object));
            if (target && !target->Name().empty() && (target == &root_ || target->Owner() == &root_))
                Line(indent, head + target->Name());
            return;
        }
        case TTypeKind::tkMethod: {
            const TMethod m = p.getEvent ? p.getEvent(object) : TMethod{};
            if (m.Assigned() && m.data == &root_)
                Line(indent, head + m.name);
            return;
        }
        case TTypeKind::tkBinary: {
            const auto bytes = p.getBinary(object);
            if (bytes.empty())
                return;
            Line(indent, head + "{");
            for (std::size_t i = 0; i < bytes.size(); i += 32) {
                std::string hex;
                for (std::size_t k = i; k < std::min(bytes.size(), i + 32); ++k) {
                    hex += kHex[bytes[k] >> 4];
                    hex += kHex[bytes[k] & 15];
                }
                if (i + 32 >= bytes.size())
                    hex += "}";
                Line(indent + 1, hex);
            }
            return;
        }
        case TTypeKind::tkStrings: {
            const auto lines = p.getStrings(object);
            if (lines.empty())
                return;
            Line(indent, head + "(");
            for (std::size_t i = 0; i < lines.size(); ++i)
                Line(indent + 1, QuoteFormString(lines[i]) + (i + 1 == lines.size() ? ")" : ""));
            return;
        }
        case TTypeKind::tkCollection: {
            TCollectionAccess* c = p.collection(object);
            if (!c || c->Count() == 0)
                return;
            Line(indent, head + "<");
            for (int i = 0; i < c->Count(); ++i) {
                Line(indent + 1, "item");
                WriteProperties(c->Item(i), "", indent + 2, depth + 1);
                Line(indent + 1, i + 1 == c->Count() ? "end>" : "end");
            }
            return;
        }
        }
    }

    TComponent& root_;
    std::string out_;
    std::set<const TComponent*> written_;
};

} // namespace

std::string QuoteFormString(const std::string& utf8)
{
    if (utf8.empty())
        return "''";
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t cp = NextCodePoint(utf8, i);
        if (cp >= 0x20 && cp < 0x7F) {
            if (!quoted) {
                out += '\'';
                quoted = true;
            }
            out += static_cast<char>(cp);
            if (cp == '\'')
                out += '\'';
        } else {
            if (quoted) {
                out += '\'';
                quoted = false;
            }
            out += "#" + std::to_string(cp);
        }
    }
    if (quoted)
        out += '\'';
    return out;
}

std::string WriteFormText(TComponent& root)
{
    return TWriter(root).Write();
}
