#include "classlib/form/FormParser.h"

#include <charconv>
#include <cmath>

namespace {

enum class TTok { End, Ident, Integer, Float, String, Binary, Symbol };

struct TToken {
    TTok kind = TTok::End;
    int line = 1;
    std::string text; // Ident, Symbol (one character), String (decoded UTF-8)
    std::int64_t integer = 0;
    double number = 0;
    std::vector<std::uint8_t> bytes;
    bool overflow = false; // an integer that only fits negated (2^63)
};

bool IsIdentStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool SameWord(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (x != b[i])
            return false;
    }
    return i == a.size() && !b[i];
}

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the valid UTF-8 sequence at s[i], 0 when invalid.
std::size_t Utf8Length(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    std::uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

class TLexer {
public:
    explicit TLexer(std::string_view text) : s_(text) {}

    TToken Next()
    {
        SkipSpace();
        TToken t;
        t.line = line_;
        if (p_ >= s_.size())
            return t;
        const char c = s_[p_];
        if (IsIdentStart(c)) {
            t.kind = TTok::Ident;
            while (p_ < s_.size() && (IsIdentStart(s_[p_]) || IsDigit(s_[p_])))
                t.text += s_[p_++];
            return t;
        }
        if (IsDigit(c) || c == '$')
            return Number(t);
        if (c == '\'' || c == '#')
            return String(t);
        if (c == '{')
            return Binary(t);
        if (std::string_view("=:.,[]()<>+-").find(c) != std::string_view::npos) {
            t.kind = TTok::Symbol;
            t.text = std::string(1, c);
            ++p_;
            return t;
        }
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            Fail("unexpected character code " + std::to_string(static_cast<unsigned char>(c)));
        Fail(std::string("unexpected character '") + c + "'");
    }

    [[noreturn]] void Fail(const std::string& text) const { throw EFormError(line_, text); }

private:
    void SkipSpace()
    {
        while (p_ < s_.size()) {
            const char c = s_[p_];
            if (c == '\n') {
                ++line_;
                ++p_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++p_;
            } else if (c == '/' && p_ + 1 < s_.size() && s_[p_ + 1] == '/') {
                while (p_ < s_.size() && s_[p_] != '\n')
                    ++p_;
            } else if (p_ == 0 && s_.substr(0, 3) == "\xEF\xBB\xBF") {
                p_ = 3; // a byte-order mark some editors put first
            } else {
                break;
            }
        }
    }

    TToken Number(TToken& t)
    {
        if (s_[p_] == '$') {
            ++p_;
            const std::size_t start = p_;
            std::uint64_t v = 0;
            while (p_ < s_.size() && HexDigit(s_[p_]) >= 0) {
                if (p_ - start >= 16)
                    Fail("number too large");
                v = v << 4 | static_cast<unsigned>(HexDigit(s_[p_++]));
            }
            if (p_ == start)
                Fail("hexadecimal digits expected after '$'");
            t.kind = TTok::Integer;
            t.integer = static_cast<std::int64_t>(v);
            return t;
        }
        const std::size_t start = p_;
        bool isFloat = false;
        while (p_ < s_.size() && IsDigit(s_[p_]))
            ++p_;
        if (p_ + 1 < s_.size() && s_[p_] == '.' && IsDigit(s_[p_ + 1])) {
            isFloat = true;
            ++p_;
            while (p_ < s_.size() && IsDigit(s_[p_]))
                ++p_;
        }
        if (p_ < s_.size() && (s_[p_] == 'e' || s_[p_] == 'E')) {
            std::size_t q = p_ + 1;
            if (q < s_.size() && (s_[q] == '+' || s_[q] == '-'))
                ++q;
            if (q < s_.size() && IsDigit(s_[q])) {
                isFloat = true;
                p_ = q;
                while (p_ < s_.size() && IsDigit(s_[p_]))
                    ++p_;
            }
        }
        const char* b = s_.data() + start;
        const char* e = s_.data() + p_;
        if (isFloat) {
            t.kind = TTok::Float;
            auto [ptr, ec] = std::from_chars(b, e, t.number);
            if (ec != std::errc() || ptr != e || !std::isfinite(t.number))
                Fail("invalid number '" + std::string(b, e) + "'");
        } else {
            t.kind = TTok::Integer;
            std::uint64_t v = 0;
            auto [ptr, ec] = std::from_chars(b, e, v);
            if (ec != std::errc() || ptr != e || v > static_cast<std::uint64_t>(INT64_MAX) + 1)
                Fail("number too large");
            t.integer = static_cast<std::int64_t>(v); // 2^63 only makes sense negated
            t.number = static_cast<double>(v);
            t.overflow = v > static_cast<std::uint64_t>(INT64_MAX);
        }
        return t;
    }

    // Quoted parts and character codes, written together without spaces.
    TToken String(TToken& t)
    {
        t.kind = TTok::String;
        std::uint32_t pendingHigh = 0; // first half of a UTF-16 pair, 0 for none
        auto flushHigh = [&] {
            if (pendingHigh)
                Fail("character code " + std::to_string(pendingHigh) + " is half of a pair");
        };
        while (p_ < s_.size() && (s_[p_] == '\'' || s_[p_] == '#')) {
            if (s_[p_] == '\'') {
                flushHigh();
                ++p_;
                for (;;) {
                    if (p_ >= s_.size() || s_[p_] == '\n' || s_[p_] == '\r')
                        Fail("unterminated string");
                    if (s_[p_] == '\'') {
                        if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
                            t.text += '\'';
                            p_ += 2;
                            continue;
                        }
                        ++p_;
                        break;
                    }
                    const std::size_t n = Utf8Length(s_, p_);
                    if (n == 0)
                        Fail("string is not valid UTF-8 text");
                    t.text.append(s_.substr(p_, n));
                    p_ += n;
                }
            } else {
                ++p_;
                std::uint32_t cp = 0;
                const bool hex = p_ < s_.size() && s_[p_] == '$';
                if (hex)
                    ++p_;
                const std::size_t start = p_;
                while (p_ < s_.size() && (hex ? HexDigit(s_[p_]) >= 0 : IsDigit(s_[p_]))) {
                    cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(hex ? HexDigit(s_[p_]) : s_[p_] - '0');
                    ++p_;
                    if (cp > 0x10FFFF)
                        Fail("character code too large");
                }
                if (p_ == start)
                    Fail("character code expected after '#'");
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    flushHigh();
                    pendingHigh = cp;
                    continue;
                }
                if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    if (!pendingHigh)
                        Fail("character code " + std::to_string(cp) + " is half of a pair");
                    cp = 0x10000 + ((pendingHigh - 0xD800) << 10) + (cp - 0xDC00);
                    pendingHigh = 0;
                }
                flushHigh();
                AppendUtf8(t.text, cp);
            }
        }
        flushHigh();
        return t;
    }

    TToken Binary(TToken& t)
    {
        t.kind = TTok::Binary;
        ++p_;
        int high = -1;
        for (;;) {
            if (p_ >= s_.size())
                Fail("unterminated binary data");
            const char c = s_[p_++];
            if (c == '}')
                break;
            if (c == '\n') {
                ++line_;
                continue;
            }
            if (c == ' ' || c == '\r' || c == '\t')
                continue;
            const int d = HexDigit(c);
            if (d < 0)
                Fail("invalid character in binary data");
            if (high < 0) {
                high = d;
            } else {
                t.bytes.push_back(static_cast<std::uint8_t>(high << 4 | d));
                high = -1;
            }
        }
        if (high >= 0)
            Fail("odd number of hex digits in binary data");
        return t;
    }

    std::string_view s_;
    std::size_t p_ = 0;
    int line_ = 1;
};

