#include "classlib/TypeInfo.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/PopupMenu.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/Image.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListView.h"
#include "classlib/stdctrls/ProgressBar.h"
#include "classlib/stdctrls/SaveDialog.h"
#include "classlib/stdctrls/Timer.h"

const TEnumInfo& AlignEnumInfo()
{
    static const TEnumInfo info{
        "TAlign", {{"alNone", 0}, {"alTop", 1}, {"alBottom", 2}, {"alLeft", 3}, {"alRight", 4}, {"alClient", 5}}};
    return info;
}

namespace {

const TEnumInfo& ColorIdents()
{
    static const TEnumInfo info = [] {
        TEnumInfo names{"TColor", {}};
        for (const char* name :
             {"clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal", "clGray", "clSilver",
              "clRed", "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite", "clScrollBar",
              "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu", "clWindow", "clWindowFrame",
              "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder", "clInactiveBorder", "clAppWorkSpace",
              "clHighlight", "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
              "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText", "clInfoBk",
              "clNone", "clDefault"})
            if (auto value = IdentToColor(name))
                names.values.emplace_back(name, *value);
        return names;
    }();
    return info;
}

const TEnumInfo& FormBorderStyleInfo()
{
    static const TEnumInfo info{"TFormBorderStyle",
                                {{"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3},
                                 {"bsToolWindow", 4}, {"bsSizeToolWin", 5}}};
    return info;
}

const TEnumInfo& BorderStyleInfo()
{
    static const TEnumInfo info{"TBorderStyle", {{"bsNone", 0}, {"bsSingle", 1}}};
    return info;
}

const TEnumInfo& BorderIconsInfo()
{
    static const TEnumInfo info{"TBorderIcon",
                                {{"biSystemMenu", 0}, {"biMinimize", 1}, {"biMaximize", 2}, {"biHelp", 3}}};
    return info;
}

const TEnumInfo& PositionInfo()
{
    static const TEnumInfo info{"TPosition",
                                {{"poDesigned", 0}, {"poDefault", 1}, {"poDefaultPosOnly", 2},
                                 {"poDefaultSizeOnly", 3}, {"poScreenCenter", 4}, {"poDesktopCenter", 5},
                                 {"poMainFormCenter", 6}, {"poOwnerFormCenter", 7}}};
    return info;
}

const TEnumInfo& AlignmentInfo()
{
    static const TEnumInfo info{"TAlignment", {{"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2}}};
    return info;
}

const TEnumInfo& CheckBoxStateInfo()
{
    static const TEnumInfo info{"TCheckBoxState", {{"cbUnchecked", 0}, {"cbChecked", 1}, {"cbGrayed", 2}}};
    return info;
}

const TEnumInfo& ComboBoxStyleInfo()
{
    static const TEnumInfo info{"TComboBoxStyle", {{"csDropDown", 0}, {"csSimple", 1}, {"csDropDownList", 2}}};
    return info;
}

const TEnumInfo& ViewStyleInfo()
{
    static const TEnumInfo info{"TViewStyle", {{"vsIcon", 0}, {"vsSmallIcon", 1}, {"vsList", 2}, {"vsReport", 3}}};
    return info;
}

void RegisterBaseClasses(TClassRegistry& r)
{
    r.Register<TControl, TComponent>("TControl")
        .Int("Left", &TControl::Left, &TControl::SetLeft)
        .Int("Top", &TControl::Top, &TControl::SetTop)
        .Int("Width", &TControl::Width, &TControl::SetWidth)
        .Int("Height", &TControl::Height, &TControl::SetHeight)
        .Enum("Align", AlignEnumInfo(), &TControl::Align, &TControl::SetAlign)
        .Default(alNone)
        .Str("Caption", &TControl::Caption, &TControl::SetCaption)
        .Int("Color", &TControl::Color, &TControl::SetColor)
        .Idents(ColorIdents())
        .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Object("Font", &TControl::Font, &TControl::SetFont)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Default(1)
        .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
        .Default(1)
        .Str("Hint", &TControl::Hint, &TControl::SetHint)
        .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Default(0)
        .Ref("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Event("OnMouseDown", &TControl::OnMouseDown)
        .Event("OnMouseUp", &TControl::OnMouseUp)
        .Event("OnMouseMove", &TControl::OnMouseMove)
        .Event("OnMouseEnter", &TControl::OnMouseEnter)
        .Event("OnMouseLeave", &TControl::OnMouseLeave);
    r.Register<TWinControl, TControl>("TWinControl")
        .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered)
        .Default(0)
        .Event("OnEnter", &TWinControl::OnEnter)
        .Event("OnExit", &TWinControl::OnExit)
        .Event("OnKeyDown", &TWinControl::OnKeyDown)
        .Event("OnKeyUp", &TWinControl::OnKeyUp);
    r.Register<TGraphicControl, TControl>("TGraphicControl");
    r.Register<TCustomControl, TWinControl>("TCustomControl");
}

void RegisterFormClasses(TClassRegistry& r)
{
    r.Register<TCustomForm, TWinControl>("TCustomForm")
        .Enum("BorderStyle", FormBorderStyleInfo(), &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Set("BorderIcons", BorderIconsInfo(), &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Enum("Position", PositionInfo(), &TCustomForm::Position, &TCustomForm::SetPosition)
        .Int("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
        .Int("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
        .Ref("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
        .Ref("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
        .Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll)
        .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
        .Event("OnCreate", &TCustomForm::OnCreate)
        .Event("OnShow", &TCustomForm::OnShow)
        .Event("OnHide", &TCustomForm::OnHide)
        .Event("OnActivate", &TCustomForm::OnActivate)
        .Event("OnDeactivate", &TCustomForm::OnDeactivate)
        .Event("OnClose", &TCustomForm::OnClose)
        .Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
    r.Register<TForm, TCustomForm>("TForm");
}

void RegisterStandardControlClasses(TClassRegistry& r)
{
    r.Register<TLabel, TGraphicControl>("TLabel")
        .Enum("Alignment", AlignmentInfo(), &TLabel::Alignment, &TLabel::SetAlignment)
        .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
        .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
        .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
        .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap);
    r.Register<TImage, TGraphicControl>("TImage")
        .Object("Picture", &TImage::Picture, &TImage::SetPicture)
        .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch)
        .Bool("Center", &TImage::Center, &TImage::SetCenter);
    r.Register<TButtonControl, TWinControl>("TButtonControl");
    r.Register<TButton, TButtonControl>("TButton")
        .Bool("Default", &TButton::Default, &TButton::SetDefault)
        .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel)
        .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
    r.Register<TCustomCheckBox, TButtonControl>("TCustomCheckBox")
        .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
        .Enum("State", CheckBoxStateInfo(), &TCustomCheckBox::State, &TCustomCheckBox::SetState)
        .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
        .Stored(false);
    r.Register<TCheckBox, TCustomCheckBox>("TCheckBox");
    r.Register<TCustomComboBox, TWinControl>("TCustomComboBox")
        .Enum("Style", ComboBoxStyleInfo(), &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
        .Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
        .Object("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
        .Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
        .Str("Text", &TControl::Text, &TControl::SetTextProp)
        .Stored(false)
        .Event("OnChange", &TCustomComboBox::OnChange)
        .Event("OnSelect", &TCustomComboBox::OnSelect);
    r.Register<TComboBox, TCustomComboBox>("TComboBox");
    r.Register<TListColumn, TCollectionItem>("TListColumn")
        .Str("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
        .Int("Width", &TListColumn::Width, &TListColumn::SetWidth);
    r.Register<TCustomListView, TWinControl>("TCustomListView")
        .Enum("BorderStyle", BorderStyleInfo(), &TCustomListView::BorderStyle, &TCustomListView::SetBorderStyle)
        .Bool("Checkboxes", &TCustomListView::Checkboxes, &TCustomListView::SetCheckboxes)
        .Collection("Columns", &TCustomListView::ColumnsAccess)
        .Bool("Ctl3D", &TCustomListView::Ctl3D, &TCustomListView::SetCtl3D)
        .Bool("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines)
        .Bool("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection)
        .Bool("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect)
        .Bool("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly)
        .Bool("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect)
        .Enum("ViewStyle", ViewStyleInfo(), &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle)
        .Event("OnChange", &TCustomListView::OnChange);
    r.Register<TListView, TCustomListView>("TListView");
    r.Register<TProgressBar, TWinControl>("TProgressBar")
        .Int("Min", &TProgressBar::Min, &TProgressBar::SetMin)
        .Int("Max", &TProgressBar::Max, &TProgressBar::SetMax)
        .Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
        .Int("Step", &TProgressBar::Step, &TProgressBar::SetStep)
        .Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
    r.Register<TTimer, TComponent>("TTimer")
        .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
        .Int("Interval", &TTimer::Interval, &TTimer::SetInterval)
        .Event("OnTimer", &TTimer::OnTimer);
    r.Register<TSaveDialog, TComponent>("TSaveDialog")
        .Str("DefaultExt", &TSaveDialog::DefaultExt, &TSaveDialog::SetDefaultExt)
        .Str("FileName", &TSaveDialog::FileName, &TSaveDialog::SetFileName)
        .Str("Filter", &TSaveDialog::Filter, &TSaveDialog::SetFilter)
        .Int("FilterIndex", &TSaveDialog::FilterIndex, &TSaveDialog::SetFilterIndex)
        .Str("InitialDir", &TSaveDialog::InitialDir, &TSaveDialog::SetInitialDir)
        .Str("Title", &TSaveDialog::Title, &TSaveDialog::SetTitle);
}

void RegisterMenuClasses(TClassRegistry& r)
{
    r.Register<TMenuItem, TComponent>("TMenuItem")
        .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Default(1)
        .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
        .Default(-1)
        .Int("ShortCut", &TMenuItem::ShortCutKey, &TMenuItem::SetShortCutKey)
        .Default(0)
        .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Default(1)
        .Event("OnClick", &TMenuItem::OnClick)
        .Event("OnMeasureItem", &TMenuItem::OnMeasureItem)
        .Event("OnDrawItem", &TMenuItem::OnDrawItem);
    r.Register<TMenu, TComponent>("TMenu")
        .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
        .Ref("Images", &TMenu::Images, &TMenu::SetImages);
    r.Register<TMainMenu, TMenu>("TMainMenu");
    r.Register<TPopupMenu, TMenu>("TPopupMenu")
        .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
        .Event("OnPopup", &TPopupMenu::OnPopup);
}

} // namespace

void RegisterControlClasses(TClassRegistry& registry)
{
    if (registry.Find("TControl"))
        return;
    RegisterBaseClasses(registry);
    RegisterFormClasses(registry);
    RegisterStandardControlClasses(registry);
    RegisterMenuClasses(registry);
}
