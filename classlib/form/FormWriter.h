#pragma once
#include <string>

#include "classlib/Component.h"

// Writes a root component and the named components it owns as a description that
// ReadFormText reads back: components nest under their GetParentComponent (when that is the
// root or another owned component), in ComponentIndex order. Every stored, writable property
// is written except ordinal values equal to their registered default, empty strings, lists,
// binary data and collections, unset references and events not bound to a published method
// of the root. Sub-objects are written as dotted paths (Font.Name). Unnamed components are
// left out: nothing could refer to them.
std::string WriteFormText(TComponent& root);

// A string as a description writes it: printable ASCII in quotes ('' for a quote), other
// characters as #code (the Unicode code point).
std::string QuoteFormString(const std::string& utf8);
