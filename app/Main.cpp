#include "app/Main.h"

#include "app/RipNaming.h"
#include "cdrom/AudioCDROM.h"
#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/forms/Application.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/FolderBrowser.h"
#include "classlib/stdctrls/Image.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListView.h"
#include "classlib/stdctrls/ProgressBar.h"
#include "classlib/stdctrls/SaveDialog.h"
#include "classlib/stdctrls/Timer.h"
#include "outputs/AudioFLAC.h"
#include "outputs/AudioLAME.h"
#include "outputs/AudioMAC.h"
#include "outputs/AudioVorbis.h"
#include "outputs/AudioWave.h"
#include "skin/data/SkinData.h"
#include "skin/SkinEngine.h"

TForm1::TForm1(TComponent* owner) : TForm(owner) {}

TForm1::~TForm1()
{
    // An output still finishing an aborted file raises OnDone on its worker, which posts to
    // events_: the outputs go (waiting for their workers) while events_ still exists.
    for (TComponent* output : {static_cast<TComponent*>(MP3Out1), static_cast<TComponent*>(VorbisOut1),
                               static_cast<TComponent*>(WaveOut1), static_cast<TComponent*>(MACOut1),
                               static_cast<TComponent*>(FLACOut1)})
        delete output;
    delete CDIn1;
}

void TForm1::FormCreate(TComponent*)
{
    for (int i = 0; i < CDIn1->DriveCount(); ++i) {
        CDIn1->SetCurrentDrive(i);
        ComboBox1->Items()->Add(CDIn1->DriveName());
    }
    if (ComboBox1->Items()->Count() > 0)
        ComboBox1->SetItemIndex(0);
    CDIn1->SetCurrentDrive(0);
    ComboBox1Change(this);
}

void TForm1::ComboBox1Select(TComponent*)
{
    CDIn1->SetCurrentDrive(ComboBox1->Items()->IndexOf(ComboBox1->Text()));
    FillTrackList();
}

void TForm1::ComboBox1Change(TComponent*) { FillTrackList(); }

void TForm1::FillTrackList()
{
    TListItems& items = *ListView1->Items();
    items.Clear();
    const int count = CDIn1->TrackCount();
    if (count <= 0)
        return;
    items.BeginUpdate();
    for (int track = 1; track <= count; ++track) {
        TListItem* item = items.Add();
        item->SetCaption(TrackCaption(items.Count()));
        item->SetChecked(chk_selectall->Checked());
        item->SubItems()->Add("Track-" + item->Caption());
        item->SubItems()->Add(TrackTimeText(CDIn1->TrackInfo(track)));
    }
    items.EndUpdate();
}

void TForm1::chk_selectallClick(TComponent*)
{
    TListItems& items = *ListView1->Items();
    for (int i = 0; i < items.Count(); ++i)
        items[i]->SetChecked(chk_selectall->Checked());
}

void TForm1::Button1Click(TComponent*)
{
    TListItems& items = *ListView1->Items();
    if (items.Count() == 0)
        return;
    int first = -1;
    for (int i = 0; i < items.Count() && first < 0; ++i)
        if (items[i]->Checked())
            first = i;
    if (first < 0) {
        MessageBoxW(Handle(), L"Please select the tracks!", L"", MB_ICONWARNING | MB_OK);
        return;
    }
    if (!SelectDirectory("Please select output folder", outputFolder_))
        return;

    Button1->SetEnabled(false);
    Button2->SetEnabled(true);
    for (TWinControl* control : {static_cast<TWinControl*>(Button3), static_cast<TWinControl*>(Button4),
                                 static_cast<TWinControl*>(ComboBox1), static_cast<TWinControl*>(ComboBox3),
                                 static_cast<TWinControl*>(chk_selectall), static_cast<TWinControl*>(ListView1)})
        control->SetEnabled(false);

    currentIndex_ = first;
    ripping_ = true;
    nextPending_ = false;
    Timer1->SetEnabled(false);
    dorip();
}

TAudioOutput* TForm1::OutputForFormat() const
{
    const TRipFormat* format = FindRipFormat(ComboBox3->Text());
    return format ? dynamic_cast<TAudioOutput*>(FindComponent(format->component)) : nullptr;
}

void TForm1::dorip()
{
    CDIn1->SetStartTrack(currentIndex_ + 1);
    CDIn1->SetEndTrack(currentIndex_ + 1);

    const TRipFormat* format = FindRipFormat(ComboBox3->Text());
    auto* output = format ? dynamic_cast<TAudioFileOut*>(FindComponent(format->component)) : nullptr;
    if (!output) { // the format box lists only known formats; nothing to start otherwise
        FailureArrived(nullptr, "Unknown format \"" + ComboBox3->Text() + "\"");
        return;
    }
    const std::string trackName = ListView1->Items()->Item(currentIndex_)->SubItems()->Get(0);
    output->SetFileName(TrackFileName(outputFolder_, trackName, format->extension));
    currentOutput_ = output;
    runOpen_ = true;
    try {
        output->Start(); // a failure while starting arrives through OutThreadException
    } catch (const Exception& e) { // busy or without input: nothing was started
        runOpen_ = false;
        FailureArrived(output, e.Message());
    }
}

