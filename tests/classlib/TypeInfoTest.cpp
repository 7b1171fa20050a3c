// Published properties by name: every kind round-trips through text and through the typed
// calls; bad names, kinds and values are refused with errors that name them.
#include <gtest/gtest.h>

#include "TestClasses.h"

using namespace testclasses;

namespace {

class TypeInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        gadget = new TGadget(&form);
        gadget->SetName("Gadget1");
        other = new TGadget(&form);
        other->SetName("Gadget2");
        form.SetName("Form1");
    }

    template <class F>
    static std::string ErrorOf(F call)
    {
        try {
            call();
        } catch (const EPropertyError& e) {
            return e.Message();
        }
        return "(no error)";
    }

    TTestForm form;
    TGadget* gadget = nullptr;
    TGadget* other = nullptr;
};

TEST_F(TypeInfoTest, EveryKindRoundTripsThroughText)
{
    struct Case {
        const char* path;
        const char* text;
        const char* back; // what GetPropText answers afterwards
    };
    const Case cases[] = {
        {"Width", "42", "42"},
        {"Width", "-7", "-7"},
        {"Width", "$10", "16"},
        {"Block", "65535", "65535"},
        {"Color", "clRed", "clRed"},
        {"Color", "255", "clRed"},
        {"Color", "clBtnFace", "clBtnFace"},
        {"Color", "12", "12"},
        {"Caption", "Grüße, 'quoted'", "Grüße, 'quoted'"},
        {"Ratio", "0.6", "0.6"},
        {"Precise", "0.1", "0.1"},
        {"Precise", "3", "3.0"},
        {"Shape", "stTriangle", "stTriangle"},
        {"Shape", "STSQUARE", "stSquare"},
        {"Shapes", "[stTriangle, stCircle]", "[stCircle, stTriangle]"},
        {"Shapes", "[]", "[]"},
        {"Flag", "True", "True"},
        {"Flag", "false", "False"},
        {"Pen.Name", "Verdana", "Verdana"},
        {"pen.size", "11", "11"},
        {"Data", "0a0BFF 00", "0A0BFF00"},
        {"Lines", "one\r\ntwo\nthree", "one\r\ntwo\r\nthree\r\n"},
        {"Items.Strings", "MP3\r\nOgg\r\n", "MP3\r\nOgg\r\n"},
        {"Buddy", "Gadget2", "Gadget2"},
        {"Buddy", "nil", ""},
        {"OnPing", "Ping", "Ping"},
        {"OnPing", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " := " + c.text);
        SetPropText(gadget, c.path, c.text);
        EXPECT_EQ(GetPropText(gadget, c.path), c.back);
    }
}

