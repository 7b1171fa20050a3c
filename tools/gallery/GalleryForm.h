#pragma once
// The control gallery: one form with every kind of control the program and its skin know,
// built from its stored description (Gallery.form, held as a resource).
#include <string>
#include <vector>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Form.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/MenuItem.h"
#include "classlib/menus/PopupMenu.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/Image.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListView.h"
#include "classlib/stdctrls/ProgressBar.h"

class TGalleryForm : public TForm {
public:
    using TForm::TForm;

    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TListView* ListView1 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TButton* Button3 = nullptr;
    TPanel* Panel1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TRadioButton* RadioButton1 = nullptr;
    TRadioButton* RadioButton2 = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TTabControl* TabControl1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;

    // What the bound handlers were called for, in order.
    std::vector<std::string> calls;

    void FormCreate(TComponent* sender);
    void Button1Click(TComponent* sender);
    void BitBtn1Click(TComponent* sender);
    void SpeedButton1Click(TComponent* sender);
    void RadioGroup1Click(TComponent* sender);
    void TrackBar1Change(TComponent* sender);
    void PageControl1Change(TComponent* sender);
    void Exit1Click(TComponent* sender);
    void Copy1Click(TComponent* sender);

private:
    void Note(const std::string& what);
};

// Every class the gallery uses, and the gallery form itself.
void RegisterGalleryClasses();
