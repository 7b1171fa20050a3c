#include "skin/data/SkinColour.h"

#include <array>
#include <charconv>
#include <cstdint>

TColor ParseColour(std::string_view text, TColor fallback)
{
    if (text.empty())
        return fallback;
    // The whole text is scanned, trailing blanks included: a blank after the second number
    // is what makes it the green one.
    std::array<std::int64_t, 3> parts{0, 0, 0};
    int stored = 0;
    std::string run;
    auto store = [&]() {
        std::int32_t value = 0;
        auto [end, ec] = std::from_chars(run.data(), run.data() + run.size(), value);
        if (ec != std::errc() || end != run.data() + run.size())
            return; // a run too long for a number stays and keeps growing
        if (stored < 3)
            parts[stored] = value;
        ++stored;
        run.clear();
    };
    for (char c : text) {
        if (c >= '0' && c <= '9')
            run += c;
        else if (!run.empty())
            store();
    }
    if (!run.empty() && stored == 2)
        store();
    return RGBColor(static_cast<int>(parts[0] % 256), static_cast<int>(parts[1] % 256), static_cast<int>(parts[2] % 256));
}

const std::vector<std::string>& DefaultSkin3rd()
{
    static const std::vector<std::string> lines = {
        "TVirtualStringTree=scrollbar", "TVirtualDrawTree=scrollbar", "TTBXDockablePanel=Panel",
        "TAdvPanelGroup=scrollbar", "TComboboxex=combobox", "TRxSpeedButton=speedbutton",
        "THTMLViewer=scrollbar", "TDBCtrlGrid=scrollbar", "TfrSpeedButton=speedbutton",
        "TfrTBButton=speedbutton", "TControlBar=Panel", "TTBDock=Panel", "TTBToolbar=Panel",
        "TAdvPageControl=nil", "TImageEnMView=scrollbar", "TImageEnView=scrollbar",
        "TAdvMemo=scrollbar", "TDBAdvMemo=scrollbar",
        "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox", "TcxDBDateEdit=combobox",
        "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox", "TcxDBBlobEdit=combobox",
        "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox", "TcxDBShellComboBox=combobox",
        "TRxLookupEdit=combobox", "TRxDBLookupCombo=combobox",
        "TRzGroup=panel", "TRzButton=button", "TRzBitbtn=bitbtn", "TRzMenuButton=bitbtn",
        "TRzCheckGroup=CheckGroup", "TRzRadioGroup=Radiogroup", "TRzButtonEdit=Edit",
        "TRzDBRadioGroup=Radiogroup", "TRzDBRadioButton=Radiobutton",
        "TRzDateTimeEdit=combobox", "TRzColorEdit=combobox", "TRzDateTimePicker=combobox",
        "TRzDBDateTimeEdit=combobox", "TRzDbColorEdit=combobox", "TRzDBDateTimePicker=combobox",
        "TLMDButton=bitbtn", "TLMDGroupBox=Groupbox", "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox",
        "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox", "TLMDRadiobutton=Radiobutton",
        "TLMDCalculator=panel", "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel", "TLMDDBCalendar=Panel",
        "TLMDButtonPanel=Panel", "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel",
        "TLMDTechnicalLine=Panel", "TLMDLMDClock=Panel", "TLMDTrackbar=panel",
        "TLMDListCombobox=combobox", "TLMDCheckListCombobox=combobox", "TLMDHeaderListCombobox=combobox",
        "TLMDImageCombobox=combobox", "TLMDColorCombobox=combobox", "TLMDFontCombobox=combobox",
        "TLMDFontSizeCombobox=combobox", "TLMDFontSizeCombobox=combobox", "TLMDPrinterCombobox=combobox",
        "TLMDDriveCombobox=combobox", "TLMDCalculatorComboBox=combobox", "TLMDTrackBarComboBox=combobox",
        "TLMDCalendarComboBox=combobox", "TLMDTreeComboBox=combobox",
        "TLMDRADIOGROUP=radiogroup", "TLMDCheckGroup=CheckGroup", "TLMDDBRADIOGROUP=radiogroup",
        "TLMDDBCheckGroup=CheckGroup", "TLMDCalculatorEdit=edit",
        "TLMDEDIT=Edit", "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit",
        "TLMDCALENDAREDIT=Edit", "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit",
        "TLMDDBEDIT=Edit", "TLMDDBMASKEDIT=Edit", "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit",
        "TLMDDBEDITDBLookup=Edit", "TLMDEDITDBLookup=Edit",
        "TDBLookupCombobox=Combobox", "TWWDBCombobox=Combobox", "TWWDBLookupCombo=Combobox",
        "TWWDBCombobox=Combobox", "TWWKeyCombo=Combobox", "TWWTempKeyCombo=combobox",
        "TWWDBDateTimePicker=Combobox", "TWWRADIOGROUP=radiogroup", "TWWDBEDIT=Edit",
        "TcxButton=bitbtn", "TcxDBRadioGroup=radiogroup", "TcxRadioGroup=radiogroup",
        "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit", "TOVCDBSLIDEREDIT=Edit",
        "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit", "TOVCNUMERICFIELD=Edit",
        "TOVCDBNUMERICFIELD=Edit",
    };
    return lines;
}