TEST_F(TypeInfoTest, TypedCallsReachTheObject)
{
    SetOrdProp(gadget, "Width", 300);
    EXPECT_EQ(gadget->Width(), 300);
    SetEnumProp(gadget, "Shape", "stSquare");
    EXPECT_EQ(gadget->Shape(), stSquare);
    EXPECT_EQ(GetOrdProp(gadget, "Shape"), 1);
    SetSetProp(gadget, "Shapes", {"stSquare", "stTriangle"});
    EXPECT_EQ(gadget->Shapes(), (TShapes{stSquare, stTriangle}));
    EXPECT_EQ(GetSetProp(gadget, "Shapes"), (std::vector<std::string>{"stSquare", "stTriangle"}));
    SetStrProp(gadget, "Caption", "Rip!");
    EXPECT_EQ(gadget->Caption(), "Rip!");

    // Single precision rounds on write; double keeps every bit.
    SetFloatProp(gadget, "Ratio", 0.6);
    EXPECT_EQ(GetFloatProp(gadget, "Ratio"), static_cast<double>(0.6f));
    EXPECT_NE(GetFloatProp(gadget, "Ratio"), 0.6);
    SetFloatProp(gadget, "Precise", 0.6);
    EXPECT_EQ(GetFloatProp(gadget, "Precise"), 0.6);

    SetObjectProp(gadget, "Buddy", other);
    EXPECT_EQ(gadget->Buddy(), other);
    EXPECT_EQ(GetObjectProp(gadget, "Buddy"), other);
    EXPECT_EQ(GetObjectProp(gadget, "Pen"), gadget->Pen());
    SetBinaryProp(gadget, "Data", {1, 2, 255});
    EXPECT_EQ(gadget->Data(), (std::vector<std::uint8_t>{1, 2, 255}));
    SetStringsProp(gadget, "Items.Strings", {"a", "b"});
    EXPECT_EQ(gadget->Items()->Text(), "a\r\nb\r\n");
    EXPECT_EQ(GetStringsProp(gadget, "Items.Strings"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(GetCollectionProp(gadget, "Columns"), gadget->Columns());
    EXPECT_EQ(GetOrdProp(gadget, "ReadOnly"), 7);

    // A reference that goes away is dropped through the removal notification.
    delete other;
    other = nullptr;
    EXPECT_EQ(gadget->Buddy(), nullptr);
}

TEST_F(TypeInfoTest, EventsBindToPublishedMethodsByName)
{
    SetMethodProp(gadget, "OnPing", TMethod{&form, "Ping"});
    ASSERT_TRUE(gadget->OnPing);
    gadget->OnPing(gadget);
    SetMethodProp(other, "OnValue", TMethod{&form, "value"});
    other->OnValue(other, 5);
    EXPECT_EQ(form.Calls, (std::vector<std::string>{"Ping Gadget1", "Gadget2=5"}));
    EXPECT_EQ(GetMethodProp(gadget, "OnPing"), (TMethod{&form, "Ping"}));

    // An event set from code has no published method to tell.
    gadget->OnPing = [](TComponent*) {};
    EXPECT_FALSE(GetMethodProp(gadget, "OnPing").Assigned());
    SetMethodProp(gadget, "OnPing", TMethod{});
    EXPECT_FALSE(gadget->OnPing);

    // A method of another signature does not bind.
    EXPECT_EQ(ErrorOf([&] { SetMethodProp(gadget, "OnPing", TMethod{&form, "Value"}); }),
              "Method 'Value' does not fit event 'OnPing' of TGadget");
    EXPECT_FALSE(gadget->OnPing);
    EXPECT_EQ(ErrorOf([&] { SetMethodProp(gadget, "OnPing", TMethod{&form, "Pinged"}); }),
              "Unknown method 'Pinged' of TTestForm");
}

TEST_F(TypeInfoTest, BadNamesKindsAndValuesAreRefused)
{
    struct Case {
        const char* path;
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"Captoin", "x", "Unknown property 'Captoin' of TGadget"},
        {"Pen.Colour", "1", "Unknown property 'Pen.Colour' of TGadget"},
        {"Caption.Size", "1", "Property 'Caption' of TGadget has no properties of its own"},
        {"Width", "12abc", "'12abc' is not a valid value of property 'Width' of TGadget"},
        {"Width", "99999999999", "Value 99999999999 does not fit property 'Width' of TGadget"},
        {"Block", "-1", "Value -1 does not fit property 'Block' of TGadget"},
        {"Block", "65536", "Value 65536 does not fit property 'Block' of TGadget"},
        {"Color", "clPurple", "'clPurple' is not a valid value of property 'Color' of TGadget"},
        {"Shape", "stHexagon", "'stHexagon' is not a value of property 'Shape' of TGadget"},
        {"Shapes", "[stCircle, stOval]", "'stOval' is not a value of property 'Shapes' of TGadget"},
        {"Shapes", "stCircle", "Invalid set text 'stCircle'"},
        {"Ratio", "1e39", "Value 1e+39 does not fit property 'Ratio' of TGadget"},
        {"Precise", "nan", "'nan' is not a valid value of property 'Precise' of TGadget"},
        {"ReadOnly", "3", "Property 'ReadOnly' of TGadget is read-only"},
        {"Buddy", "Gadget9", "Unknown component 'Gadget9' for property 'Buddy' of TGadget"},
        {"Buddy", "Form1", "A TTestForm does not fit property 'Buddy' of TGadget"},
        {"Data", "ABC", "'ABC' is not a valid value of property 'Data' of TGadget"},
        {"OnPing", "Nothing", "Unknown method 'Nothing' of TTestForm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ErrorOf([&] { SetPropText(gadget, c.path, c.text); }), c.error);
    }
    EXPECT_EQ(ErrorOf([&] { GetStrProp(gadget, "Width"); }), "Property 'Width' of TGadget is an integer property");
    EXPECT_EQ(ErrorOf([&] { SetOrdProp(gadget, "Shape", 3); }), "Value 3 does not fit property 'Shape' of TGadget");
    EXPECT_EQ(ErrorOf([&] { SetOrdProp(gadget, "Shapes", 8); }), "Value 8 does not fit property 'Shapes' of TGadget");
    EXPECT_EQ(ErrorOf([&] { GetPropText(gadget, "Columns"); }), "Property 'Columns' of TGadget has no text form");
    // Nothing above changed the object.
    EXPECT_EQ(gadget->Width(), 0);
    EXPECT_EQ(gadget->Block(), 512);
    EXPECT_EQ(gadget->Buddy(), nullptr);
    EXPECT_TRUE(HasProperty(gadget, "Pen.Name"));
    EXPECT_FALSE(HasProperty(gadget, "Pen.Nme"));
}

TEST_F(TypeInfoTest, RegistryFollowsTheClassChain)
{
    TUnlistedGadget unlisted(&form);
    const TClassInfo* info = Classes().ClassOf(&unlisted);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->name, "TBigGadget");
    SetPropText(&unlisted, "Extra", "5");
    SetPropText(&unlisted, "Width", "6"); // from TGadget
    SetPropText(&unlisted, "Tag", "7");   // from TComponent
    EXPECT_EQ(unlisted.Extra() * 100 + unlisted.Width() * 10 + unlisted.Tag(), 567);

    const TClassInfo* gadgetInfo = Classes().Find("tgadget");
    ASSERT_NE(gadgetInfo, nullptr);
    EXPECT_TRUE(info->InheritsFrom(*gadgetInfo));
    EXPECT_FALSE(gadgetInfo->InheritsFrom(*info));
    EXPECT_EQ(Classes().Find(typeid(TGadget)), gadgetInfo);
    auto props = info->Properties();
    ASSERT_GE(props.size(), 3u);
    EXPECT_EQ(props.front()->name, "Name"); // the root class's first
    EXPECT_EQ(props.back()->name, "Extra");
    ASSERT_NE(info->create, nullptr);
    TComponent* made = info->create(&form);
    EXPECT_NE(dynamic_cast<TBigGadget*>(made), nullptr);
    EXPECT_EQ(made->Owner(), &form);
    EXPECT_EQ(Classes().Find("TStrings")->create, nullptr);

    TClassRegistry own;
    EXPECT_EQ(ErrorOf([&] { own.Register<TGadget, TComponent>("TGadget"); }),
              "The parent class of TGadget is not registered");
    RegisterClassLibraryClasses(own);
    own.Register<TGadget, TComponent>("TGadget").Int("Width", &TGadget::Width, &TGadget::SetWidth);
    EXPECT_EQ(ErrorOf([&] { own.Register<TBigGadget, TGadget>("tgadget"); }), "Class tgadget is already registered");
    EXPECT_EQ(ErrorOf([&] { own.Register<TBigGadget, TGadget>("Big Gadget"); }),
              "'Big Gadget' is not a valid class name");
    EXPECT_EQ(ErrorOf([&] {
                  own.Register<TBigGadget, TGadget>("TBigGadget").Int("Width", &TGadget::Width, &TGadget::SetWidth);
              }),
              "Property Width of TBigGadget is already registered");
}

TEST_F(TypeInfoTest, FieldsTakeComponentsOfTheirClass)
{
    const TClassInfo* info = Classes().ClassOf(&form);
    const TFieldInfo* field = info->FindField("big1");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(ErrorOf([&] { field->set(&form, gadget); }), "Field Big1 does not hold a component of that class");
    EXPECT_EQ(form.Big1, nullptr);
    TBigGadget big(&form);
    field->set(&form, &big);
    EXPECT_EQ(form.Big1, &big);
    EXPECT_EQ(field->get(&form), &big);
    EXPECT_EQ(info->FindField("Gadget3"), nullptr);
}

TEST_F(TypeInfoTest, LenientReadsFallBack)
{
    gadget->SetWidth(12);
    gadget->SetShape(stSquare);
    EXPECT_EQ(GetOrdPropOr(gadget, "Width", -1), 12);
    EXPECT_EQ(GetOrdPropOr(gadget, "Shape", -1), 1);
    EXPECT_EQ(GetOrdPropOr(gadget, "NumButtons", -1), -1);
    EXPECT_EQ(GetOrdPropOr(gadget, "Caption", -1), -1);
    EXPECT_EQ(GetOrdPropOr(gadget, "Pen.Size", -1), 8);
    EXPECT_EQ(GetObjectPropAs<TPen>(gadget, "Pen"), gadget->Pen());
    EXPECT_EQ(GetObjectPropAs<TStringList>(gadget, "Pen"), nullptr);
    EXPECT_EQ(GetObjectPropAs<TPen>(gadget, "Glyph"), nullptr);
    EXPECT_EQ(GetObjectPropAs<TPen>(gadget, "Width"), nullptr);
    EXPECT_EQ(GetObjectPropAs<TGadget>(gadget, "Buddy"), nullptr);
    gadget->SetBuddy(other);
    EXPECT_EQ(GetObjectPropAs<TGadget>(gadget, "Buddy"), other);
}

TEST(FloatText, ShortestFormReadsBack)
{
    EXPECT_EQ(FloatToText(0.6f, true), "0.6");
    EXPECT_EQ(FloatToText(0.6f, false), "0.6000000238418579");
    EXPECT_EQ(FloatToText(100, true), "100.0");
    EXPECT_EQ(FloatToText(-2.5e-10, false), "-2.5e-10");
}

} // namespace