class TParser {
public:
    explicit TParser(std::string_view text) : lex_(text) { Advance(); }

    TFormObject Root()
    {
        TFormObject root = Object(0);
        if (tok_.kind != TTok::End)
            Fail("text after the last 'end'");
        return root;
    }

private:
    void Advance() { tok_ = lex_.Next(); }
    [[noreturn]] void Fail(const std::string& text) const { throw EFormError(tok_.line, text); }
    bool IsSymbol(char c) const { return tok_.kind == TTok::Symbol && tok_.text[0] == c; }
    bool IsWord(const char* w) const { return tok_.kind == TTok::Ident && SameWord(tok_.text, w); }
    std::string Describe() const
    {
        switch (tok_.kind) {
        case TTok::End: return "the end of the text";
        case TTok::Ident: return "'" + tok_.text + "'";
        case TTok::Symbol: return "'" + tok_.text + "'";
        case TTok::String: return "a string";
        case TTok::Binary: return "binary data";
        default: return "a number";
        }
    }
    void ExpectSymbol(char c)
    {
        if (!IsSymbol(c))
            Fail(std::string("'") + c + "' expected but " + Describe() + " found");
        Advance();
    }
    std::string Ident(const char* what)
    {
        if (tok_.kind != TTok::Ident)
            Fail(std::string(what) + " expected but " + Describe() + " found");
        std::string name = tok_.text;
        Advance();
        return name;
    }
    void Enter(int depth) const
    {
        if (depth >= kMaxFormDepth)
            Fail("nesting too deep");
    }

