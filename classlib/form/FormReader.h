#pragma once
#include <string_view>
#include <vector>

#include "classlib/Component.h"
#include "classlib/form/FormTree.h"

// Builds the components of a stored description into an already constructed root (a form),
// through the program's class registry, Classes():
//  - the root gets the stored name and is csLoading while the read lasts; the description's
//    class must be the root's registered class or one it inherits from;
//  - every nested object becomes a component of the class named, created in stored order
//    with the root as owner, named, handed to SetParentComponent(enclosing component) and
//    stored into the root's published field of the same name, if there is one; its
//    properties are then set by name in stored order;
//  - references to components (Input = CDIn1) are resolved after all components exist, so
//    they may point forward; events bind to the root's published methods by name;
//  - then Loaded runs on every created component in creation order, and last on the root.
// Errors in the description raise EFormError naming the line and the unknown or unfitting
// name ("Line 12: unknown property 'Captoin' of TButton"). An error raised by a component's
// own constructor or setter (a missing library, say) passes through unchanged.
void ReadForm(const TFormObject& description, TComponent& root);
void ReadFormText(std::string_view text, TComponent& root);
