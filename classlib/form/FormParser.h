#pragma once
#include <string_view>

#include "classlib/form/FormTree.h"

// Reads the text of a description:
//
//   object Form1: TForm1
//     Caption = 'Kestrip'
//     object Button1: TButton
//       OnClick = Button1Click
//     end
//   end
//
// Raises EFormError naming the line for anything it cannot read. Nesting deeper than
// kMaxFormDepth objects and collection items is refused, so hostile text cannot exhaust
// the stack.
constexpr int kMaxFormDepth = 64;
TFormObject ParseFormText(std::string_view text);
