// Stored form descriptions: text to objects and back, and clear errors for what cannot be read.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestClasses.h"
#include "classlib/form/FormParser.h"
#include "classlib/form/FormReader.h"
#include "classlib/form/FormWriter.h"

using namespace testclasses;

namespace {

// Every kind of value, a nested object, a forward reference and events.
const char* const kDescription = R"(object Form1: TTestForm
  Tag = 3
  object Gadget1: TGadget
    Width = 300
    Caption = 'Gr'#252'ße, it''s '#$263A' '#55357#56832 +
      ' (two parts)'
    Color = clBtnFace
    Ratio = 0.600000023841858
    Precise = -2.5e-3
    Shape = stTriangle
    Shapes = [stCircle, stTriangle]
    Flag = True
    Buddy = Gadget3
    Pen.Name = 'Verdana'
    Pen.Size = 11
    Data = {
      0B544A504547496D616765
      FF00}
    Lines = ('ARTIST=Someone' 'TITLE=Track 1')
    Items.Strings = (
      'MP3'
      'Ogg'
      'Wav'
      'Ape'
      'FLAC')
    Columns = <
      item
      end
      item
        Caption = 'Track'
        Width = 150
        Children = <
          item
            Caption = 'inner'
          end>
      end>
    OnPing = Ping
    OnValue = Value
    object Inner1: TGadget
      Caption = 'nested'
    end
  end
  object Gadget2: TGadget
    Caption = 'second'
    OnPing = Pong
    Buddy = nil
  end
  object Gadget3: TBigGadget
    Extra = 9
    Width = $7FFFFFFF
  end
  object Big1: TBigGadget
    Width = -2147483648
    Ratio = 3
  end
end
)";

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    static std::string ErrorOf(const std::string& text)
    {
        TTestForm form;
        try {
            ReadFormText(text, form);
        } catch (const EFormError& e) {
            return e.Message();
        }
        return "(no error)";
    }

    template <class C = TGadget>
    static C* Get(TTestForm& form, const char* name)
    {
        auto* c = dynamic_cast<C*>(form.FindComponent(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
};

TEST_F(FormReaderTest, ReadsEveryKindOfValueIntoComponentsInStoredOrder)
{
    TTestForm form;
    ReadFormText(kDescription, form);

    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Tag(), 3);
    // Stored order, owner, parent, published fields.
    const char* const order[] = {"Gadget1", "Inner1", "Gadget2", "Gadget3", "Big1"};
    ASSERT_EQ(form.ComponentCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.Components(i)->Name(), order[i]);
        EXPECT_EQ(form.Components(i)->Owner(), &form);
    }
    TGadget* g1 = Get(form, "Gadget1");
    TGadget* inner = Get(form, "Inner1");
    TGadget* g2 = Get(form, "Gadget2");
    auto* g3 = Get<TBigGadget>(form, "Gadget3");
    auto* big = Get<TBigGadget>(form, "Big1");
    EXPECT_EQ(g1->ParentSeen, &form);
    EXPECT_EQ(inner->ParentSeen, g1);
    EXPECT_EQ(form.Gadget1, g1);
    EXPECT_EQ(form.Gadget2, g2);
    EXPECT_EQ(form.Big1, big);

    // Values of every kind.
    EXPECT_EQ(g1->Width(), 300);
    EXPECT_EQ(g1->Caption(), "Grüße, it's ☺ 😀 (two parts)");
    EXPECT_EQ(g1->Color(), -16777201);
    EXPECT_EQ(g1->Ratio(), 0.6f);
    EXPECT_EQ(g1->Precise(), -2.5e-3);
    EXPECT_EQ(g1->Shape(), stTriangle);
    EXPECT_EQ(g1->Shapes(), (TShapes{stCircle, stTriangle}));
    EXPECT_TRUE(g1->Flag());
    EXPECT_EQ(g1->Pen()->Name(), "Verdana");
    EXPECT_EQ(g1->Pen()->Size(), 11);
    const std::vector<std::uint8_t> data = {0x0B, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e', 0xFF, 0x00};
    EXPECT_EQ(g1->Data(), data);
    EXPECT_EQ(g1->Lines(), (std::vector<std::string>{"ARTIST=Someone", "TITLE=Track 1"}));
    EXPECT_EQ(g1->Items()->Text(), "MP3\r\nOgg\r\nWav\r\nApe\r\nFLAC\r\n");
    ASSERT_EQ(g1->Columns()->Count(), 2);
    EXPECT_EQ(g1->Columns()->Items(0)->Caption(), "");
    EXPECT_EQ(g1->Columns()->Items(0)->Width(), 50);
    EXPECT_EQ(g1->Columns()->Items(1)->Caption(), "Track");
    EXPECT_EQ(g1->Columns()->Items(1)->Width(), 150);
    ASSERT_EQ(g1->Columns()->Items(1)->Children()->Count(), 1);
    EXPECT_EQ(g1->Columns()->Items(1)->Children()->Items(0)->Caption(), "inner");
    EXPECT_EQ(g3->Extra(), 9);
    EXPECT_EQ(g3->Width(), 2147483647);
    EXPECT_EQ(big->Width(), -2147483648);
    EXPECT_EQ(big->Ratio(), 3.0f);

    // References, forward and to the root; an explicit nil.
    EXPECT_EQ(g1->Buddy(), g3);
    EXPECT_EQ(inner->Buddy(), nullptr);
    EXPECT_EQ(g2->Buddy(), nullptr);

    // Events reach the root's published methods.
    g1->OnPing(g1);
    g1->OnValue(g1, 42);
    g2->OnPing(g2);
    EXPECT_EQ(form.Calls, (std::vector<std::string>{"Ping Gadget1", "Gadget1=42", "Pong Gadget2"}));
    EXPECT_FALSE(g3->OnPing);

    // Loaded ran on each component after everything was set, while still loading, and on
    // the root last; nothing is loading afterwards.
    for (TGadget* g : {g1, inner, g2, static_cast<TGadget*>(g3), static_cast<TGadget*>(big)}) {
        SCOPED_TRACE(g->Name());
        EXPECT_TRUE(g->LoadedCalled);
        EXPECT_TRUE(g->LoadingAtLoaded);
        EXPECT_EQ(g->CaptionAtLoaded, g->Caption());
        EXPECT_EQ(g->BuddyAtLoaded, g->Buddy());
        EXPECT_FALSE(g->Loading());
    }
    EXPECT_TRUE(form.RootLoaded);
    EXPECT_EQ(form.ChildrenLoadedBeforeRoot, 5u);
    EXPECT_FALSE(form.Loading());
}

TEST_F(FormReaderTest, ReferenceToTheRootOfAFittingClass)
{
    // Inner1 above named the root, which is no TGadget: that is an error in a real read.
    EXPECT_EQ(ErrorOf("object Form1: TTestForm\n object G: TGadget\n  Buddy = Form1\n end\nend"),
              "Line 3: a TTestForm does not fit property 'Buddy' of TGadget");
}

TEST_F(FormReaderTest, LoadedComesAfterEveryPropertyOfEveryComponent)
{
    // The setters and Loaded of every gadget write to one log.
    std::vector<std::string> log;
    TGadget::SharedLog = &log;
    TTestForm form;
    ReadFormText("object F: TTestForm\n"
                 " object A: TGadget\n  Width = 1\n  Caption = 'a'\n end\n"
                 " object B: TGadget\n  Caption = 'b'\n  Width = 2\n end\nend",
                 form);
    TGadget::SharedLog = nullptr;
    // Names are set before the first property.
    EXPECT_EQ(log, (std::vector<std::string>{"A.Width", "A.Caption", "B.Caption", "B.Width", "A.Loaded",
                                                  "B.Loaded"}));
}

TEST_F(FormReaderTest, ErrorsNameTheLineAndTheName)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"object Form1: TTestForm\n  object B: TButon\n  end\nend", "Line 2: unknown class 'TButon'"},
        {"object Form1: TTestForm\n object G: TGadget\n\n  Captoin = 'x'\n end\nend",
         "Line 4: unknown property 'Captoin' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  Pen.Colour = 1\n end\nend",
         "Line 3: unknown property 'Pen.Colour' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  OnPing = FormCreate\n end\nend",
         "Line 3: unknown method 'FormCreate' of TTestForm"},
        {"object Form1: TTestForm\n object G: TGadget\n  OnPing = Value\n end\nend",
         "Line 3: method 'Value' does not fit event 'OnPing' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  Buddy = CDIn1\n end\nend",
         "Line 3: unknown component 'CDIn1' for property 'Buddy'"},
        {"object Form1: TTestForm\n object G: TGadget\n  Width = 'wide'\n end\nend",
         "Line 3: a string does not fit property 'Width' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  Width = 4294967296\n end\nend",
         "Line 3: value 4294967296 does not fit property 'Width' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  Shape = stOval\n end\nend",
         "Line 3: 'stOval' is not a value of property 'Shape' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  Shapes = [stCircle, xcMenu]\n end\nend",
         "Line 3: 'xcMenu' is not a value of property 'Shapes' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  Ratio = 1e40\n end\nend",
         "Line 3: value 1e+40 does not fit property 'Ratio' of TGadget"},
        {"object Form1: TTestForm\n object G: TGadget\n  ReadOnly = 1\n end\nend",
         "Line 3: property 'ReadOnly' of TGadget is read-only"},
        {"object Form1: TTestForm\n object G: TGadget\n  Columns = <\n   item\n    Wdth = 1\n   end>\n end\nend",
         "Line 5: unknown property 'Wdth' of TColumn"},
        {"object Form1: TTestForm\n object G: TGadget\n end\n object g: TGadget\n end\nend",
         "Line 4: a component named g already exists"},
        {"object Form1: TTestForm\n object 9G: TGadget\n end\nend",
         "Line 2: component name expected but a number found"},
        {"object Form1: TTestForm\n object L: TStrings\n end\nend", "Line 2: class TStrings cannot be created"},
        {"object Form1: TGadget\nend", "Line 1: a TTestForm cannot be read as a TGadget"},
        {"object Form1: TNoSuchForm\nend", "Line 1: unknown class 'TNoSuchForm'"},
        {"object Form1: TTestForm\n object G: TGadget\n  Caption = 'open\n end\nend", "Line 3: unterminated string"},
        {"object Form1: TTestForm\n object G: TGadget\n  Caption = #55357'x'\n end\nend",
         "Line 3: character code 55357 is half of a pair"},
        {"object Form1: TTestForm\n object G: TGadget\n  Caption = #1114112\n end\nend",
         "Line 3: character code too large"},
        {"object Form1: TTestForm\n object G: TGadget\n  Caption = '\xC3('\n end\nend",
         "Line 3: string is not valid UTF-8 text"},
        {"object Form1: TTestForm\n object G: TGadget\n  Data = {0B5}\n end\nend",
         "Line 3: odd number of hex digits in binary data"},
        {"object Form1: TTestForm\n object G: TGadget\n  Width = 9223372036854775808\n end\nend",
         "Line 3: number too large"},
        {"object Form1: TTestForm\n object G: TGadget\n  Width = 300\n", "Line 4: property, 'object' or 'end' expected but the end of the text found"},
        {"object Form1: TTestForm\nend\nend", "Line 3: text after the last 'end'"},
        {"object Form1: TTestForm\n object G: TGadget\n  Width 300\n end\nend", "Line 3: '=' expected but a number found"},
        {"object Form1: TTestForm\n object G: TGadget\n  Lines = ('a' 12)\n end\nend",
         "Line 3: string or ')' expected but a number found"},
        {"object Form1: TTestForm\n object G: TGadget\n  Caption = @\n end\nend", "Line 3: unexpected character '@'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ErrorOf(c.text), c.error);
    }
}