    TFormObject Object(int depth)
    {
        Enter(depth);
        if (!IsWord("object") && !IsWord("inherited"))
            Fail("'object' expected but " + Describe() + " found");
        TFormObject o;
        o.line = tok_.line;
        Advance();
        o.name = Ident("component name");
        ExpectSymbol(':');
        o.className = Ident("class name");
        for (;;) {
            if (IsWord("end")) {
                Advance();
                return o;
            }
            if (IsWord("object") || IsWord("inherited"))
                o.children.push_back(Object(depth + 1));
            else if (tok_.kind == TTok::Ident)
                o.properties.push_back(Property(depth));
            else
                Fail("property, 'object' or 'end' expected but " + Describe() + " found");
        }
    }

    TFormProperty Property(int depth)
    {
        TFormProperty p;
        p.line = tok_.line;
        p.name = Ident("property name");
        while (IsSymbol('.')) {
            Advance();
            p.name += "." + Ident("property name");
        }
        ExpectSymbol('=');
        p.value = Value(depth);
        return p;
    }

    TFormValue Value(int depth)
    {
        TFormValue v;
        v.line = tok_.line;
        if (IsSymbol('-') || IsSymbol('+')) {
            const bool negative = IsSymbol('-');
            Advance();
            if (tok_.kind == TTok::Integer) {
                if (!negative && tok_.overflow)
                    Fail("number too large");
                v.kind = TFormValueKind::Integer;
                v.integer = negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(tok_.integer)) : tok_.integer;
            } else if (tok_.kind == TTok::Float) {
                v.kind = TFormValueKind::Float;
                v.number = negative ? -tok_.number : tok_.number;
            } else {
                Fail("number expected but " + Describe() + " found");
            }
            Advance();
            return v;
        }
        switch (tok_.kind) {
        case TTok::Integer:
            if (tok_.overflow)
                Fail("number too large");
            v.kind = TFormValueKind::Integer;
            v.integer = tok_.integer;
            Advance();
            return v;
        case TTok::Float:
            v.kind = TFormValueKind::Float;
            v.number = tok_.number;
            Advance();
            return v;
        case TTok::String:
            v.kind = TFormValueKind::String;
            v.text = StringExpr();
            return v;
        case TTok::Binary:
            v.kind = TFormValueKind::Binary;
            v.bytes = std::move(tok_.bytes);
            Advance();
            return v;
        case TTok::Ident:
            v.kind = TFormValueKind::Ident;
            v.text = tok_.text;
            Advance();
            while (IsSymbol('.')) { // a component of another form: Form2.Button1
                Advance();
                v.text += "." + Ident("name");
            }
            return v;
        default: break;
        }
        if (IsSymbol('[')) {
            v.kind = TFormValueKind::Set;
            Advance();
            if (!IsSymbol(']')) {
                for (;;) {
                    v.names.push_back(Ident("value name"));
                    if (IsSymbol(']'))
                        break;
                    ExpectSymbol(',');
                }
            }
            Advance();
            return v;
        }
        if (IsSymbol('(')) {
            v.kind = TFormValueKind::List;
            Advance();
            while (!IsSymbol(')')) {
                if (tok_.kind != TTok::String)
                    Fail("string or ')' expected but " + Describe() + " found");
                v.names.push_back(StringExpr());
            }
            Advance();
            return v;
        }
        if (IsSymbol('<')) {
            v.kind = TFormValueKind::Collection;
            Advance();
            while (!IsSymbol('>')) {
                Enter(depth + 1);
                if (!IsWord("item"))
                    Fail("'item' or '>' expected but " + Describe() + " found");
                TFormItem item;
                item.line = tok_.line;
                Advance();
                while (!IsWord("end")) {
                    if (tok_.kind != TTok::Ident)
                        Fail("property or 'end' expected but " + Describe() + " found");
                    item.properties.push_back(Property(depth + 1));
                }
                Advance();
                v.items.push_back(std::move(item));
            }
            Advance();
            return v;
        }
        Fail("value expected but " + Describe() + " found");
    }

    // String parts joined by '+'.
    std::string StringExpr()
    {
        std::string text = tok_.text;
        Advance();
        while (IsSymbol('+')) {
            Advance();
            if (tok_.kind != TTok::String)
                Fail("string expected after '+' but " + Describe() + " found");
            text += tok_.text;
            Advance();
        }
        return text;
    }

    TLexer lex_;
    TToken tok_;
};

} // namespace

TFormObject ParseFormText(std::string_view text)
{
    return TParser(text).Root();
}
