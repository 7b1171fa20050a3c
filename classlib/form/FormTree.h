#pragma once
// A stored form description as a tree, as the parser reads it and before any object exists.
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Exception.h"

// A description that cannot be read; the message starts with "Line n: ".
class EFormError : public Exception {
public:
    EFormError(int line, const std::string& text) : Exception("Line " + std::to_string(line) + ": " + text), line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

enum class TFormValueKind {
    Integer,    // 12, -7, $FF
    Float,      // 0.6, 1e-3
    String,     // 'text' with '' for a quote and #nnn for a character code, parts joined by +
    Ident,      // True, brAutoSelect, CDIn1, FormCreate
    Set,        // [xcMainMenu, xcPopupMenu]
    List,       // ('MP3' 'Ogg')
    Binary,     // {0B544A...}
    Collection, // < item ... end item ... end >
};

struct TFormItem;

struct TFormValue {
    TFormValueKind kind = TFormValueKind::Integer;
    int line = 0;
    std::int64_t integer = 0;
    double number = 0;
    std::string text;               // String (UTF-8), Ident
    std::vector<std::string> names; // Set: value names; List: strings
    std::vector<std::uint8_t> bytes;
    std::vector<TFormItem> items;
};

struct TFormProperty {
    std::string name; // may be dotted: Font.Name
    TFormValue value;
    int line = 0;
};

struct TFormItem {
    int line = 0;
    std::vector<TFormProperty> properties;
};

struct TFormObject {
    std::string name;
    std::string className;
    int line = 0;
    std::vector<TFormProperty> properties;
    std::vector<TFormObject> children;
};