TEST_F(FormReaderTest, DeepNestingIsRefusedNotRecursedInto)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "object G" + std::to_string(i) + ": TGadget\n";
    EXPECT_EQ(ErrorOf(deep), "Line " + std::to_string(kMaxFormDepth + 1) + ": nesting too deep");
    std::string items = "object Form1: TTestForm\n object G: TGadget\n  Columns = <";
    for (int i = 0; i < 100000; ++i)
        items += " item Children = <";
    EXPECT_EQ(ErrorOf(items), "Line 3: nesting too deep");
}

TEST_F(FormReaderTest, AFailedReadLeavesNothingLoading)
{
    TTestForm form;
    EXPECT_THROW(ReadFormText("object F: TTestForm\n object A: TGadget\n end\n object B: TGadget\n  X = 1\n end\nend", form),
                 EFormError);
    EXPECT_FALSE(form.Loading());
    ASSERT_EQ(form.ComponentCount(), 2); // owned by the form, freed with it
    EXPECT_FALSE(form.Components(0)->Loading());
    EXPECT_FALSE(form.Components(1)->Loading());
}

TEST_F(FormReaderTest, WriterOutputReadsBackToEqualObjects)
{
    TTestForm original;
    ReadFormText(kDescription, original);
    Get(original, "Inner1")->SetBuddy(Get(original, "Gadget2")); // a reference to write back
    const std::string written = WriteFormText(original);

    TTestForm copy;
    ReadFormText(written, copy);
    EXPECT_EQ(WriteFormText(copy), written);

    // The copy has the same components and values, read back through the property API.
    ASSERT_EQ(copy.ComponentCount(), original.ComponentCount());
    for (int i = 0; i < original.ComponentCount(); ++i) {
        TComponent* a = original.Components(i);
        TComponent* b = copy.Components(i);
        SCOPED_TRACE(a->Name());
        EXPECT_EQ(b->Name(), a->Name());
        EXPECT_EQ(Classes().ClassOf(b), Classes().ClassOf(a));
        for (const TPropInfo* p : Classes().ClassOf(a)->Properties()) {
            if (p->kind == TTypeKind::tkCollection || (p->kind == TTypeKind::tkClass && !p->isReference))
                continue;
            EXPECT_EQ(GetPropText(b, p->name), GetPropText(a, p->name)) << p->name;
        }
        EXPECT_EQ(GetPropText(b, "Pen.Name"), GetPropText(a, "Pen.Name"));
        EXPECT_EQ(GetPropText(b, "Items.Strings"), GetPropText(a, "Items.Strings"));
    }
    auto* column = Get(copy, "Gadget1")->Columns()->Items(1);
    EXPECT_EQ(column->Caption(), "Track");
    EXPECT_EQ(column->Children()->Items(0)->Caption(), "inner");
    EXPECT_EQ(Get(copy, "Inner1")->ParentSeen, Get(copy, "Gadget1"));
    EXPECT_EQ(Get(copy, "Inner1")->Buddy(), Get(copy, "Gadget2"));

    // The text itself: quoting, lists, collections, binary, defaults left out.
    for (const char* fragment : {"object Form1: TTestForm\r\n", "  object Gadget1: TGadget\r\n",
                                 "    object Inner1: TGadget\r\n", "Caption = 'Gr'#252#223'e, it''s '#9786' '#128512' (two parts)'\r\n",
                                 "Ratio = 0.6\r\n", "Color = clBtnFace\r\n", "Shapes = [stCircle, stTriangle]\r\n",
                                 "Items.Strings = (\r\n      'MP3'\r\n", "'FLAC')\r\n", "Pen.Name = 'Verdana'\r\n",
                                 "Data = {\r\n      0B544A504547496D616765FF00}\r\n", "Columns = <\r\n      item\r\n      end\r\n",
                                 "          end>\r\n      end>\r\n", "OnPing = Ping\r\n", "Buddy = Gadget3\r\n"}) {
        EXPECT_NE(written.find(fragment), std::string::npos) << fragment << "\nin\n" << written;
    }
    EXPECT_EQ(written.find("Block ="), std::string::npos); // its default
    EXPECT_EQ(written.find(" Name ="), std::string::npos);  // carried by the object line
}

TEST(FormStrings, QuotingAndCharacterCodes)
{
    struct Case {
        const char* text;
        const char* quoted;
    };
    const Case cases[] = {
        {"", "''"},
        {"Kestrip", "'Kestrip'"},
        {"it's", "'it''s'"},
        {"a\r\nb", "'a'#13#10'b'"},
        {"Grüße", "'Gr'#252#223'e'"},
        {"😀", "#128512"},
        {"\t", "#9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(QuoteFormString(c.text), c.quoted);
        const TFormObject o = ParseFormText(std::string("object A: T\n P = ") + c.quoted + "\nend");
        ASSERT_EQ(o.properties.size(), 1u);
        EXPECT_EQ(o.properties[0].value.text, c.text);
    }
    // Surrogate pairs as two codes, hex codes and raw UTF-8 read the same.
    const TFormObject o = ParseFormText("object A: T\n P = #$D83D#$DE00'Grüße'\nend");
    EXPECT_EQ(o.properties[0].value.text, "😀Grüße");
}

} // namespace