void TForm1::enableform()
{
    Button1->SetEnabled(!runOpen_);
    Button2->SetEnabled(false);
    for (TWinControl* control : {static_cast<TWinControl*>(Button3), static_cast<TWinControl*>(Button4),
                                 static_cast<TWinControl*>(ComboBox1), static_cast<TWinControl*>(ComboBox3),
                                 static_cast<TWinControl*>(chk_selectall), static_cast<TWinControl*>(ListView1)})
        control->SetEnabled(true);
}

void TForm1::Timer1Timer(TComponent*)
{
    Timer1->SetEnabled(false);
    if (ripping_ && nextPending_) {
        nextPending_ = false;
        dorip();
    }
}

void TForm1::Button2Click(TComponent*)
{
    if (currentOutput_)
        currentOutput_->Stop();
    ripping_ = false;
    nextPending_ = false;
    Timer1->SetEnabled(false);
    enableform();
    ProgressBar1->SetPosition(0);
}

void TForm1::Button3Click(TComponent*) { CDIn1->Eject(); }

void TForm1::Button4Click(TComponent*) { CDIn1->CloseTray(); }

void TForm1::FormCloseQuery(TComponent*, bool& canClose) { canClose = !ripping_; }

void TForm1::OutProgress(TComponent* sender)
{
    // Read now: by the time the window handles it, the run may be over and its input reset.
    auto* output = dynamic_cast<TAudioOutput*>(sender);
    const int progress = output ? output->Progress() : 0;
    events_.Post([this, sender, progress] { ProgressArrived(sender, progress); });
}

void TForm1::OutDone(TComponent* sender)
{
    events_.Post([this, sender] { DoneArrived(sender); });
}

void TForm1::OutThreadException(TComponent* sender, const Exception& e)
{
    events_.Post([this, sender, message = e.Message()] { FailureArrived(sender, message); });
}

// The bar follows the output of the chosen format (the only one that runs: the format box is
// disabled while ripping), during a batch.
void TForm1::ProgressArrived(TComponent* sender, int progress)
{
    if (!ripping_) // late news of an aborted run: "Abort" has emptied the bar
        return;
    if (TAudioOutput* output = OutputForFormat())
        ProgressBar1->SetPosition(output == sender ? progress : output->Progress());
}

// The end of the run last started, once: later events of an older run change nothing.
void TForm1::RunEnded(TComponent* sender)
{
    if (sender && sender == currentOutput_)
        runOpen_ = false;
}

void TForm1::DoneArrived(TComponent* sender)
{
    if (sender != currentOutput_ || !runOpen_)
        return;
    RunEnded(sender);
    if (!ripping_) { // the aborted run has finished its file
        Button1->SetEnabled(true);
        return;
    }
    TListItems& items = *ListView1->Items();
    for (int i = currentIndex_ + 1; i < items.Count(); ++i)
        if (items[i]->Checked()) {
            currentIndex_ = i;
            nextPending_ = true;
            Timer1->SetEnabled(true);
            return;
        }
    enableform();
    ripping_ = false;
}

void TForm1::FailureArrived(TComponent* sender, const std::string& message)
{
    RunEnded(sender);
    if (currentOutput_)
        currentOutput_->Stop();
    ripping_ = false;
    nextPending_ = false;
    Timer1->SetEnabled(false);
    enableform();
    ShowMessage(message);
}

void RegisterMainFormClasses(TClassRegistry& r)
{
    RegisterSkinEngine(r); // SkinData1 and the manager it brings up
    r.Register<TForm1, TForm>("TForm1")
        .Field("Image1", &TForm1::Image1)
        .Field("Label1", &TForm1::Label1)
        .Field("Label3", &TForm1::Label3)
        .Field("ComboBox1", &TForm1::ComboBox1)
        .Field("ComboBox3", &TForm1::ComboBox3)
        .Field("chk_selectall", &TForm1::chk_selectall)
        .Field("ListView1", &TForm1::ListView1)
        .Field("ProgressBar1", &TForm1::ProgressBar1)
        .Field("Button1", &TForm1::Button1)
        .Field("Button2", &TForm1::Button2)
        .Field("Button3", &TForm1::Button3)
        .Field("Button4", &TForm1::Button4)
        .Field("CDIn1", &TForm1::CDIn1)
        .Field("VorbisOut1", &TForm1::VorbisOut1)
        .Field("MACOut1", &TForm1::MACOut1)
        .Field("FLACOut1", &TForm1::FLACOut1)
        .Field("MP3Out1", &TForm1::MP3Out1)
        .Field("WaveOut1", &TForm1::WaveOut1)
        .Field("Timer1", &TForm1::Timer1)
        .Field("SaveDialog1", &TForm1::SaveDialog1)
        .Method("FormCreate", &TForm1::FormCreate)
        .Method("ComboBox1Select", &TForm1::ComboBox1Select)
        .Method("ComboBox1Change", &TForm1::ComboBox1Change)
        .Method("chk_selectallClick", &TForm1::chk_selectallClick)
        .Method("Button1Click", &TForm1::Button1Click)
        .Method("Button2Click", &TForm1::Button2Click)
        .Method("Button3Click", &TForm1::Button3Click)
        .Method("Button4Click", &TForm1::Button4Click)
        .Method("Timer1Timer", &TForm1::Timer1Timer)
        .Method("FormCloseQuery", &TForm1::FormCloseQuery)
        .Method("OutProgress", &TForm1::OutProgress)
        .Method("OutDone", &TForm1::OutDone)
        .Method("OutThreadException", &TForm1::OutThreadException);
}
