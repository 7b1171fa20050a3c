#include "TestClasses.h"

namespace testclasses {

const TEnumInfo& ShapeInfo()
{
    static const TEnumInfo info{"TShape", {{"stCircle", 0}, {"stSquare", 1}, {"stTriangle", 2}}};
    return info;
}

const TEnumInfo& ColorIdents()
{
    static const TEnumInfo info{"TColor", {{"clBlack", 0}, {"clRed", 255}, {"clBtnFace", -16777201}}};
    return info;
}

TGadget::TGadget(TComponent* owner) : TComponent(owner) {}

TGadget::~TGadget() = default;

void TGadget::SetBuddy(TGadget* v)
{
    buddy_ = v;
    if (v)
        v->FreeNotification(this);
}

void TGadget::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == buddy_)
        buddy_ = nullptr;
    TComponent::Notification(component, operation);
}

void TGadget::Log(const std::string& what)
{
    if (SharedLog)
        SharedLog->push_back(Name() + "." + what);
}

void TGadget::Loaded()
{
    LoadedCalled = true;
    CaptionAtLoaded = caption_;
    BuddyAtLoaded = buddy_;
    LoadingAtLoaded = Loading();
    if (SharedLog)
        SharedLog->push_back(Name() + ".Loaded");
    TComponent::Loaded();
}

void TTestForm::Loaded()
{
    RootLoaded = true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* g = dynamic_cast<TGadget*>(Components(i)); g && g->LoadedCalled)
            ++ChildrenLoadedBeforeRoot;
    TComponent::Loaded();
}

void RegisterTestClasses()
{
    TClassRegistry& r = Classes();
    if (r.Find("TGadget"))
        return;
    r.Register<TPen, TPersistent>("TPen")
        .Str("Name", &TPen::Name, &TPen::SetName)
        .Int("Size", &TPen::Size, &TPen::SetSize)
        .Default(8);
    r.Register<TColumn, TCollectionItem>("TColumn")
        .Str("Caption", &TColumn::Caption, &TColumn::SetCaption)
        .Int("Width", &TColumn::Width, &TColumn::SetWidth)
        .Default(50)
        .Collection("Children", &TColumn::Children);
    r.Register<TGadget, TComponent>("TGadget")
        .Int("Width", &TGadget::Width, &TGadget::SetWidth)
        .Int("Block", &TGadget::Block, &TGadget::SetBlock)
        .Default(512)
        .Int("Color", &TGadget::Color, &TGadget::SetColor)
        .Idents(ColorIdents())
        .Default(0)
        .Str("Caption", &TGadget::Caption, &TGadget::SetCaption)
        .Float("Ratio", &TGadget::Ratio, &TGadget::SetRatio)
        .Float("Precise", &TGadget::Precise, &TGadget::SetPrecise)
        .Enum("Shape", ShapeInfo(), &TGadget::Shape, &TGadget::SetShape)
        .Default(stCircle)
        .Set("Shapes", ShapeInfo(), &TGadget::Shapes, &TGadget::SetShapes)
        .Default(0)
        .Bool("Flag", &TGadget::Flag, &TGadget::SetFlag)
        .Default(0)
        .Ref("Buddy", &TGadget::Buddy, &TGadget::SetBuddy)
        .Object("Pen", &TGadget::Pen)
        .Binary("Data", &TGadget::Data, &TGadget::SetData)
        .Strings("Lines", &TGadget::Lines, &TGadget::SetLines)
        .Object("Items", &TGadget::Items)
        .Collection("Columns", &TGadget::Columns)
        .Int("ReadOnly", &TGadget::ReadOnly)
        .Event("OnPing", &TGadget::OnPing)
        .Event("OnValue", &TGadget::OnValue);
    r.Register<TBigGadget, TGadget>("TBigGadget").Int("Extra", &TBigGadget::Extra, &TBigGadget::SetExtra);
    r.Register<TTestForm, TComponent>("TTestForm")
        .Method("Ping", &TTestForm::Ping)
        .Method("Pong", &TTestForm::Pong)
        .Method("Value", &TTestForm::Value)
        .Field("Gadget1", &TTestForm::Gadget1)
        .Field("Gadget2", &TTestForm::Gadget2)
        .Field("Big1", &TTestForm::Big1);
}

} // namespace testclasses
