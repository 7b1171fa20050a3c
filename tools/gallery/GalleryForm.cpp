#include "tools/gallery/GalleryForm.h"

#include "classlib/TypeInfo.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Application.h"
#include "classlib/graphics/Graphics.h"

void TGalleryForm::Note(const std::string& what)
{
    calls.push_back(what);
    if (StatusBar1 && StatusBar1->Panels()->Count() > 0)
        StatusBar1->Panels()->Items(0)->SetText(what);
}

void TGalleryForm::FormCreate(TComponent*)
{
    // List rows are not part of a stored description.
    const char* times[] = {"3:05", "4:07", "12:45"};
    for (int i = 0; i < 3; ++i) {
        TListItem* item = ListView1->Items()->Add();
        item->SetCaption("0" + std::to_string(i + 1));
        item->SubItems()->Add("Track-0" + std::to_string(i + 1));
        item->SubItems()->Add(times[i]);
        item->SetChecked(i != 1);
    }
    calls.push_back("FormCreate");
}

void TGalleryForm::Button1Click(TComponent* sender) { Note(sender == Button1 ? "Button1Click" : "Button1Click?"); }
void TGalleryForm::BitBtn1Click(TComponent*) { Note("BitBtn1Click"); }
void TGalleryForm::SpeedButton1Click(TComponent*) { Note("SpeedButton1Click"); }
void TGalleryForm::RadioGroup1Click(TComponent*) { Note("RadioGroup1Click " + std::to_string(RadioGroup1->ItemIndex())); }
void TGalleryForm::TrackBar1Change(TComponent*) { Note("TrackBar1Change " + std::to_string(TrackBar1->Position())); }
void TGalleryForm::PageControl1Change(TComponent*) { Note("PageControl1Change " + std::to_string(PageControl1->ActivePageIndex())); }
void TGalleryForm::Exit1Click(TComponent*) { Close(); }
void TGalleryForm::Copy1Click(TComponent*) { Note("Copy1Click"); }

void RegisterGalleryClasses()
{
    if (Classes().Find("TGalleryForm"))
        return;
    RegisterGraphicsClasses(Classes());
    RegisterControlClasses(Classes());
    RegisterExtControlsClasses(Classes());
    using F = TGalleryForm;
    Classes()
        .Register<F, TForm>("TGalleryForm")
        .Field("Image1", &F::Image1)
        .Field("Label1", &F::Label1)
        .Field("ComboBox1", &F::ComboBox1)
        .Field("CheckBox1", &F::CheckBox1)
        .Field("ListView1", &F::ListView1)
        .Field("ProgressBar1", &F::ProgressBar1)
        .Field("Button1", &F::Button1)
        .Field("Button2", &F::Button2)
        .Field("BitBtn1", &F::BitBtn1)
        .Field("RadioGroup1", &F::RadioGroup1)
        .Field("ScrollBox1", &F::ScrollBox1)
        .Field("Button3", &F::Button3)
        .Field("Panel1", &F::Panel1)
        .Field("SpeedButton1", &F::SpeedButton1)
        .Field("SpeedButton2", &F::SpeedButton2)
        .Field("SpeedButton3", &F::SpeedButton3)
        .Field("GroupBox1", &F::GroupBox1)
        .Field("RadioButton1", &F::RadioButton1)
        .Field("RadioButton2", &F::RadioButton2)
        .Field("Edit1", &F::Edit1)
        .Field("UpDown1", &F::UpDown1)
        .Field("TrackBar1", &F::TrackBar1)
        .Field("PageControl1", &F::PageControl1)
        .Field("TabSheet1", &F::TabSheet1)
        .Field("TabSheet2", &F::TabSheet2)
        .Field("TabControl1", &F::TabControl1)
        .Field("StatusBar1", &F::StatusBar1)
        .Field("MainMenu1", &F::MainMenu1)
        .Field("PopupMenu1", &F::PopupMenu1)
        .Method("FormCreate", &F::FormCreate)
        .Method("Button1Click", &F::Button1Click)
        .Method("BitBtn1Click", &F::BitBtn1Click)
        .Method("SpeedButton1Click", &F::SpeedButton1Click)
        .Method("RadioGroup1Click", &F::RadioGroup1Click)
        .Method("TrackBar1Change", &F::TrackBar1Change)
        .Method("PageControl1Change", &F::PageControl1Change)
        .Method("Exit1Click", &F::Exit1Click)
        .Method("Copy1Click", &F::Copy1Click);
}
