#pragma once
// The main window: drive and track list, format and folder choice, and the batch that rips
// the ticked tracks one after another.
#include <string>

#include "classlib/GuiEvents.h"
#include "classlib/forms/Form.h"

class TAudioOutput;
class TButton;
class TCDIn;
class TCheckBox;
class TComboBox;
class TFLACOut;
class TImage;
class TLabel;
class TListView;
class TMACOut;
class TMP3Out;
class TProgressBar;
class TSaveDialog;
class TTimer;
class TVorbisOut;
class TWaveOut;
class TClassRegistry;

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    // Published fields, set when the stored description is read.
    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label3 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox3 = nullptr;
    TCheckBox* chk_selectall = nullptr;
    TListView* ListView1 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TCDIn* CDIn1 = nullptr;
    TVorbisOut* VorbisOut1 = nullptr;
    TMACOut* MACOut1 = nullptr;
    TFLACOut* FLACOut1 = nullptr;
    TMP3Out* MP3Out1 = nullptr;
    TWaveOut* WaveOut1 = nullptr;
    TTimer* Timer1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    // Published event handlers.
    void FormCreate(TComponent* sender);
    void ComboBox1Select(TComponent* sender);
    void ComboBox1Change(TComponent* sender);
    void chk_selectallClick(TComponent* sender);
    void Button1Click(TComponent* sender);
    void Button2Click(TComponent* sender);
    void Button3Click(TComponent* sender);
    void Button4Click(TComponent* sender);
    void Timer1Timer(TComponent* sender);
    void FormCloseQuery(TComponent* sender, bool& canClose);
    // Raised on the worker of an output; their effects are carried to the window's thread.
    void OutProgress(TComponent* sender);
    void OutDone(TComponent* sender);
    void OutThreadException(TComponent* sender, const Exception& e);

    bool Ripping() const { return ripping_; }
    int CurrentIndex() const { return currentIndex_; }
    const std::string& OutputFolder() const { return outputFolder_; }

private:
    void FillTrackList();
    void dorip();
    void enableform();
    TAudioOutput* OutputForFormat() const;
    // The window's side of the outputs' events.
    void ProgressArrived(TComponent* sender, int progress);
    void RunEnded(TComponent* sender);
    void DoneArrived(TComponent* sender);
    void FailureArrived(TComponent* sender, const std::string& message);

    int currentIndex_ = 0;
    TAudioOutput* currentOutput_ = nullptr;
    std::string outputFolder_;
    bool ripping_ = false;
    // A started run has not reported its end yet: "Rip!" stays disabled until it has, so an
    // aborted output is never started again while it still finishes its file.
    bool runOpen_ = false;
    // OutDone found a next track for the timer to start; cleared by "Abort".
    bool nextPending_ = false;
    TGuiEvents events_;
};

// The main window's class and the components it is made of, for reading its description.
void RegisterMainFormClasses(TClassRegistry& registry);
